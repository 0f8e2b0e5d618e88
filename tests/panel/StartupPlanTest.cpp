#include "panel/StartupPlan.h"

#include <gtest/gtest.h>

#include "panel/CommandLine.h"
#include "platform/ConfigDirectory.h"
#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

TEST(StartupPlanTest, EntryDecisionsInTheirOrder) {
  tEntryFacts facts;
  facts.OtherCopyRunning = true;
  facts.PlatformSupported = false;
  EXPECT_EQ(DecideEntry(facts), tEntryOutcome::ExitSilently);
  facts.OtherCopyRunning = false;
  EXPECT_EQ(DecideEntry(facts), tEntryOutcome::CannotStart);
  facts.PlatformSupported = true;
  for (int hardware : {1, 2, 7}) {
    facts.Hardware = hardware;
    EXPECT_EQ(DecideEntry(facts), tEntryOutcome::NeedsPortAccess) << hardware;
  }
  for (int hardware : {0, 3, 4, 5, 6, 8}) {  // no card, a serial radio, a radio device
    facts.Hardware = hardware;
    EXPECT_EQ(DecideEntry(facts), tEntryOutcome::Run) << hardware;
  }
  facts.Hardware = 7;
  facts.PortAccessGranted = true;
  EXPECT_EQ(DecideEntry(facts), tEntryOutcome::Run);
  facts.PortAccessGranted = false;
  facts.PortAccessNeedsGrant = false;  // emulated hardware
  EXPECT_EQ(DecideEntry(facts), tEntryOutcome::Run);
}

TEST(StartupPlanTest, SetupOpensOnAFirstRunOrWhenAskedFor) {
  EXPECT_TRUE(NeedsSetup(0, 1, false));
  EXPECT_TRUE(NeedsSetup(1, 0, false));
  EXPECT_TRUE(NeedsSetup(1, 1, true));
  EXPECT_FALSE(NeedsSetup(1, 1, false));
}

TEST(StartupPlanTest, ASessionEndSwitchesOffWhateverTheShutdownChoice) {
  EXPECT_EQ(DecideClose(0, false), tCloseAction::SwitchOff);
  EXPECT_EQ(DecideClose(1, false), tCloseAction::Leave);
  EXPECT_EQ(DecideClose(2, false), tCloseAction::Ask);
  for (int choice : {0, 1, 2}) EXPECT_EQ(DecideClose(choice, true), tCloseAction::SwitchOff);
}

TEST(CommandLineTest, OptionsAndTheOldSwitchInAnyCase) {
  const tCommandLine c =
      ParseCommandLine({"--simulate", "--config-dir", "/tmp/x", "--com", "3=/dev/pts/9",
                        "\\configure", "--radio", "2=/dev/radio7", "--audio-device=plughw:1"});
  EXPECT_TRUE(c.Simulate);
  EXPECT_EQ(c.ConfigDir, "/tmp/x");
  EXPECT_EQ(c.ComPaths.at(3), "/dev/pts/9");
  EXPECT_EQ(c.RadioPaths.PathFor(2), "/dev/radio7");
  EXPECT_EQ(c.RadioPaths.PathFor(1), "/dev/radio0");
  EXPECT_EQ(c.AudioDevice, "plughw:1");
  EXPECT_TRUE(c.Configure);
  EXPECT_TRUE(c.Error.empty());
  EXPECT_TRUE(ParseCommandLine({"\\CoNfIgUrE"}).Configure);
  EXPECT_TRUE(ParseCommandLine({"--configure"}).Configure);
  EXPECT_EQ(ParseCommandLine({"--config-dir=/a"}).ConfigDir, "/a");
  EXPECT_TRUE(ParseCommandLine({"--help"}).Help);
  EXPECT_TRUE(ParseCommandLine({"--version"}).Version);
}

TEST(CommandLineTest, MistakesAreNamed) {
  EXPECT_NE(ParseCommandLine({"--bogus"}).Error, "");
  EXPECT_NE(ParseCommandLine({"--com", "9=/dev/x"}).Error, "");
  EXPECT_NE(ParseCommandLine({"--com", "2"}).Error, "");
  EXPECT_NE(ParseCommandLine({"--radio", "0=/dev/radio0"}).Error, "");
  EXPECT_NE(ParseCommandLine({"--radio=1="}).Error, "");
  EXPECT_NE(ParseCommandLine({"--config-dir"}).Error, "");
  EXPECT_NE(ParseCommandLine({"--audio-device="}).Error, "");
}

TEST(ConfigDirectoryTest, OverridePortableFolderXdgAndTheSimulationsOwn) {
  test::TempDir exe;
  tConfigDirectoryFacts f;
  f.ExecutableDir = exe.Path();
  f.XdgConfigHome = "/xdg";
  f.Home = "/home/u";
  EXPECT_EQ(ChooseConfigDirectory(f), "/xdg/ondivo");
  test::WriteBytes(exe / "Ondivo.ini", "");
  EXPECT_EQ(ChooseConfigDirectory(f), exe.Path());
  f.Simulate = true;
  EXPECT_EQ(ChooseConfigDirectory(f), "/xdg/ondivo-simulate");
  f.XdgConfigHome = "relative";  // not absolute: ignored
  EXPECT_EQ(ChooseConfigDirectory(f), "/home/u/.config/ondivo-simulate");
  f.Override = "/mine";
  EXPECT_EQ(ChooseConfigDirectory(f), "/mine");
}

}  // namespace
}  // namespace ondivo
