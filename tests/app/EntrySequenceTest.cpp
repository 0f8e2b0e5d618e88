// The entry checks before the panel exists.
#include <gtest/gtest.h>

#include <vector>

#include "app/EntrySequence.h"
#include "radio/HardwarePortIo.h"
#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

TEST(EntrySequenceTest, PortAccessIsCheckedWhereTheCardWillBe) {
  std::vector<std::pair<tModel, int32_t>> asked;
  const auto only30C = [&asked](tModel model, int32_t port) {
    asked.emplace_back(model, port);
    return port == 1;
  };
  // A port the RadioTrack lacks falls back to its default, 30Ch, which is granted.
  EXPECT_EQ(DecideStart({1, 9}, Platform{}, false, only30C), tEntryOutcome::Run);
  EXPECT_EQ(asked, (std::vector<std::pair<tModel, int32_t>>{{mRadioTrack, 1}}));
  EXPECT_EQ(DecideStart({1, 2}, Platform{}, false, only30C), tEntryOutcome::NeedsPortAccess);
  EXPECT_EQ(DecideStart({1, 2}, Platform{}, true, only30C), tEntryOutcome::Run);
  EXPECT_EQ(DecideStart({4, 2}, Platform{}, false, only30C), tEntryOutcome::Run);  // serial
}

TEST(EntrySequenceTest, TheStoredPortKeepsItsLowEightBits) {
  test::TempDir dir;
  test::WriteBytes(dir / "Ondivo.ini", "[Configuration]\nHardware=7\nPort=258\n");
  const tStoredCard stored = ReadStoredCard(dir.Path());
  EXPECT_EQ(stored.Hardware, 7);
  EXPECT_EQ(stored.Port, 2);
}

// Taken at start, before the capabilities go: the stored card's ports, or every card's when the
// settings open at start. Runs only where this machine grants ports at all.
TEST(EntrySequenceTest, StartTakesThePortsTheCardWillUse) {
  if (!HardwarePortIo::Probe(0x20C, 4)) GTEST_SKIP() << "no port access here";
  HardwarePortIo zoltrix;
  TakeStartPorts(zoltrix, {HardwareIndexFromModel(mZoltrix), 2}, false);
  EXPECT_TRUE(zoltrix.Holds(0x20C, 4));
  EXPECT_FALSE(zoltrix.Holds(0x30C, 1));
  EXPECT_FALSE(zoltrix.Granted(0x20C));  // the card takes its grant itself
  HardwarePortIo configuring;
  TakeStartPorts(configuring, {HardwareIndexFromModel(mZoltrix), 2}, true);
  EXPECT_TRUE(configuring.Holds(0x30C, 4));
  EXPECT_TRUE(configuring.Holds(0x20C, 4));
}

}  // namespace
}  // namespace ondivo
