#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "panel/KeyString.h"
#include "radio/RadioTypes.h"

namespace ondivo {

// Every setting kept in Ondivo.ini, with its default for a missing key. Values are held as
// stored; the panel converts them (model from Hardware, tuning step from TuneStep) when it
// applies them. Byte-wide settings keep only the low eight bits of what the file says.
struct tConfiguration {
  // [WinPos]
  int32_t X = 0;
  int32_t Y = 0;
  // [Audio]
  int32_t Volume = 0;  // card volume units
  // [Alarm]
  uint8_t AlarmStation = 0;  // Station: preset 1..100, 0 = none
  int32_t AlarmHour = 6;     // Time, "HH:MM"
  int32_t AlarmMinute = 30;
  // [Frequency]
  tBand LastBand = bFM;      // Frequency: band letter, blank, "000.000"
  double LastFrequency = 0;  // 0 (the card keeps its own frequency) when nothing usable is stored
  int32_t TuneStep = 1;      // multiples of the card's minimal FM step
  // [Configuration]
  int32_t Hardware = 0;  // model + 1; 0 = not configured
  uint8_t Port = 0;      // index into the model's ports; 0 = not configured
  tVolumeLine VolumeLine = vlNone;
  bool CheckIfTuned = false;
  bool JapaneseFM = false;
  std::string KeyboardCommands = DefaultKeyString();
  bool LastStation = true;
  bool StartMinimized = false;
  bool TipOfTheDay = false;
  uint8_t ShutDown = 2;  // 0 mute audio, 1 leave as is, 2 ask
  uint8_t Background = 2;
  uint8_t Foreground = 10;
  int32_t Style = 2;
  uint8_t ColorGenericButton = 4;
  uint8_t ColorFavAssButtonFM = 2;
  uint8_t ColorFavAssButtonAM = 0;
  uint8_t ColorFavNotAssButton = 4;
  uint8_t ColorPanel = 0;
  uint8_t ColorText = 7;
  uint8_t ColorFlag = 5;
  bool LaunchAlarm = false;
  bool StartMuted = false;
  bool ForceStereoOff = false;
  // [DisplayMode]
  int32_t DisplayType = 0;  // 0..5
  bool AlwaysOnTop = false;
  // [Presets]; the stored stations themselves go to the presets bank.
  uint8_t Current = 0;  // 0 = none
  // Station entries of the list that this run could not read (written under another decimal
  // separator, or damaged), by preset number, as they stand in the file. They are written back
  // unchanged, so saving destroys nothing; storing a preset into such a number replaces it.
  std::map<int, std::string> RefusedStations;

  bool operator==(const tConfiguration&) const = default;
};

// Section and key names, as they stand in the file.
namespace ini {
inline constexpr const char* kWinPos = "WinPos";
inline constexpr const char* kAudio = "Audio";
inline constexpr const char* kAlarm = "Alarm";
inline constexpr const char* kFrequency = "Frequency";
inline constexpr const char* kConfiguration = "Configuration";
inline constexpr const char* kDisplayMode = "DisplayMode";
inline constexpr const char* kPresets = "Presets";
}  // namespace ini

}  // namespace ondivo
