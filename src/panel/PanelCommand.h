#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ondivo {

// The panel's keyboard commands. The value of each is its position in the key string minus
// one; position 33 (value 32) belongs to no command, so there is no enumerator for it.
enum class tCommandId : unsigned char {
  cmVolumeUp = 0,
  cmVolumeDown = 1,
  cmVolumeTo0 = 2,
  cmMixer = 3,
  cmMuteOnOff = 4,
  cmDecFreq = 5,
  cmIncFreq = 6,
  cmDecStep = 7,
  cmIncStep = 8,
  cmSleepOnOff = 9,
  cmAlarmOnOff = 10,
  cmScanLeft = 11,
  cmScanRight = 12,
  cmStopScan = 13,
  cmEditFavs = 14,
  cmSetup = 15,
  cmOrganize = 16,
  cmProgr = 17,
  cmExit = 18,
  cmJump = 19,
  cmOnTop = 20,
  cmMinimal = 21,
  cmMinimalTuner = 22,
  cmMinimalFavs = 23,
  cmStereo = 24,
  cmComplete = 25,
  cmClear = 26,
  cmClearAll = 27,
  cmMemory = 28,
  cmRename = 29,
  cmHelp = 30,
  cmAbout = 31,
  cmLoadScript = 33,
  cmLoadPresets = 34,
  cmMinimalVolBtn = 35,
  cmMinimalVolBtnPre = 36,
};
using enum tCommandId;

// One keyboard command: its id, its name in the code, the caption the "Keys" page shows beside
// its drop-down and its default key. This is the one list of commands; the window binds each Id
// to its menu caption and handler in its own table (tdMainActions.cpp), and its menus, buttons,
// keys and tray all run a command through that table.
struct tPanelCommand {
  tCommandId Id;
  std::string_view Name;
  std::string_view Caption;
  char DefaultKey;
};

// 1-based position of a command's key in the key string.
constexpr size_t KeyPosition(tCommandId id) {
  return static_cast<size_t>(id) + 1;
}

// The reserved position keeps this key by default.
inline constexpr char kReservedDefaultKey = '7';

// The 36 commands in key-string order.
inline constexpr std::array<tPanelCommand, 36> kPanelCommands = {{
    {cmVolumeUp, "cmVolumeUp", "Volume up", 'U'},
    {cmVolumeDown, "cmVolumeDown", "Volume down", 'D'},
    {cmVolumeTo0, "cmVolumeTo0", "Volume reset", '0'},
    {cmMixer, "cmMixer", "Mixer", 'X'},
    {cmMuteOnOff, "cmMuteOnOff", "Mute on/off", 'M'},
    {cmDecFreq, "cmDecFreq", "Tune left", '-'},
    {cmIncFreq, "cmIncFreq", "Tune right", '+'},
    {cmDecStep, "cmDecStep", "Step -", ','},
    {cmIncStep, "cmIncStep", "Step +", '.'},
    {cmSleepOnOff, "cmSleepOnOff", "Sleep", 'S'},
    {cmAlarmOnOff, "cmAlarmOnOff", "Alarm", 'A'},
    {cmScanLeft, "cmScanLeft", "Scan left", '<'},
    {cmScanRight, "cmScanRight", "Scan right", '>'},
    {cmStopScan, "cmStopScan", "Stop scan", '!'},
    {cmEditFavs, "cmEditFavs", "Edit presets", 'E'},
    {cmSetup, "cmSetup", "Settings", 'I'},
    {cmOrganize, "cmOrganize", "Organize", 'O'},
    {cmProgr, "cmProgr", "Scripting", 'P'},
    {cmExit, "cmExit", "Exit", 'Q'},
    {cmJump, "cmJump", "Quick jump", 'J'},
    {cmOnTop, "cmOnTop", "Always on top", 'T'},
    {cmMinimal, "cmMinimal", "Minimal", '1'},
    {cmMinimalTuner, "cmMinimalTuner", "Min+tuner", '2'},
    {cmMinimalFavs, "cmMinimalFavs", "Min+presets", '3'},
    {cmStereo, "cmStereo", "Stereo", 'Z'},
    {cmComplete, "cmComplete", "Complete disp.", 'C'},
    {cmClear, "cmClear", "Clear", 'R'},
    {cmClearAll, "cmClearAll", "Clear all", 'L'},
    {cmMemory, "cmMemory", "Memory", 'Y'},
    {cmRename, "cmRename", "Rename", 'K'},
    {cmHelp, "cmHelp", "Help topics", 'H'},
    {cmAbout, "cmAbout", "About", '6'},
    {cmLoadScript, "cmLoadScript", "Load script", '8'},
    {cmLoadPresets, "cmLoadPresets", "Load presets", '9'},
    {cmMinimalVolBtn, "cmMinimalVolBtn", "Min+vol+btn", '4'},
    {cmMinimalVolBtnPre, "cmMinimalVolBtnPre", "Min+vol+btn+pre", '5'},
}};

// The table entry of a command.
constexpr const tPanelCommand& PanelCommand(tCommandId id) {
  for (const tPanelCommand& command : kPanelCommands)
    if (command.Id == id) return command;
  return kPanelCommands[0];  // unreachable: every enumerator has an entry
}

}  // namespace ondivo
