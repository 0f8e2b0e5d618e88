#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileResult.h"
#include "platform/LocaleFormat.h"
#include "stations/PresetsBank.h"

namespace ondivo {

// Results of LoadPresetsFile and what the user is shown for them.
inline constexpr tFileRead kPresetsLoaded = tFileRead::Read;
inline constexpr tFileRead kPresetsMalformed = tFileRead::Corrupt;
inline constexpr tFileRead kPresetsUnreadable = tFileRead::Unreadable;
inline constexpr std::string_view kPresetsCorruptMessage = "The presets files is corrupt";
inline constexpr std::string_view kPresetsWriteErrorMessage = "Presets write error";
constexpr std::string_view PresetsFileReadMessage(tFileRead result) {
  return FileReadMessage(result, kPresetsCorruptMessage);
}

// Reads a .ovp file into a fresh bank; bank is replaced only when the result is kPresetsLoaded.
tFileRead LoadPresetsFile(const std::filesystem::path& path, const LocaleFormat& locale,
                          PresetsBank& bank);

// The .ovp text: one 55-character CR LF line per assigned preset, in number order. Nothing
// when a frequency would not fit its seven characters (the file could not be read back).
std::optional<std::string> FormatPresetsFile(const PresetsBank& bank, const LocaleFormat& locale);

// Writes the .ovp file atomically; on failure the Message is "Presets write error" and any
// previous file is left as it was.
tWriteResult WritePresetsFile(const std::filesystem::path& path, const PresetsBank& bank,
                              const LocaleFormat& locale);

}  // namespace ondivo
