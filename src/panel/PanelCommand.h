#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace ondivo {

// Every command of the panel. Menus, the tray menu, keys and scripts all name commands by
// these ids; the main window maps each to its handler once.
enum class tPanelCommandId {
  // In key-string order (position = index + 1); position 33 is reserved.
  cmVolumeUp, cmVolumeDown, cmVolumeTo0, cmMixer, cmMuteOnOff, cmDecFreq, cmIncFreq,
  cmDecStep, cmIncStep, cmSleepOnOff, cmAlarmOnOff, cmScanLeft, cmScanRight, cmStopScan,
  cmEditFavs, cmSetup, cmOrganize, cmProgr, cmExit, cmJump, cmOnTop, cmMinimal,
  cmMinimalTuner, cmMinimalFavs, cmStereo, cmComplete, cmClear, cmClearAll, cmMemory,
  cmRename, cmHelp, cmAbout, cmReserved, cmLoadScript, cmLoadPresets, cmMinimalVolBtn,
  cmMinimalVolBtnPre,
  // Menu-only commands.
  cmShow, cmHide,
};
using enum tPanelCommandId;

inline constexpr size_t kPanelCommandCount = static_cast<size_t>(cmHide) + 1;

struct tPanelCommand {
  tPanelCommandId Id;
  std::string_view Caption;       // the menu caption
  std::string_view KeyCaption;    // the caption of the "Keys" page; empty: no key
  bool Checkable = false;
};

// The table, indexed by id.
inline constexpr std::array<tPanelCommand, kPanelCommandCount> kPanelCommands = {{
    {cmVolumeUp, "Up", "Volume up"},
    {cmVolumeDown, "Down", "Volume down"},
    {cmVolumeTo0, "Reset", "Volume reset"},
    {cmMixer, "Mixer", "Mixer"},
    {cmMuteOnOff, "Mute", "Mute on/off", true},
    {cmDecFreq, "Tune left", "Tune left"},
    {cmIncFreq, "Tune right", "Tune right"},
    {cmDecStep, "Step -", "Step -"},
    {cmIncStep, "Step +", "Step +"},
    {cmSleepOnOff, "Sleep", "Sleep", true},
    {cmAlarmOnOff, "Alarm", "Alarm", true},
    {cmScanLeft, "Scan left", "Scan left"},
    {cmScanRight, "Scan right", "Scan right"},
    {cmStopScan, "Scan stop", "Stop scan"},
    {cmEditFavs, "Edit presets", "Edit presets"},
    {cmSetup, "&Settings", "Settings"},
    {cmOrganize, "Organize", "Organize"},
    {cmProgr, "Scripting", "Scripting", true},
    {cmExit, "Exit", "Exit"},
    {cmJump, "Jump to", "Quick jump"},
    {cmOnTop, "Always on top", "Always on top", true},
    {cmMinimal, "Display", "Minimal", true},
    {cmMinimalTuner, "Display + tuner", "Min+tuner", true},
    {cmMinimalFavs, "Display + presets", "Min+presets", true},
    {cmStereo, "Stereo", "Stereo", true},
    {cmComplete, "Complete", "Complete disp.", true},
    {cmClear, "Clear", "Clear"},
    {cmClearAll, "Clear all", "Clear all"},
    {cmMemory, "Memory", "Memory"},
    {cmRename, "Rename", "Rename"},
    {cmHelp, "Help topics", "Help topics"},
    {cmAbout, "About", "About"},
    {cmReserved, "", ""},
    {cmLoadScript, "Load script", "Load script"},
    {cmLoadPresets, "Load presets", "Load presets"},
    {cmMinimalVolBtn, "Display + volume + buttons", "Min+vol+btn", true},
    {cmMinimalVolBtnPre, "Display + volume + buttons + presets", "Min+vol+btn+pre", true},
    {cmShow, "Show", ""},
    {cmHide, "Hide", ""},
}};

constexpr const tPanelCommand& PanelCommand(tPanelCommandId id) {
  return kPanelCommands[static_cast<size_t>(id)];
}

// The command a key-string position (1-based) names; none for 33 and positions past 37.
constexpr std::optional<tPanelCommandId> CommandAtKeyPosition(size_t position) {
  if (position < 1 || position > static_cast<size_t>(cmMinimalVolBtnPre) + 1) return {};
  const auto id = static_cast<tPanelCommandId>(position - 1);
  if (id == cmReserved) return {};
  return id;
}

// The display mode a Display command selects, or -1.
constexpr int DisplayModeOf(tPanelCommandId id) {
  switch (id) {
    case cmComplete: return 0;
    case cmMinimal: return 1;
    case cmMinimalTuner: return 2;
    case cmMinimalFavs: return 3;
    case cmMinimalVolBtn: return 4;
    case cmMinimalVolBtnPre: return 5;
    default: return -1;
  }
}

}  // namespace ondivo
