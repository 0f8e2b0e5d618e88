// RDS decoding and the V4L2 card path on the emulated device: what one notifier wake-up and
// one scan step cost on the panel's thread.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/Delay.h"
#include "radio/PortIo.h"
#include "radio/RadioCard.h"
#include "radio/RdsDecoder.h"
#include "sim/EmulatedV4l2Radio.h"
#include "sim/RdsGenerator.h"

namespace ondivo {
namespace {

class NoPorts final : public PortIo {
 public:
  void PortOut(uint16_t, uint8_t) override {}
  uint8_t PortIn(uint16_t) override { return 0xFF; }
};
class NoWaits final : public Delay {
 public:
  void Wait(int) override {}
};

void BM_RdsDecodeBlocks(benchmark::State& state) {
  const sim::RdsGenerator stream({0xD123, "JAZZ FM ", "Now playing: Blue in Green, Miles Davis"});
  std::vector<sim::RdsBlock> blocks;
  for (uint64_t n = 0; n < 4096; ++n) blocks.push_back(stream.BlockAt(n));
  for (auto _ : state) {
    RdsDecoder decoder;
    for (const auto& b : blocks) decoder.Feed(b.Lsb, b.Msb, b.Block);
    benchmark::DoNotOptimize(decoder.ProgramService());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(blocks.size()));
}
BENCHMARK(BM_RdsDecodeBlocks);

struct CardOnEmulatedDevice {
  NoPorts ports;
  NoWaits waits;
  int64_t now = 0;
  std::unique_ptr<TRadioCard> card;
  CardOnEmulatedDevice() {
    card = std::make_unique<TRadioCard>(CardHardware{ports, waits});
    sim::EmulatedV4l2Radio::Options options;
    options.NowMs = [this] { return now; };
    card->SetRadioDevices(
        {}, std::make_unique<sim::EmulatedV4l2Radio>(sim::StationLandscape(), options));
    card->SetModel(mV4l2);
    card->SetPort(1);
    card->SwitchOn();
  }
};

// One wake-up of the RDS notifier after 100 ms of broadcast (about 4.6 blocks).
void BM_V4l2HandleRdsEvents(benchmark::State& state) {
  CardOnEmulatedDevice rig;
  rig.card->SetFrequency(97.1);
  for (auto _ : state) {
    rig.now += 100;
    benchmark::DoNotOptimize(rig.card->HandleRdsEvents());
  }
}
BENCHMARK(BM_V4l2HandleRdsEvents);

// A whole hardware scan up the FM band, station by station.
void BM_V4l2HardwareScanOfTheBand(benchmark::State& state) {
  CardOnEmulatedDevice rig;
  int stations = 0;
  for (auto _ : state) {
    rig.card->SetFrequency(87.5);
    stations = 0;
    while (rig.card->Frequency() < rig.card->BandMax()) stations += rig.card->SeekStep(true);
  }
  state.counters["stations"] = stations;
}
BENCHMARK(BM_V4l2HardwareScanOfTheBand);

}  // namespace
}  // namespace ondivo

BENCHMARK_MAIN();
