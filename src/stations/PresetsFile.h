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

// Results of LoadPresetsFile, with the codes the file dialogs know them by.
enum class tPresetsFileRead : uint8_t {
  kPresetsLoaded = 0,
  kPresetsMalformed = 1,
  kPresetsUnreadable = 2,
};
using enum tPresetsFileRead;

// What the user is shown for each result; nothing for kPresetsLoaded.
inline constexpr std::string_view kPresetsCorruptMessage = "The presets files is corrupt";
inline constexpr std::string_view kPresetsWriteErrorMessage = "Presets write error";
std::string_view PresetsFileReadMessage(tPresetsFileRead result);

// Reads a .ovp file into a fresh bank; bank is replaced only when the result is kPresetsLoaded.
tPresetsFileRead LoadPresetsFile(const std::filesystem::path& path, const LocaleFormat& locale,
                                 PresetsBank& bank);

// The .ovp text: one 55-character CR LF line per assigned preset, in number order. Nothing
// when a frequency would not fit its seven characters (the file could not be read back).
std::optional<std::string> FormatPresetsFile(const PresetsBank& bank, const LocaleFormat& locale);

// Writes the .ovp file atomically; on failure the Message is "Presets write error" and any
// previous file is left as it was.
tWriteResult WritePresetsFile(const std::filesystem::path& path, const PresetsBank& bank,
                              const LocaleFormat& locale);

}  // namespace ondivo
