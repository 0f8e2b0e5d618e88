// The real ondivo executable on emulated hardware under the offscreen platform.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "sim/EmulatedSoundCard.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

namespace ondivo {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;

constexpr auto kStartTime = 20s;  // a loaded CI machine builds the first frame slowly

struct Session {
  Session() {
    std::filesystem::create_directory(config.Path() / "cfg");
    std::filesystem::create_directory(runtime.Path() / "rt");
    ::chmod((runtime.Path() / "rt").c_str(), 0700);
  }
  std::vector<std::string> Env() const {
    return {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + (runtime.Path() / "rt").string(),
            "HOME=" + config.Path().string(), "PATH=/usr/bin:/bin"};
  }
  std::vector<std::string> Args() const {
    return {"--simulate", "--config-dir", Cfg().string(), "--print-title"};
  }
  std::filesystem::path Cfg() const { return config.Path() / "cfg"; }

  test::TempDir config;
  test::TempDir runtime;
};

const std::string kPrepared =
    "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\nShutDown=2\n"
    "[Frequency]\nFrequency=M 090.000\nTuneStep=2\n"
    "[Presets]\nCurrent=3\nList=3,\nStation03=M 101.100 Sports Call\n";

TEST(OndivoEndToEndTest, RestoresTheStationAndSavesOnSigterm) {
  Session s;
  test::WriteBytes(s.Cfg() / "Ondivo.ini", kPrepared);
  ChildProcess ondivo(ONDIVO_EXE, s.Args(), s.Env());
  const auto title = ondivo.WaitForLine("title: ", kStartTime);
  ASSERT_TRUE(title);
  EXPECT_EQ(*title, "title: Ondivo - Sports Call (101.1 MHz)");
  ondivo.Signal(SIGTERM);
  EXPECT_EQ(ondivo.Wait(), 0);
  const std::string saved = test::ReadBytes(s.Cfg() / "Ondivo.ini");
  EXPECT_NE(saved.find("[WinPos]"), std::string::npos) << saved;  // every section rewritten
  EXPECT_NE(saved.find("Frequency=M 101.100"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Current=3"), std::string::npos);
  EXPECT_NE(saved.find("Station03=M 101.100 Sports Call"), std::string::npos);
  EXPECT_NE(saved.find("TuneStep=2"), std::string::npos);
}

TEST(OndivoEndToEndTest, TheSimulationPlaysAKernelRadioDevice) {
  Session s;
  test::WriteBytes(s.Cfg() / "Ondivo.ini",
                   "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\nShutDown=0\n"
                   "[Frequency]\nFrequency=M 097.100\nTuneStep=2\n");
  ChildProcess ondivo(ONDIVO_EXE, s.Args(), s.Env());
  // A device that failed to open would hold the start with its message box.
  const auto title = ondivo.WaitForLine("title: ", kStartTime);
  ASSERT_TRUE(title);
  EXPECT_EQ(*title, "title: Ondivo - 97.1 MHz");
  ondivo.Signal(SIGTERM);
  EXPECT_EQ(ondivo.Wait(), 0);
  const std::string saved = test::ReadBytes(s.Cfg() / "Ondivo.ini");
  EXPECT_NE(saved.find("Hardware=8"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Frequency=M 097.100"), std::string::npos) << saved;
}

TEST(OndivoEndToEndTest, AFirstRunEndedDuringSetupLeavesTheFolderEmpty) {
  Session s;
  ChildProcess ondivo(ONDIVO_EXE, s.Args(), s.Env());
  ASSERT_TRUE(ondivo.WaitForLine("dialog: Settings", kStartTime));
  ondivo.Signal(SIGTERM);  // the dialog is cancelled by the session's end
  EXPECT_EQ(ondivo.Wait(), 0);
  EXPECT_EQ(test::CountEntries(s.Cfg()), 0u);
}

void SecondCopyExitsAtOnce(const std::string& program, bool unprivileged) {
  Session s;
  test::WriteBytes(s.Cfg() / "Ondivo.ini", kPrepared);
  if (unprivileged) {
    for (const auto& p : {s.config.Path(), s.Cfg(), s.runtime.Path() / "rt"}) {
      test::GiveToUnprivilegedUser(p);
    }
    test::GiveToUnprivilegedUser(s.Cfg() / "Ondivo.ini");
    ::chmod(s.runtime.Path().c_str(), 0755);
  }
  ChildProcess first(program, s.Args(), s.Env(), unprivileged);
  ASSERT_TRUE(first.WaitForLine("title: ", kStartTime));
  ChildProcess second(program, s.Args(), s.Env(), unprivileged);
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_FALSE(second.ReadLine(0ms));  // it showed nothing
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(test::ReadBytes(s.Cfg() / "Ondivo.ini"), kPrepared);
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_NE(test::ReadBytes(s.Cfg() / "Ondivo.ini"), kPrepared);
}

TEST(OndivoEndToEndTest, ASecondCopyExitsAtOnceAndLeavesTheFirstAlone) {
  SecondCopyExitsAtOnce(ONDIVO_EXE, false);
}

TEST(OndivoEndToEndTest, ASecondCopyExitsAtOnceAsAnOrdinaryUser) {
  if (::getuid() != 0) GTEST_SKIP() << "needs root to become another user";
  // The user runs a copy of the program and its sound card plugin: the build may lie where
  // only its owner enters.
  test::UnprivilegedCopies copies;
  if (!copies.Reachable()) GTEST_SKIP() << "cannot run as uid 65534 in " << copies.Path();
  const auto program = copies.Add(ONDIVO_EXE);
  ASSERT_FALSE(copies.Add(sim::EmulatedSoundCardPlugin()).empty());
  SecondCopyExitsAtOnce(program.string(), true);
}

// A script's `ondivo --send` reaches the running copy over the session bus.
TEST(OndivoEndToEndTest, SendTunesTheRunningCopyAndPrintsItsStatus) {
  Session s;
  const test::PrivateSessionBus bus;
  ASSERT_FALSE(bus.Address().empty());
  test::WriteBytes(s.Cfg() / "Ondivo.ini", kPrepared);
  std::vector<std::string> env = s.Env();
  env.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus.Address());
  const auto send = [&env](std::vector<std::string> words, std::vector<std::string>* lines) {
    words.insert(words.begin(), "--send");
    ChildProcess sender(ONDIVO_EXE, words, env);
    while (auto line = sender.ReadLine(kStartTime)) lines->push_back(*line);
    return sender.Wait();
  };
  ChildProcess ondivo(ONDIVO_EXE, s.Args(), env);
  ASSERT_TRUE(ondivo.WaitForLine("title: ", kStartTime));

  std::vector<std::string> tuned, status, after;
  EXPECT_EQ(send({"tune", "98.5"}, &tuned), 0);
  EXPECT_EQ(send({"status"}, &status), 0);
  ASSERT_GE(status.size(), 4u);
  EXPECT_EQ(
      std::vector<std::string>(status.begin(), status.begin() + 4),
      (std::vector<std::string>{"band: FM", "frequency: 98.5 MHz", "station: ", "signal: ?????"}));
  EXPECT_EQ(tuned, status);  // a command answers with the status after it
  // Only --send talks to the running copy: a second copy without it still ends unseen.
  ChildProcess second(ONDIVO_EXE, s.Args(), env);
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_FALSE(second.ReadLine(0ms));

  ondivo.Signal(SIGTERM);
  EXPECT_EQ(ondivo.Wait(), 0);
  const std::string saved = test::ReadBytes(s.Cfg() / "Ondivo.ini");
  EXPECT_NE(saved.find("Frequency=M 098.500"), std::string::npos) << saved;
  EXPECT_EQ(send({"status"}, &after), 1);  // no running copy: said on stderr
  EXPECT_TRUE(after.empty());
}

TEST(OndivoEndToEndTest, HelpAndVersionNeedNoScreen) {
  Session s;
  ChildProcess help(ONDIVO_EXE, {"--help"}, {"PATH=/usr/bin:/bin"});
  const auto usage = help.ReadLine(5s);
  ASSERT_TRUE(usage);
  EXPECT_EQ(usage->rfind("Usage: ondivo", 0), 0u);
  EXPECT_EQ(help.Wait(), 0);
  ChildProcess wrong(ONDIVO_EXE, {"--com", "12=/dev/x"}, {"PATH=/usr/bin:/bin"});
  EXPECT_EQ(wrong.Wait(), 2);
}

}  // namespace
}  // namespace ondivo
