#pragma once

#include <filesystem>

namespace ondivo {

// The folder of the running executable (from /proc/self/exe); empty when unknown.
std::filesystem::path ExecutableDir();

// Where the program's own files are, seen from the folder of its executable. Installed, the
// executable is <prefix>/bin/ondivo and its files are in <prefix>/share/ondivo (help pages,
// tips) and <prefix>/lib/ondivo (the emulated hardware's plugins); in the build tree the data
// folder is copied beside the executable, and the plugins stay where they were built.
std::filesystem::path ProgramDataDir(const std::filesystem::path& executableDir);
std::filesystem::path ProgramLibDir(const std::filesystem::path& executableDir);

}  // namespace ondivo
