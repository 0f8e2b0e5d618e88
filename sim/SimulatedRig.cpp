#include "sim/SimulatedRig.h"

#include "sim/EmulatedRadioTrack.h"
#include "sim/EmulatedZoltrix.h"

namespace ondivo::sim {

SimulatedRig::SimulatedRig(tModel model, bool paced, StationLandscape landscape)
    : landscape_(landscape), bus_(paced ? &sleeping_ : nullptr) {
  radios_ = StartSerialRadios(model, landscape_, paths_);
  Follow(model);
}

SimulatedRig::~SimulatedRig() {
  for (auto& radio : radios_) radio->Stop();
}

CardHardware SimulatedRig::Hardware() {
  return CardHardware{bus_, bus_.Clock(), paths_};
}

void SimulatedRig::Follow(tModel model) {
  for (auto& radio : radios_) radio->SetModel(model);
  const bool zoltrix = model == mZoltrix;
  if (anyPlugged_ && zoltrix == zoltrixPlugged_) return;
  for (const uint16_t base : {uint16_t{0x30C}, uint16_t{0x20C}}) {
    if (zoltrix) {
      bus_.Plug(base, std::make_unique<EmulatedZoltrix>(landscape_));
    } else {
      bus_.Plug(base, std::make_unique<EmulatedRadioTrack>(landscape_));
    }
  }
  zoltrixPlugged_ = zoltrix;
  anyPlugged_ = true;
}

const EmulatedSoundCard& SimulatedRig::StartSoundCard() {
  if (!soundCard_) soundCard_ = StartEmulatedSoundCardInRuntimeFolder();
  return *soundCard_;
}

}  // namespace ondivo::sim
