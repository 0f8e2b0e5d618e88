#pragma once

#include <cstdint>
#include <string>

#include "panel/ConfigurationKeys.h"
#include "platform/FileResult.h"
#include "platform/LocaleFormat.h"

namespace ondivo {

class IniFile;
class PresetsBank;

// Reads every setting of Ondivo.ini into `settings` and the stored presets into `bank`. A key
// that is missing or does not convert keeps the value already held, except Hardware, Port and
// VolumeLine (0), the alarm time (06:30) and the last frequency (0: keep the card's). Values
// that mean nothing are taken back to a default: DisplayType outside 0..5, Hardware outside
// 0..7, VolumeLine outside 0..4, TuneStep below 1, preset numbers outside 1..100, an unusable
// key string. Station entries that cannot be read go to settings.RefusedStations.
void LoadConfiguration(const IniFile& ini, const LocaleFormat& locale, tConfiguration& settings,
                       PresetsBank& bank);

// The one key the entry sequence needs before the main window exists.
int32_t ReadHardwareSetting(const IniFile& ini);

// Erases and rewrites every section in the fixed order, then replaces the file atomically. On
// failure the Message is "Unable to write to <path>" and the previous file is left as it was.
// A file that could not be read at start is kept as "Ondivo.ini.bak" first: call
// ini.KeepUnreadableFile() before saving to tell the user, or show the result's Notice.
tWriteResult SaveConfiguration(IniFile& ini, const tConfiguration& settings,
                               const PresetsBank& bank, const LocaleFormat& locale);

}  // namespace ondivo
