#pragma once

#include <cstdint>
#include <memory>

#include "radio/PortIo.h"
#include "radio/RadioCard.h"
#include "sim/EmulatedV4l2Radio.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/PtyPair.h"

namespace ondivo::test {

// A card of the V4L2 model switched on at port index 1 (/dev/radio0), where an emulated radio
// device answers; its RDS runs on a clock the test advances. With a mixer, a sound card whose
// line in has volume and mute controls.
class V4l2Rig {
 public:
  struct Setup {
    sim::EmulatedV4l2Radio::Options Device;
    bool Mixer = false;
    tVolumeLine Line = vlNative;
    sim::StationLandscape Landscape;
  };

  TRadioCard& Build(Setup setup) {
    setup.Device.NowMs = [this] { return NowMs; };
    auto device = std::make_unique<sim::EmulatedV4l2Radio>(setup.Landscape, setup.Device);
    Device = device.get();
    CardHardware hardware;
    hardware.Ports = &ports_;
    hardware.Waits = &delay_;
    hardware.RadioDevice = std::move(device);
    Mixer = nullptr;
    if (setup.Mixer) {
      auto fake = std::make_unique<FakeMixer>();
      fake->controls[mcLineInVolume] = {};
      fake->controls[mcLineInMute] = {0, 1, {1, 1}};
      Mixer = fake.get();
      hardware.SoundCard = true;
      hardware.Mixer = std::move(fake);
    }
    Card = std::make_unique<TRadioCard>(std::move(hardware));
    Card->SetModel(mV4l2);
    Card->SetPort(1);
    Card->SetVolumeLine(setup.Line);
    Card->SwitchOn();
    return *Card;
  }
  TRadioCard& Build() { return Build(Setup()); }

  int64_t NowMs = 1000;
  sim::EmulatedV4l2Radio* Device = nullptr;
  FakeMixer* Mixer = nullptr;
  std::unique_ptr<TRadioCard> Card;

 private:
  class NoPorts final : public PortIo {
   public:
    void PortOut(uint16_t, uint8_t) override {}
    uint8_t PortIn(uint16_t) override { return 0xFF; }
  };
  NoPorts ports_;
  RecordingDelay delay_;
};

}  // namespace ondivo::test
