#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/LocaleFormat.h"
#include "schedule/Script.h"

namespace ondivo {

class PresetsBank;

// Results of ReadScriptFile.
inline constexpr int kScriptRead = 0;
inline constexpr int kScriptCorrupt = 1;     // "The script files is corrupt"
inline constexpr int kScriptUnreadable = 2;  // "Read error or disk not ready"

inline constexpr const char* kScriptWriteError = "Script write error";

// Script files are a few kilobytes (at most one action a minute); anything far larger is no
// script and is refused before it is read into memory.
inline constexpr size_t kMaxScriptFileSize = 1 << 20;

// The whole-file check of the first pass over the text of a script file.
bool ValidateScriptFile(std::string_view text, const LocaleFormat& locale);

// Reads a script file. Only on kScriptRead is `script` set; otherwise it is left alone.
int ReadScriptFile(const std::filesystem::path& path, const LocaleFormat& locale,
                   std::unique_ptr<tScript>& script);

// The text of a script file, lines ended by CR LF. The stereo word of a preset line depends on
// the band of that preset in `bank`.
std::string FormatScriptFile(std::string_view title, const tScript& actions,
                             const PresetsBank& bank, const LocaleFormat& locale);

// Writes the file through a temporary file renamed into place, so a failure leaves any previous
// file as it was. On failure `report` gets "Script write error" and the result is false.
bool WriteScriptFile(const std::filesystem::path& path, std::string_view title,
                     const tScript& actions, const PresetsBank& bank, const LocaleFormat& locale,
                     const std::function<void(const std::string&)>& report);

}  // namespace ondivo
