// --simulate's kernel radio device: an emulated receiver where the card looks for port index 1.
#include "sim/EmulatedV4l2Radio.h"

namespace ondivo::sim {

PathExists UseSimulatedV4l2Radio(TRadioCard& card, const StationLandscape& landscape,
                                 RadioDevicePaths paths) {
  return PlugSimulatedV4l2Radio(card, landscape, std::move(paths), {}).Exists;
}

SimulatedV4l2Radio PlugSimulatedV4l2Radio(TRadioCard& card, const StationLandscape& landscape,
                                          RadioDevicePaths paths,
                                          EmulatedV4l2Radio::Options options) {
  options.Path = paths.PathFor(1);
  const std::string path = options.Path;
  auto radio = std::make_unique<EmulatedV4l2Radio>(landscape, std::move(options));
  SimulatedV4l2Radio plugged;
  plugged.Device = radio.get();
  card.SetRadioDevices(std::move(paths), std::move(radio));
  plugged.Exists = [path](const std::string& candidate) { return candidate == path; };
  return plugged;
}

}  // namespace ondivo::sim
