#include "radio/RadioDevicePaths.h"

#include <sys/stat.h>

#include <charconv>

namespace ondivo {

bool ParseRadioOverride(std::string_view value, RadioDevicePaths& paths) {
  const size_t equals = value.find('=');
  if (equals == std::string_view::npos || equals + 1 >= value.size()) return false;
  int n = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + equals, n);
  if (error != std::errc() || end != value.data() + equals) return false;
  if (n < 1 || n > RadioDevicePaths::kCount) return false;
  paths.Override(n, std::string(value.substr(equals + 1)));
  return true;
}

std::vector<RadioDeviceEntry> ListRadioDevices(const RadioDevicePaths& paths,
                                               const PathExists& exists) {
  const auto isCharDevice = [](const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
  };
  std::vector<RadioDeviceEntry> found;
  for (int n = 1; n <= RadioDevicePaths::kCount; ++n) {
    std::string path = paths.PathFor(n);
    if (exists ? exists(path) : isCharDevice(path)) found.push_back({n, std::move(path)});
  }
  return found;
}

}  // namespace ondivo
