#pragma once

#include <vector>

#include "panel/Prompter.h"
#include "platform/LocaleFormat.h"

namespace ondivo {

class MonotonicClock;
class PresetsBank;
class ScriptRunner;
class TimeOfDaySource;
class TRadioCard;
class Tone;

// Asked before a loaded script replaces one that holds actions.
inline constexpr const char* kLoadScriptQuestion =
    "If you load a new script, the\rcurrent script will be erased.\rAre you sure ?";

// The file dialogs' choices for script files.
inline const std::vector<Prompter::FileFilter>& ScriptFileFilters() {
  static const std::vector<Prompter::FileFilter> filters = {{"Ondivo scripts (*.ovs)", "*.ovs"},
                                                            {"Plain text (*.txt)", "*.txt"},
                                                            {"All files (*.*)", "*.*"}};
  return filters;
}

// What the panel hands the script editor: its current script and file name (changed only by OK
// and on closing), the card the frequency test tunes, and the clocks and tones of the previews.
struct tScriptEditorContext {
  ScriptRunner& Scripts;
  const PresetsBank& Bank;
  TRadioCard& Card;
  bool Muted = false;  // the panel's mute state, given back to the card with its station
  const TimeOfDaySource& Time;
  const MonotonicClock& Timers;
  Tone* Tones = nullptr;  // the beep preview's tones; the default beep when null
  LocaleFormat Locale;
};

}  // namespace ondivo
