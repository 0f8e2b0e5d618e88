#pragma once

#include <QApplication>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/Tone.h"
#include "mixer/SoundCard.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "sim/SimulatedRig.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempDir.h"

namespace ondivo::test {

// The real front panel on emulated hardware with free time, its configuration folder a
// temporary one holding the given Ondivo.ini (none when empty), and every dialog answered
// by the test. With soundDevice, the card is wired to that ALSA device's sound card and the
// panel watches its mixer.
struct PanelWindow {
  explicit PanelWindow(const std::string& ini, tModel rigModel = mRadioTrack,
                       sim::StationLandscape landscape = {}, const std::string& soundDevice = {})
      : rig(rigModel, false, landscape), card(Wired(rig.Hardware(), soundDevice)) {
    if (!ini.empty()) WriteBytes(dir / "Ondivo.ini", ini);
    tMainServices s;
    s.Card = &card;
    s.Prompts = &prompts;
    s.ConfigDir = dir.Path();
    s.DataDir = std::filesystem::path(ONDIVO_DATA_DIR);
    // The answer goes through the dialog's own rules, as OK in the real dialog would.
    s.RunSetup = [this](QWidget*, const tConfiguration& current, TRadioCard& radio) {
      setupShown.push_back(current);
      std::optional<tSetupValues> answer;
      if (setupAnswer) answer = tSetupValues::FromPanel(*setupAnswer, radio, mixer);
      return answer;
    };
    s.RunJumpTo = [this](QWidget*, const TRadioCard&) {
      ++jumpShown;
      dialogOpenDuringJump = window->State().DialogOpen;
      return jumpAnswer;
    };
    s.RunExit = [this](QWidget*, bool yesEnabled) {
      exitShown.push_back(yesEnabled);
      return exitAnswer;
    };
    s.RunTips = [this](QWidget*, const std::filesystem::path& file) {
      tipsShown.push_back(file);
      return tipsAnswer;
    };
    s.Mixer = mixer;
    s.RunMixer = [this](QWidget*, const TRadioCard&) {
      ++mixerShown;
      dialogOpenDuringMixer = window->State().DialogOpen;
    };
    s.HardwareChanged = [this](tModel m) { rig.Follow(m); };
    s.Wait = [this](int ms) { waits.push_back(ms); };
    s.RunAskName = [this](QWidget*, const std::string& name) {
      askNameShown.push_back(name);
      dialogOpenDuringAskName = window->State().DialogOpen;
      std::optional<std::string> answer;
      if (!askNameAnswers.empty()) {
        answer = askNameAnswers.front();
        askNameAnswers.pop_front();
      }
      return answer;
    };
    s.RunAlarm = [this](QWidget*, const tAlarmSetting& shown, const PresetsBank&, const TRadioCard&,
                        int) {
      alarmShown.push_back(shown);
      return alarmAnswer;
    };
    s.RunSleep = [this](QWidget*, int minutes) {
      sleepShown.push_back(minutes);
      return sleepAnswer;
    };
    s.Tones = &tones;
    s.Time = &timeOfDay;
    s.Timers = &timers;
    window = std::make_unique<tdMain>(std::move(s));
  }

  bool Create() { return window->Create(); }
  // Lets posted events run, as the event loop would.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  std::string Ini() const { return ReadBytes(dir / "Ondivo.ini"); }

  CardHardware Wired(CardHardware hardware, const std::string& soundDevice) {
    if (!soundDevice.empty()) mixer = ConnectSoundCard(hardware, soundDevice);
    return hardware;
  }

  TempDir dir;
  sim::SimulatedRig rig;
  TMixer* mixer = nullptr;  // the card's, with a sound device
  TRadioCard card;
  ScriptedPrompter prompts;
  std::optional<tConfiguration> setupAnswer;
  std::vector<tConfiguration> setupShown;
  std::optional<tJumpTarget> jumpAnswer;
  int jumpShown = 0;
  int mixerShown = 0;
  bool dialogOpenDuringMixer = false;
  bool dialogOpenDuringJump = false;
  tExitAnswer exitAnswer = tExitAnswer::NotExit;
  std::vector<bool> exitShown;
  std::optional<bool> tipsAnswer;
  std::vector<std::filesystem::path> tipsShown;
  std::vector<int> waits;
  // Names typed into the ask-name dialog; Cancel when none is queued.
  std::deque<std::optional<std::string>> askNameAnswers;
  std::vector<std::string> askNameShown;  // the names it opened with
  bool dialogOpenDuringAskName = false;
  // The alarm and sleep dialogs' answers and what they opened with; the clocks and the tones.
  std::optional<tAlarmSetting> alarmAnswer;
  std::vector<tAlarmSetting> alarmShown;
  std::optional<int> sleepAnswer;
  std::vector<int> sleepShown;
  SetTimeOfDay timeOfDay;
  ManualClock timers;
  RecordingTone tones{timers};
  std::unique_ptr<tdMain> window;
};

// A configured RadioTrack on 30Ch with the volume on the card.
inline std::string RadioTrackIni(const std::string& more = "") {
  return "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n" + more;
}

}  // namespace ondivo::test
