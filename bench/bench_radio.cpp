// Software cost of tuning and querying through the emulated ISA bus, with waits costing
// nothing: what the program adds on top of the ~100 bus cycles a real tuning takes.
#include <benchmark/benchmark.h>

#include "radio/RadioCard.h"
#include "sim/EmulatedIsaBus.h"
#include "sim/EmulatedRadioTrack.h"
#include "sim/EmulatedZoltrix.h"

namespace ondivo {
namespace {

template <typename Emulated>
void TuneAndQuery(benchmark::State& state, tModel model, double step) {
  sim::StationLandscape landscape;
  sim::EmulatedIsaBus bus;
  bus.Plug(0x30C, std::make_unique<Emulated>(landscape));
  TRadioCard card(CardHardware{bus, bus.Clock()});
  card.SetModel(model);
  card.SetPort(1);
  card.SetVolumeLine(vlNative);
  card.SwitchOn();
  const int points = static_cast<int>((108.0 - 87.0) / step + 0.5) + 1;
  int n = 0;
  uint64_t accesses = bus.Accesses();
  for (auto _ : state) {
    card.SetFrequency(87.0 + step * n);
    benchmark::DoNotOptimize(card.GetSignal());
    n = (n + 1) % points;
  }
  state.counters["bus_accesses_per_tune"] = benchmark::Counter(
      static_cast<double>(bus.Accesses() - accesses), benchmark::Counter::kAvgIterations);
}

void BM_RadioTrackTuneAndSignal(benchmark::State& state) {
  TuneAndQuery<sim::EmulatedRadioTrack>(state, mRadioTrack, 0.025);
}
void BM_ZoltrixTuneAndSignal(benchmark::State& state) {
  TuneAndQuery<sim::EmulatedZoltrix>(state, mZoltrix, 0.005);
}

BENCHMARK(BM_RadioTrackTuneAndSignal);
BENCHMARK(BM_ZoltrixTuneAndSignal);

}  // namespace
}  // namespace ondivo

BENCHMARK_MAIN();
