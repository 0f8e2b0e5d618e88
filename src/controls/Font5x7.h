#pragma once

#include <array>
#include <cstdint>

namespace ondivo {

// One byte per row, top row first; bit 4 is the leftmost column, bit 0 the rightmost.
using Font5x7Rows = std::array<uint8_t, 7>;

// The matrix font for codes 0..127: printable characters at 20h..7Eh, small symbols at the
// control codes and 7Fh.
const Font5x7Rows& Font5x7Glyph(int code);

}  // namespace ondivo
