#include "sim/EmulatedSdrModule.h"

#include "platform/ProgramFiles.h"

namespace ondivo::sim {

std::filesystem::path EmulatedSdrModuleDir() {
  std::error_code error;
  const auto executableDir = ExecutableDir();
  if (!executableDir.empty()) {
    const auto installed = ProgramLibDir(executableDir) / "soapy-modules";
    if (std::filesystem::is_directory(installed, error)) return installed;
  }
  return ONDIVO_SOAPY_MODULE_DIR;
}

}  // namespace ondivo::sim
