// The entry checks before the panel exists.
#include <gtest/gtest.h>

#include <vector>

#include "app/EntrySequence.h"
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

}  // namespace
}  // namespace ondivo
