#pragma once

#include <sys/types.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ondivo::test {

// The capability sets of one thread as /proc reports them.
struct CapabilitySets {
  unsigned long long Effective = ~0ULL, Permitted = ~0ULL, Inheritable = ~0ULL;
  bool None() const { return Effective == 0 && Permitted == 0 && Inheritable == 0; }
};

inline CapabilitySets ReadCapabilitySets(const std::filesystem::path& status) {
  CapabilitySets sets;
  std::ifstream in(status);
  std::string key;
  std::string value;
  while (in >> key && std::getline(in, value)) {
    unsigned long long* field = key == "CapEff:"   ? &sets.Effective
                                : key == "CapPrm:" ? &sets.Permitted
                                : key == "CapInh:" ? &sets.Inheritable
                                                   : nullptr;
    if (field) std::istringstream(value) >> std::hex >> *field;
  }
  return sets;
}

// Every thread of a process: capabilities belong to threads, and one started before the
// process gave them up would still hold them.
inline std::vector<CapabilitySets> ThreadCapabilities(pid_t pid) {
  std::vector<CapabilitySets> threads;
  std::error_code error;
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    threads.push_back(ReadCapabilitySets(task.path() / "status"));
  }
  return threads;
}

}  // namespace ondivo::test
