// The sound-card mixer through the real ALSA library and the emulated card's plugin: what the
// panel pays at start-up and for one change that goes out and comes back as an event.
#include <benchmark/benchmark.h>
#include <poll.h>

#include "mixer/SoundCard.h"
#include "sim/EmulatedSoundCard.h"
#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

// Range 0: the state in the system temp folder (on disk here); 1: in /dev/shm (memory), as a
// runtime folder would be. Each write is flushed to disk, which dominates on a disk.
struct Card {
  explicit Card(int64_t inMemory)
      : dir(inMemory ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()),
        card(sim::StartEmulatedSoundCard(dir.Path())) {}
  test::TempDir dir;
  std::unique_ptr<sim::EmulatedSoundCard> card;
};

void BM_OpenMixer(benchmark::State& state) {
  Card card(state.range(0));
  for (auto _ : state) {
    auto mixer = OpenAlsaMixer(card.card->DeviceName());
    benchmark::DoNotOptimize(mixer.get());
  }
}
BENCHMARK(BM_OpenMixer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One handle writes; a second (the mixer dialog's, or another program's) waits on its
// descriptors for the report and takes it.
void BM_WriteAndChangeEventRoundTrip(benchmark::State& state) {
  Card card(state.range(0));
  auto writer = OpenAlsaMixer(card.card->DeviceName());
  auto listener = OpenAlsaMixer(card.card->DeviceName());
  int changes = 0;
  listener->OnControlChange = [&changes](TMixer&, tMixerControlType) { ++changes; };
  auto fds = listener->PollDescriptors();
  int32_t value = 0;
  for (auto _ : state) {
    value = value == 20 ? 10 : 20;
    writer->SetControlValue(mcLineInVolume, 0, value);
    const int before = changes;
    while (changes == before) {
      ::poll(fds.data(), fds.size(), 1000);
      listener->HandleEvents();
    }
  }
}
BENCHMARK(BM_WriteAndChangeEventRoundTrip)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ondivo

BENCHMARK_MAIN();
