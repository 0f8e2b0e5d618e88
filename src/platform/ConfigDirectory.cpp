#include "platform/ConfigDirectory.h"

#include <unistd.h>

namespace ondivo {

std::filesystem::path ChooseConfigDirectory(const tConfigDirectoryFacts& facts) {
  if (!facts.Override.empty()) return facts.Override;
  if (!facts.Simulate && !facts.ExecutableDir.empty()) {
    const auto beside = facts.ExecutableDir / "Ondivo.ini";
    if (::access(beside.c_str(), W_OK) == 0) return facts.ExecutableDir;
  }
  std::filesystem::path base;
  if (!facts.XdgConfigHome.empty() && facts.XdgConfigHome.front() == '/') {
    base = facts.XdgConfigHome;
  } else {
    base = std::filesystem::path(facts.Home.empty() ? "/tmp" : facts.Home) / ".config";
  }
  return base / (facts.Simulate ? "ondivo-simulate" : "ondivo");
}

}  // namespace ondivo
