#pragma once
// The panel's wiring as a test on emulated hardware gives it: no port grant, no waits, the
// settings in the test's folder, the help pages and tips from the source tree, and the
// emulated bus following the card model the settings choose.
#include <filesystem>

#include "app/PanelWiring.h"
#include "sim/SimulatedRig.h"

namespace ondivo::test {

inline tPanelWiring EmulatedPanelWiring(TRadioCard& card, Prompter& prompts,
                                        const std::filesystem::path& configDir,
                                        sim::SimulatedRig* rig = nullptr) {
  tPanelWiring wiring;
  wiring.Card = &card;
  wiring.Prompts = &prompts;
  wiring.ConfigDir = configDir;
#ifdef ONDIVO_DATA_DIR
  wiring.DataDir = ONDIVO_DATA_DIR;
#endif
  wiring.PortGrantNeeded = false;
  if (rig) wiring.HardwareChanged = [rig](tModel model) { rig->Follow(model); };
  wiring.Wait = [](int) {};
  return wiring;
}

}  // namespace ondivo::test
