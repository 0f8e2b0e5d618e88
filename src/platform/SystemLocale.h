#pragma once

#include "platform/LocaleFormat.h"

namespace ondivo {

// Reads the decimal separator and the long time format of the user's locale.
LocaleFormat ReadSystemLocale();

}  // namespace ondivo
