#pragma once

#include <string>

namespace ondivo {

// The user's locale conventions the core needs, read once at start by the UI and handed down
// as a plain value: nothing in the core reads the process locale.
struct LocaleFormat {
  char DecimalSeparator = '.';
  char TimeSeparator = ':';
  std::string LongTimeFormat = "hh:mm:ss";  // Qt-style time pattern
};

}  // namespace ondivo
