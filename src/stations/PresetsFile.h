#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/LocaleFormat.h"
#include "stations/PresetsBank.h"

namespace ondivo {

// Results of LoadPresetsFile.
inline constexpr int kPresetsLoaded = 0;
inline constexpr int kPresetsMalformed = 1;   // "The presets files is corrupt"
inline constexpr int kPresetsUnreadable = 2;  // "Read error or disk not ready"

// Reads a .ovp file into a fresh bank; bank is replaced only when the result is kPresetsLoaded.
int LoadPresetsFile(const std::filesystem::path& path, const LocaleFormat& locale,
                    PresetsBank& bank);

// The .ovp text: one 55-character CR LF line per assigned preset, in number order. Nothing
// when a frequency would not fit its seven characters (the file could not be read back).
std::optional<std::string> FormatPresetsFile(const PresetsBank& bank, const LocaleFormat& locale);

// Writes the .ovp file atomically; false ("Presets write error") leaves any previous file as
// it was.
bool WritePresetsFile(const std::filesystem::path& path, const PresetsBank& bank,
                      const LocaleFormat& locale);

}  // namespace ondivo
