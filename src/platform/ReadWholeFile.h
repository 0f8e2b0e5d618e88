#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace ondivo {

enum class tWholeFileRead { Read, Missing, Unreadable, TooLarge };

// Reads a regular file into text, refusing anything beyond maxBytes without holding it. A
// folder, a device or a failed read is Unreadable; text is only meaningful after Read.
tWholeFileRead ReadWholeFile(const std::filesystem::path& path, size_t maxBytes, std::string& text);

}  // namespace ondivo
