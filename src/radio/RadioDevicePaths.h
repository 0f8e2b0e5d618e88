#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ondivo {

// Maps the port index n (1..8) of the V4L2 model to a device node: /dev/radio<n-1> unless
// overridden, by the --radio N=PATH option or by the simulation.
class RadioDevicePaths {
 public:
  static constexpr int kCount = 8;

  std::string PathFor(int n) const {
    auto it = overrides_.find(n);
    if (it != overrides_.end()) return it->second;
    return "/dev/radio" + std::to_string(n - 1);
  }
  void Override(int n, std::string path) { overrides_[n] = std::move(path); }

 private:
  std::map<int, std::string> overrides_;
};

// Takes "N=PATH" (the value of --radio) into paths. False, and paths unchanged, when N is not
// 1..8 or PATH is empty.
bool ParseRadioOverride(std::string_view value, RadioDevicePaths& paths);

// One device the setup dialog offers.
struct RadioDeviceEntry {
  int Index = 0;  // port index n
  std::string Path;
};

// The port indices 1..8 whose device node exists, in order. exists defaults to a stat() of the
// path being a character device; the simulation passes its own.
using PathExists = std::function<bool(const std::string& path)>;
std::vector<RadioDeviceEntry> ListRadioDevices(const RadioDevicePaths& paths,
                                               const PathExists& exists = {});

}  // namespace ondivo
