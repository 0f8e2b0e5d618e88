#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/AsciiText.h"

namespace ondivo {

// Locale-free text conversions. The decimal separator is always passed in, so files are read
// and written the same way whatever the process locale says.

// A decimal integer with an optional sign and nothing else (no blanks, no hex).
std::optional<int64_t> ParseInteger(std::string_view text);
// The same, within 32 bits.
std::optional<int32_t> ParseInt32(std::string_view text);

// A decimal number with an optional sign, digits, the given separator and an optional
// exponent; blanks around it are allowed. Any other separator, or a value that is not finite,
// gives nothing.
std::optional<double> ParseReal(std::string_view text, char decimalSeparator);

// The value rounded half away from zero to `decimals` places after first taking it to 15
// significant digits, so 87.9505 rounds up as written rather than as stored in binary.
// The integer part is padded with leading zeros to `minIntegerDigits`. With decimals = 0 no
// separator is written. A value that is not finite is written as 0.
std::string FormatFixed(double value, int decimals, char decimalSeparator, int minIntegerDigits);

// Length in characters of UTF-8 text; a byte that is not part of a valid sequence counts as one.
size_t Utf8Length(std::string_view text);

// The text cut to `width` characters, or padded with blanks to it.
std::string Utf8PadOrCut(std::string_view text, size_t width);

}  // namespace ondivo
