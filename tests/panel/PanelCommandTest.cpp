#include <gtest/gtest.h>

#include <set>

#include "panel/KeyString.h"
#include "panel/PanelCommand.h"

namespace ondivo {
namespace {

TEST(PanelCommandTest, DefaultKeyStringIsTheTableInPositionOrder) {
  EXPECT_EQ(DefaultKeyString(), "UD0XM-+,.SA<>!EIOPQJT123ZCRLYKH678945");
  std::set<size_t> positions;
  for (const tPanelCommand& command : kPanelCommands) positions.insert(KeyPosition(command.Id));
  // Every position but the reserved one has exactly one command.
  EXPECT_EQ(positions.size(), kKeyStringLength - 1);
  EXPECT_EQ(positions.count(kReservedKeyPosition), 0u);
  EXPECT_EQ(PanelCommand(cmJump).Caption, "Quick jump");
  EXPECT_EQ(PanelCommand(cmLoadScript).DefaultKey, '8');
}

TEST(PanelCommandTest, KeyAlphabetIsPrintableAsciiWithoutLowerCase) {
  const std::string_view alphabet = KeyAlphabet();
  ASSERT_EQ(alphabet.size(), 69u);
  EXPECT_EQ(alphabet.front(), ' ');
  EXPECT_EQ(alphabet.back(), '~');
  EXPECT_EQ(alphabet.find('a'), std::string_view::npos);
  EXPECT_NE(alphabet.find('`'), std::string_view::npos);
  EXPECT_NE(alphabet.find('{'), std::string_view::npos);
  for (const char key : DefaultKeyString()) EXPECT_NE(alphabet.find(key), std::string_view::npos);
}

}  // namespace
}  // namespace ondivo
