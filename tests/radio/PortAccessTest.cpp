#include <gtest/gtest.h>

#include <thread>

#include "platform/Capabilities.h"
#include "radio/HardwarePortIo.h"
#include "radio/PlatformCheck.h"

namespace ondivo {
namespace {

TEST(PortAccessTest, WithoutAGrantNothingIsTouched) {
  HardwarePortIo io;
  EXPECT_FALSE(io.Granted(0x30C));
  io.PortOut(0x30C, 0xD8);  // would fault if it reached the processor without permission
  EXPECT_EQ(io.PortIn(0x30C), 0xFF);
  EXPECT_EQ(io.RefusedAccesses(), 2);
}

TEST(PortAccessTest, InvalidRangesAreRefused) {
  HardwarePortIo io;
  EXPECT_FALSE(io.Grant(0xFFFF, 4));
  EXPECT_FALSE(io.Grant(0x30C, 0));
  EXPECT_FALSE(io.LastError().empty());
  EXPECT_EQ(io.GrantMethod(), HardwarePortIo::Method::None);
}

TEST(PortAccessTest, AGrantCoversOnlyItsOwnPorts) {
  HardwarePortIo io;
  if (!io.Grant(0x30C, 1)) GTEST_SKIP() << "no port access here: " << io.LastError();
  EXPECT_TRUE(io.Granted(0x30C));
  EXPECT_FALSE(io.Granted(0x30D));
  EXPECT_FALSE(io.Granted(0x20C));
  io.Release();
  EXPECT_FALSE(io.Granted(0x30C));
}

// The program drops CAP_SYS_RAWIO after start-up: the card's ports, taken before, must still be
// usable when the card is switched off and on again. Grants and capabilities are both per
// thread, so a thread of its own keeps this from the rest of the suite.
TEST(PortAccessTest, PortsTakenBeforeTheCapabilitiesWentStayUsable) {
  bool granted = false;
  std::string dropped = "not run";
  bool again = false;
  std::thread([&] {
    HardwarePortIo io;
    granted = io.Grant(0x30C, 4);
    if (!granted) return;
    io.Release();
    dropped = DropCapabilities();
    again = io.Grant(0x30D, 1) && io.Granted(0x30D) && !io.Granted(0x30C);
  }).join();
  if (!granted) GTEST_SKIP() << "no port access here";
  EXPECT_EQ(dropped, "");
  EXPECT_TRUE(again);
}

TEST(PlatformChecksTest, PortCardsNeedPortAccess) {
  EXPECT_FALSE(IsModelOnPort(0));
  EXPECT_TRUE(IsModelOnPort(1));
  EXPECT_TRUE(IsModelOnPort(2));
  for (int k = 3; k <= 6; ++k) EXPECT_FALSE(IsModelOnPort(k));
  EXPECT_TRUE(IsModelOnPort(7));
  EXPECT_FALSE(IsModelOnPort(8));
  EXPECT_TRUE(CurrentPlatform().Supported);
}

TEST(PlatformChecksTest, CapabilityTextJoinsFourLinesWithCR) {
  EXPECT_EQ(CapabilityText(false, true, false),
            "Your radio card can't control volume sound.\r"
            "Your radio card can mute/unmute.\r"
            "In your computer no sound cards are installed.\r"
            "You can set volume sound only through the radio card.");
  EXPECT_EQ(CapabilityText(true, true, true),
            "Your radio card can control volume sound.\r"
            "Your radio card can mute/unmute.\r"
            "A sound cards is installed in your computer.\r"
            "You can set volume sound with radio card or sound card.");
  const std::string none = CapabilityText(false, false, true);
  EXPECT_NE(none.find("Your radio card can't mute/unmute.\r"), std::string::npos);
  EXPECT_TRUE(none.ends_with("You can set volume sound only through the sound card."));
  EXPECT_TRUE(CapabilityText(false, false, false)
                  .ends_with("You can set volume sound only through the speakers."));
}

TEST(PlatformChecksTest, PortAccessIsGrantableWhereNoneIsNeeded) {
  EXPECT_TRUE(PortAccessGrantable(mWizard, 2));
  EXPECT_TRUE(PortAccessGrantable(mRadioTrack, 0));
  EXPECT_FALSE(PortAccessGrantable(mZoltrix, 3));  // no such port
  // The answer for a real port depends on this machine; asking must not leave a grant behind.
  const bool zoltrix = PortAccessGrantable(mZoltrix, 1);
  EXPECT_EQ(PortAccessGrantable(mZoltrix, 1), zoltrix);
  HardwarePortIo io;
  EXPECT_FALSE(io.Granted(0x30C));
  EXPECT_EQ(io.Grant(0x30C, 4), zoltrix);
}

}  // namespace
}  // namespace ondivo
