#include "platform/ProgramFiles.h"

namespace ondivo {

std::filesystem::path ExecutableDir() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path ProgramDataDir(const std::filesystem::path& executableDir) {
  std::error_code error;
  const auto built = executableDir / "data";
  if (std::filesystem::is_directory(built, error)) return built;
  return executableDir.parent_path() / ONDIVO_INSTALL_DATADIR;
}

std::filesystem::path ProgramLibDir(const std::filesystem::path& executableDir) {
  return executableDir.parent_path() / ONDIVO_INSTALL_LIBDIR;
}

}  // namespace ondivo
