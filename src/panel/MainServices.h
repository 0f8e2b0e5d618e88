#pragma once
// What the front panel is wired to: the card, the folders, and the dialogs as function objects,
// so that tests answer them and the executable's wiring hands in the real ones.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "panel/ConfigurationKeys.h"
#include "panel/StartupPlan.h"
#include "platform/LocaleFormat.h"
#include "radio/RadioTypes.h"
#include "schedule/AlarmSetting.h"
#include "settings/SetupValues.h"

class QWidget;

namespace ondivo {

class MonotonicClock;
class PresetsBank;
class Prompter;
class TMixer;
class TRadioCard;
class TimeOfDaySource;
class Tone;
struct tScriptEditorContext;

// A band and a frequency chosen in the jump-to dialog.
struct tJumpTarget {
  tBand Band = bFM;
  double Frequency = 0;
};

// What the main window is wired to. The dialogs are function objects so that tests answer
// them and the real dialogs can be swapped in where they live.
struct tMainServices {
  TRadioCard* Card = nullptr;
  Prompter* Prompts = nullptr;
  std::filesystem::path ConfigDir;  // Ondivo.ini lives here
  std::filesystem::path DataDir;    // Ondivo.txt and help/
  LocaleFormat Locale;
  bool ConfigureSwitch = false;
  // The card's own mixer (the sound card's), whose change reports the panel watches; null
  // without a sound card.
  TMixer* Mixer = nullptr;
  // The mixer dialog, on the sound card the card is wired to.
  std::function<void(QWidget*, const TRadioCard&)> RunMixer;
  // The settings dialog, opened on the panel's settings and card: its values after OK,
  // nothing after Cancel.
  std::function<std::optional<tSetupValues>(QWidget*, const tConfiguration&, TRadioCard&)> RunSetup;
  std::function<std::optional<tJumpTarget>(QWidget*, const TRadioCard&)> RunJumpTo;
  std::function<tExitAnswer(QWidget*, bool yesEnabled)> RunExit;
  // The tip window: whether "Show Tips at Startup" stays ticked; nothing when it was not shown.
  std::function<std::optional<bool>(QWidget*, const std::filesystem::path& tipsFile)> RunTips;
  // Called after the card's model or port changed, before it is switched on again.
  std::function<void(tModel)> HardwareChanged;
  // Waits of the settings (600 ms after a serial model change).
  std::function<void(int ms)> Wait;
  // The alarm dialog, opened with the alarm's time and station and the current preset (the
  // one last recalled): the chosen time and station after "OK", nothing after Cancel.
  std::function<std::optional<tAlarmSetting>(QWidget*, const tAlarmSetting&, const PresetsBank&,
                                             const TRadioCard&, int currentPreset)>
      RunAlarm;
  // The sleep dialog, opened with the last delay: the minutes after "OK".
  std::function<std::optional<int>(QWidget*, int minutes)> RunSleep;
  // Where the tones of a script's beep action go; the default beep when there is none.
  Tone* Tones = nullptr;
  // The ask-name dialog of storing and renaming a preset, opened with a name: the text after
  // "OK", nothing after Cancel. tdAskName when not set.
  std::function<std::optional<std::string>(QWidget*, const std::string& name)> RunAskName;
  // The script editor, opened on the current script: true after "OK", when it has replaced the
  // script's actions and title with the edited ones. Unset, "Scripting" only switches
  // programming mode off.
  std::function<bool(QWidget*, const tScriptEditorContext&)> RunScriptEditor;
  // The time of day of the clock, the alarm and the scripts, and the monotonic clock of the
  // sleep and beeper timers; the system's when not set.
  const TimeOfDaySource* Time = nullptr;
  const MonotonicClock* Timers = nullptr;
};

}  // namespace ondivo
