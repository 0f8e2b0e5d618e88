#include <gtest/gtest.h>

#include "panel/KeyString.h"

namespace ondivo {
namespace {

TEST(KeyStringTest, DefaultHoldsTheDefaultKeysInCommandOrder) {
  const std::string keys = DefaultKeyString();
  ASSERT_EQ(keys.size(), 37u);
  EXPECT_TRUE(IsUsableKeyString(keys));
  EXPECT_EQ(keys[0], 'U');                         // volume up
  EXPECT_EQ(keys[7], ',');                         // step -
  EXPECT_EQ(keys[8], '.');                         // step +
  EXPECT_EQ(keys[kReservedKeyPosition - 1], '7');  // reserved
  EXPECT_EQ(keys.substr(33), "8945");              // load script, load presets, min+vol...
}

TEST(KeyStringTest, WrongLengthOrARepeatedCharacterIsUnusable) {
  const std::string keys = DefaultKeyString();
  EXPECT_FALSE(IsUsableKeyString(keys.substr(0, 36)));
  EXPECT_FALSE(IsUsableKeyString(keys + "W"));
  EXPECT_FALSE(IsUsableKeyString(""));
  std::string twice = keys;
  twice[36] = 'U';
  EXPECT_FALSE(IsUsableKeyString(twice));
  std::string changed = keys;
  changed[0] = 'W';
  EXPECT_TRUE(IsUsableKeyString(changed));
  // Bytes above 127 count like any other character.
  changed[1] = '\xE9';
  EXPECT_TRUE(IsUsableKeyString(changed));
  changed[2] = '\xE9';
  EXPECT_FALSE(IsUsableKeyString(changed));
}

TEST(KeyStringTest, StoredStringIsUpperCasedOrReplaced) {
  std::string lower = DefaultKeyString();
  lower[0] = 'w';
  std::string expected = DefaultKeyString();
  expected[0] = 'W';
  EXPECT_EQ(KeyStringOrDefault(lower), expected);
  // u and U are the same key once typed keys are upper-cased.
  std::string clash = DefaultKeyString();
  clash[36] = 'u';
  EXPECT_EQ(KeyStringOrDefault(clash), DefaultKeyString());
  EXPECT_EQ(KeyStringOrDefault(DefaultKeyString().substr(1)), DefaultKeyString());
}

}  // namespace
}  // namespace ondivo
