#include "platform/TextConvert.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace ondivo {

std::optional<int64_t> ParseInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<int32_t> ParseInt32(std::string_view text) {
  const auto value = ParseInteger(text);
  return value ? ToInt32(*value) : std::nullopt;
}

std::optional<double> ParseReal(std::string_view text, char decimalSeparator) {
  text = TrimText(text);
  // Validate the shape ourselves: from_chars would also take "inf", "nan" and hex forms.
  std::string plain;
  plain.reserve(text.size());
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain.push_back('-');
    ++i;
  }
  size_t mantissaDigits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    plain.push_back(text[i++]);
    ++mantissaDigits;
  }
  if (i < text.size() && text[i] == decimalSeparator) {
    plain.push_back('.');
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      plain.push_back(text[i++]);
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain.push_back(text[i++]);
    size_t exponentDigits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      plain.push_back(text[i++]);
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  const char* end = plain.data() + plain.size();
  const auto [ptr, ec] = std::from_chars(plain.data(), end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatFixed(double value, int decimals, char decimalSeparator, int minIntegerDigits) {
  if (!std::isfinite(value)) value = 0;
  if (decimals < 0) decimals = 0;
  const bool negative = std::signbit(value) && value != 0;
  // 15 significant digits: d.dddddddddddddde+XX
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, 14);
  const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
  const size_t ePos = text.find('e');
  std::string mantissa;
  for (char c : text.substr(0, ePos)) {
    if (c != '.') mantissa.push_back(c);
  }
  const int exponent = static_cast<int>(*ParseInteger(text.substr(ePos + 1)));

  // Lay the digits out as a plain number with `point` digits before the decimal point.
  std::string digits;
  int point = exponent + 1;
  if (point <= 0) {
    digits = std::string(static_cast<size_t>(1 - point), '0') + mantissa;
    point = 1;
  } else {
    digits = mantissa;
    if (static_cast<int>(digits.size()) < point) digits.append(point - digits.size(), '0');
  }
  const size_t keep = static_cast<size_t>(point + decimals);
  if (digits.size() <= keep) digits.append(keep + 1 - digits.size(), '0');
  const bool roundUp = digits[keep] >= '5';
  digits.resize(keep);
  if (roundUp) {
    size_t pos = keep;
    while (pos > 0) {
      --pos;
      if (digits[pos] == '9') {
        digits[pos] = '0';
      } else {
        ++digits[pos];
        break;
      }
      if (pos == 0) {
        digits.insert(digits.begin(), '1');
        ++point;
      }
    }
  }
  std::string integerPart = digits.substr(0, static_cast<size_t>(point));
  const size_t firstNonZero = integerPart.find_first_not_of('0');
  integerPart =
      firstNonZero == std::string::npos ? std::string() : integerPart.substr(firstNonZero);
  if (static_cast<int>(integerPart.size()) < minIntegerDigits) {
    integerPart.insert(0, static_cast<size_t>(minIntegerDigits) - integerPart.size(), '0');
  }
  const std::string fraction = digits.substr(static_cast<size_t>(point));
  const bool allZero = integerPart.find_first_not_of('0') == std::string::npos &&
                       fraction.find_first_not_of('0') == std::string::npos;
  std::string out;
  if (negative && !allZero) out.push_back('-');
  out += integerPart;
  if (decimals > 0) {
    out.push_back(decimalSeparator);
    out += fraction;
  }
  return out;
}

namespace {

// Bytes taken by the character starting at text[pos].
size_t Utf8CharLength(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (pos + length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

size_t Utf8Length(std::string_view text) {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos)) ++count;
  return count;
}

std::string Utf8PadOrCut(std::string_view text, size_t width) {
  size_t count = 0;
  size_t pos = 0;
  while (pos < text.size() && count < width) {
    pos += Utf8CharLength(text, pos);
    ++count;
  }
  std::string result(text.substr(0, pos));
  result.append(width - count, ' ');
  return result;
}

}  // namespace ondivo
