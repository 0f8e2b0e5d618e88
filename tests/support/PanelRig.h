#pragma once

#include <filesystem>
#include <string>

#include "panel/ConfigurationFile.h"
#include "panel/ConfigurationKeys.h"
#include "panel/PanelModel.h"
#include "panel/PanelState.h"
#include "platform/IniFile.h"
#include "platform/LocaleFormat.h"
#include "radio/RadioCard.h"
#include "sim/SimulatedRig.h"
#include "stations/PresetsBank.h"
#include "tests/support/TempDir.h"

namespace ondivo::test {

// No station anywhere: every tune answers "?????".
inline sim::StationLandscape SilentLandscape() {
  return sim::StationLandscape(std::span<const sim::LandscapeStation>{});
}

// The panel model on emulated hardware with free time: a card of the given model switched on
// at its default port, an empty bank, default settings.
struct PanelRig {
  explicit PanelRig(tModel model, sim::StationLandscape landscape = {})
      : rig(model, false, landscape), card(rig.Hardware()) {
    card.SetModel(model);
    card.SetPort(card.GetDevCap(model).DefaultPort);
    card.SetVolumeLine(vlNative);
    card.SwitchOn();
    state.StereoSwitch = card.Stereo();
    model_.ApplyTuneStepSetting(1);
  }

  // Reads an Ondivo.ini written from text, as the panel does at start.
  void LoadIni(const std::string& text) {
    WriteBytes(dir / "Ondivo.ini", text);
    IniFile ini(dir / "Ondivo.ini");
    LoadConfiguration(ini, locale, settings, bank);
  }

  PanelModel& Model() { return model_; }

  TempDir dir;
  sim::SimulatedRig rig;
  TRadioCard card;
  PresetsBank bank;
  tConfiguration settings;
  tPanelState state;
  LocaleFormat locale;

 private:
  PanelModel model_{card, bank, settings, state, locale};
};

}  // namespace ondivo::test
