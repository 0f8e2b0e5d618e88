#include "sdr/SdrDevices.h"

#include <SoapySDR/Device.hpp>
#include <charconv>

namespace ondivo {

namespace {
std::string LabelOf(const SoapySDR::Kwargs& device) {
  const auto label = device.find("label");
  return label != device.end() ? label->second : SoapySDR::KwargsToString(device);
}
}  // namespace

std::vector<SdrDeviceEntry> EnumerateSdrDevices() {
  std::vector<SdrDeviceEntry> found;
  for (const SoapySDR::Kwargs& device : SoapySDR::Device::enumerate())
    found.push_back({SoapySDR::KwargsToString(device), LabelOf(device)});
  return found;
}

std::vector<SdrPortEntry> ListSdrDevices(const SdrDevices& devices) {
  const auto found = EnumerateSdrDevices();
  std::vector<SdrPortEntry> list;
  for (int n = 1; n <= SdrDevices::kCount; ++n) {
    if (devices.Named(n)) {
      const std::string args = devices.ArgsFor(n);
      const auto matches = SoapySDR::Device::enumerate(args);
      list.push_back({n, matches.empty() ? args : LabelOf(matches.front())});
    } else if (static_cast<size_t>(n) <= found.size()) {
      list.push_back({n, found[static_cast<size_t>(n) - 1].Label});
    }
  }
  return list;
}

std::string SdrDevices::ArgsFor(int n) const {
  if (const auto it = overrides_.find(n); it != overrides_.end()) return it->second;
  const auto found = EnumerateSdrDevices();
  return n >= 1 && static_cast<size_t>(n) <= found.size() ? found[static_cast<size_t>(n) - 1].Args
                                                          : std::string();
}

bool ParseSdrOverride(std::string_view value, SdrDevices& devices) {
  const size_t equals = value.find('=');
  if (equals == std::string_view::npos || equals + 1 >= value.size()) return false;
  int n = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + equals, n);
  if (error != std::errc() || end != value.data() + equals) return false;
  if (n < 1 || n > SdrDevices::kCount) return false;
  devices.Override(n, std::string(value.substr(equals + 1)));
  return true;
}

}  // namespace ondivo
