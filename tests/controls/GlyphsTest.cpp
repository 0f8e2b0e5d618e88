#include <gtest/gtest.h>

#include <set>
#include <string>

#include "controls/Font5x7.h"
#include "controls/Glyphs.h"

namespace ondivo {
namespace {

Font5x7Rows Rows(const std::string& bits) {
  Font5x7Rows rows{};
  int row = 0;
  for (size_t i = 0; i < bits.size(); i += 6)
    rows[row++] = std::stoi(bits.substr(i, 5), nullptr, 2);
  return rows;
}

TEST(Seg7GlyphTest, DigitsAndHexLettersInBothCasesEverythingElseTheMiddleBar) {
  const uint8_t digits[] = {0x7D, 0x50, 0x37, 0x57, 0x5A, 0x4F, 0x6F, 0x51, 0x7F, 0x5F};
  const uint8_t letters[] = {0x7B, 0x6E, 0x2D, 0x76, 0x2F, 0x2B};
  for (int code = 0; code < 128; ++code) {
    uint8_t expected = 0x02;
    if (code >= '0' && code <= '9') expected = digits[code - '0'];
    if (code >= 'A' && code <= 'F') expected = letters[code - 'A'];
    if (code >= 'a' && code <= 'f') expected = letters[code - 'a'];
    EXPECT_EQ(Seg7Glyph(code), expected) << "code " << code;
  }
  EXPECT_EQ(Seg7Glyph(' '), 0x02);
  EXPECT_EQ(Seg7Glyph(0xE9), 0x02);
  EXPECT_EQ(Seg7Glyph(-1), 0x02);
}

TEST(Seg16GlyphTest, ListedCodesAndTheMiddleHalvesForTheRest) {
  EXPECT_EQ(Seg16Glyph(' '), 0x0000);
  EXPECT_EQ(Seg16Glyph('"'), 0x0014);
  EXPECT_EQ(Seg16Glyph('#'), 0xE9D0);
  EXPECT_EQ(Seg16Glyph('/'), 0x0420);
  EXPECT_EQ(Seg16Glyph('0'), 0x4A15);
  EXPECT_EQ(Seg16Glyph('9'), 0x4895);
  EXPECT_EQ(Seg16Glyph('='), 0xC180);
  EXPECT_EQ(Seg16Glyph('A'), 0x23C7);
  EXPECT_EQ(Seg16Glyph('M'), 0x226C);
  EXPECT_EQ(Seg16Glyph('Z'), 0xC423);
  EXPECT_EQ(Seg16Glyph('_'), 0xC000);
  for (int c = 'a'; c <= 'z'; ++c) EXPECT_EQ(Seg16Glyph(c), Seg16Glyph(c - 32)) << char(c);

  // Exactly the unlisted codes show the two middle halves.
  std::set<int> others = {0x21, 0x2D, 0x2E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F};
  for (int c = 0; c < 0x20; ++c) others.insert(c);
  for (int code = 0; code < 128; ++code) {
    EXPECT_EQ(Seg16Glyph(code) == 0x0180, others.count(code) == 1) << "code " << code;
  }
  EXPECT_EQ(Seg16Glyph(200), 0x0180);
}

TEST(Font5x7Test, RowsGivenForTheTellingCharacters) {
  EXPECT_EQ(Font5x7Glyph('0'), Rows("01110 10001 10011 10101 11001 10001 01110"));
  EXPECT_EQ(Font5x7Glyph('1'), Rows("00100 01100 00100 00100 00100 00100 01110"));
  EXPECT_EQ(Font5x7Glyph('8'), Rows("01110 10001 10001 01110 10001 10001 01110"));
  EXPECT_EQ(Font5x7Glyph('A'), Rows("01110 10001 10001 11111 10001 10001 10001"));
  EXPECT_EQ(Font5x7Glyph('M'), Rows("10001 11011 10101 10101 10001 10001 10001"));
  EXPECT_EQ(Font5x7Glyph('k'), Rows("01000 01000 01001 01010 01100 01010 01001"));
  EXPECT_EQ(Font5x7Glyph('.'), Rows("00000 00000 00000 00000 01100 01100 00000"));
  EXPECT_EQ(Font5x7Glyph('-'), Rows("00000 00000 00000 11111 00000 00000 00000"));
  EXPECT_EQ(Font5x7Glyph(' '), Font5x7Rows{});
}

TEST(Font5x7Test, EveryCodeHasItsOwnFiveColumnGlyph) {
  std::set<Font5x7Rows> seen;
  for (int code = 0; code < 128; ++code) {
    const Font5x7Rows& rows = Font5x7Glyph(code);
    for (uint8_t row : rows) EXPECT_LT(row, 32) << "code " << code;
    if (code != ' ') {
      EXPECT_NE(rows, Font5x7Rows{}) << "code " << code << " is blank";
    }
    EXPECT_TRUE(seen.insert(rows).second) << "code " << code << " repeats another glyph";
  }
  // Outside the table: a visible block, never a crash.
  EXPECT_EQ(Font5x7Glyph(300), Font5x7Glyph(0x7F));
  EXPECT_EQ(Font5x7Glyph(-5), Font5x7Glyph(0x7F));
}

TEST(SegmentLitTest, MapsBitsToSegmentsAndDots) {
  // 7-segment '1' lights the two right bars (bits 4 and 6).
  for (int k = 0; k < 7; ++k) EXPECT_EQ(SegmentLit(ds7Seg, '1', k), k == 4 || k == 6) << k;
  // 16-segment hyphen: the two middle halves (bits 7 and 8).
  for (int k = 0; k < 16; ++k) EXPECT_EQ(SegmentLit(ds16Seg, '-', k), k == 7 || k == 8) << k;
  // Dots run row by row from the top left; bit 4 is the leftmost column. '1' row 0 is 00100.
  for (int k = 0; k < 5; ++k) EXPECT_EQ(SegmentLit(ds5x7Bulb, '1', k), k == 2) << k;
  // 'k' row 6 is 01001: columns 1 and 4.
  for (int k = 30; k < 35; ++k) EXPECT_EQ(SegmentLit(ds5x7Dot, 'k', k), k == 31 || k == 34) << k;
  EXPECT_FALSE(SegmentLit(ds7Seg, '8', 7));
  EXPECT_FALSE(SegmentLit(ds5x7Dot, '8', 35));
  EXPECT_FALSE(SegmentLit(ds16Seg, '#', -1));
}

}  // namespace
}  // namespace ondivo
