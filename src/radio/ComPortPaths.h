#pragma once

#include <map>
#include <string>

namespace ondivo {

// Maps serial port number n (COMn) to a device path: /dev/ttyS<n-1> unless overridden, e.g. by
// the --com N=PATH option or by the simulation's pty pairs.
class ComPortPaths {
 public:
  std::string PathFor(int n) const {
    auto it = overrides_.find(n);
    if (it != overrides_.end()) return it->second;
    return "/dev/ttyS" + std::to_string(n - 1);
  }
  void Override(int n, std::string path) { overrides_[n] = std::move(path); }

 private:
  std::map<int, std::string> overrides_;
};

}  // namespace ondivo
