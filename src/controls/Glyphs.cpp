#include "controls/Glyphs.h"

#include "controls/Font5x7.h"

namespace ondivo {

namespace {

constexpr uint8_t kSeg7Digits[10] = {0x7D, 0x50, 0x37, 0x57, 0x5A, 0x4F, 0x6F, 0x51, 0x7F, 0x5F};
constexpr uint8_t kSeg7HexLetters[6] = {0x7B, 0x6E, 0x2D, 0x76, 0x2F, 0x2B};
constexpr uint8_t kSeg7Other = 0x02;  // the middle bar

constexpr uint16_t kSeg16Other = 0x0180;  // the two middle halves

// Codes 20h..5Fh; lower-case letters reuse the upper-case row.
constexpr uint16_t kSeg16From20[64] = {
    0x0000, 0x0180, 0x0014, 0xE9D0, 0xE997, 0xADB5, 0xF299, 0x0020,  // 20h..27h
    0x1020, 0x0408, 0x1DB8, 0x0990, 0x0400, 0x0180, 0x0180, 0x0420,  // 28h..2Fh
    0x4A15, 0x0810, 0x4291, 0x4891, 0x0894, 0x4885, 0x4A85, 0x0811,  // 30h..37h
    0x4A95, 0x4895, 0x4001, 0x0401, 0xC420, 0xC180, 0xD008, 0x0943,  // 38h..3Fh
    0xEAC3, 0x23C7, 0xE953, 0xC207, 0xE853, 0xC287, 0x0287, 0xE307,  // 40h..47h
    0x23C4, 0xC813, 0x4A13, 0x12A4, 0xC204, 0x226C, 0x324C, 0xE247,  // 48h..4Fh
    0x03C7, 0xF247, 0x13C7, 0xE187, 0x0813, 0xE244, 0x0624, 0x3644,  // 50h..57h
    0x1428, 0x0828, 0xC423, 0x4205, 0x1008, 0xA042, 0x1400, 0xC000,  // 58h..5Fh
};

}  // namespace

uint8_t Seg7Glyph(int code) {
  if (code >= '0' && code <= '9') return kSeg7Digits[code - '0'];
  if (code >= 'A' && code <= 'F') return kSeg7HexLetters[code - 'A'];
  if (code >= 'a' && code <= 'f') return kSeg7HexLetters[code - 'a'];
  return kSeg7Other;
}

uint16_t Seg16Glyph(int code) {
  if (code >= 'a' && code <= 'z') code -= 'a' - 'A';
  if (code >= 0x20 && code <= 0x5F) return kSeg16From20[code - 0x20];
  return kSeg16Other;
}

bool SegmentLit(TDigitStyle style, int code, int index) {
  if (index < 0 || index >= SegmentCount(style)) return false;
  switch (style) {
    case ds7Seg:
      return (Seg7Glyph(code) >> index) & 1;
    case ds16Seg:
      return (Seg16Glyph(code) >> index) & 1;
    case ds5x7Dot:
    case ds5x7Bulb:
      return (Font5x7Glyph(code)[index / 5] >> (4 - index % 5)) & 1;
  }
  return false;
}

}  // namespace ondivo
