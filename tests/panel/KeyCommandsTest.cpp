#include <gtest/gtest.h>

#include "panel/KeyCommands.h"
#include "panel/KeyString.h"

namespace ondivo {
namespace {

TEST(KeyCommandsTest, TypedCharacterFindsItsCommandInEitherCase) {
  const std::string keys = DefaultKeyString();
  const KeyCommands commands(keys);
  EXPECT_EQ(commands.CommandFor(U'u'), cmVolumeUp);
  EXPECT_EQ(commands.CommandFor(U'U'), cmVolumeUp);
  EXPECT_EQ(commands.CommandFor(U','), cmDecStep);
  EXPECT_EQ(commands.CommandFor(U'.'), cmIncStep);
  EXPECT_EQ(commands.CommandFor(U'5'), cmMinimalVolBtnPre);
  EXPECT_EQ(commands.CommandFor(U'W'), std::nullopt);
  EXPECT_EQ(commands.CommandFor(U'7'), std::nullopt);  // the reserved position
  EXPECT_EQ(commands.CommandFor(U'\r'), std::nullopt);
  EXPECT_EQ(commands.CommandFor(U'\u00E9'), std::nullopt);
  // Only a-z fold: the character above z is not the one above Z.
  EXPECT_EQ(commands.CommandFor(U'{'), std::nullopt);
}

TEST(KeyCommandsTest, FollowsTheKeyStringItLooksAt) {
  std::string keys = DefaultKeyString();
  const KeyCommands commands(keys);
  keys[0] = ' ';
  keys[kReservedKeyPosition - 1] = 'U';  // a key at the reserved position runs nothing
  EXPECT_EQ(commands.CommandFor(U' '), cmVolumeUp);
  EXPECT_EQ(commands.CommandFor(U'u'), std::nullopt);
  EXPECT_EQ(commands.KeyName(cmVolumeUp), "Space");
  EXPECT_EQ(commands.KeyName(cmDecStep), ",");
  EXPECT_EQ(commands.KeyName(cmMinimalVolBtnPre), "5");
  // Characters past the 37th are no key.
  const std::string longer = DefaultKeyString() + "W";
  EXPECT_EQ(KeyCommands(longer).CommandFor(U'W'), std::nullopt);
}

}  // namespace
}  // namespace ondivo
