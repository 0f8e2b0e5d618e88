// The FM receiver from CS16 IQ at 2.4 Msps to 48 kHz stereo: the whole chain in multiples of
// real time on one core, each stage's share of it, and the latency from IQ in to sound out.
// Then the seek: one pass of a scan over the FM band through the card, on the emulated device
// delivering at its sample rate, in wall time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Delay.h"
#include "radio/PortIo.h"
#include "radio/RadioCard.h"
#include "sdr/FmReceiver.h"
#include "sdr/IqFormat.h"
#include "sim/EmulatedSoundCard.h"
#include "sim/RdsGenerator.h"
#include "sim/SimulatedSdr.h"
#include "tests/support/FmStationSynth.h"
#include "tests/support/TempDir.h"

namespace ondivo::sdr {
namespace {

constexpr double kIqRate = 2.4e6;
constexpr double kOffset = 250e3;
constexpr double kSeconds = 0.5;
constexpr size_t kBlock = 16384;  // what a typical device read hands over (6.8 ms)

// Every stage's input, made once by running the stages over the whole signal.
struct Signals {
  std::vector<int16_t> Cs16;
  std::vector<Iq> Wide, Shifted, Channel, Carrier57;
  std::vector<float> Mpx, Reference, Difference, Left, Right, AudioLeft, AudioRight;
  double IntermediateRate;

  Signals() : IntermediateRate(FmReceiver::IntermediateRate(kIqRate)) {
    const auto rds =
        std::make_shared<sim::RdsGenerator>(sim::RdsStation{0xD2A5, "ONDIVO 1", "Bench"});
    const auto iq = test::SynthesizeIq({.OffsetHz = kOffset,
                                        .CarrierToNoiseDb = 30,
                                        .RdsBit = [rds](uint64_t n) { return rds->BitAt(n); }},
                                       kIqRate, kSeconds);
    for (const auto& v : iq) {  // at -6 dBFS, as a device's gain control would leave it
      Cs16.push_back(static_cast<int16_t>(std::lround(v.real() * 16384)));
      Cs16.push_back(static_cast<int16_t>(std::lround(v.imag() * 16384)));
    }
    const size_t n = iq.size();
    Wide.resize(n);
    Cs16ToIq(Cs16.data(), n, Wide.data());
    Shifted.resize(n);
    FrequencyShift(kIqRate, kOffset).Process(Wide.data(), n, Shifted.data());
    ChannelFilter channel(kIqRate, IntermediateRate, kChannelWidthHz);
    Channel.resize(channel.MaxOutput(n));
    Channel.resize(channel.Process(Shifted.data(), n, Channel.data()));
    const size_t m = Channel.size();
    for (auto* v : {&Mpx, &Reference, &Difference, &Left, &Right}) v->resize(m);
    FmDiscriminator(IntermediateRate, kPeakDeviationHz).Process(Channel.data(), m, Mpx.data());
    Carrier57.resize(m);
    PilotPll(IntermediateRate).Process(Mpx.data(), m, Reference.data(), Carrier57.data());
    DifferenceDemodulator(IntermediateRate, 1.0)
        .Process(Mpx.data(), Reference.data(), m, Difference.data());
    StereoMatrix matrix(IntermediateRate);
    matrix.SetStereo(true);
    matrix.Process(Mpx.data(), Difference.data(), m, Left.data(), Right.data());
    AudioResampler resampler(IntermediateRate, 48000);
    AudioLeft.resize(resampler.MaxOutput(m));
    AudioRight.resize(AudioLeft.size());
    const size_t frames =
        resampler.Process(Left.data(), Right.data(), m, AudioLeft.data(), AudioRight.data());
    AudioLeft.resize(frames);
    AudioRight.resize(frames);
  }
};

const Signals& Input() {
  static const Signals signals;
  return signals;
}

// Runs body(start, count) over the signal in device-sized blocks of IQ (scaled to the
// stage's own rate), and reports seconds of signal per second of CPU: multiples of real time.
template <typename Body>
void OverBlocks(benchmark::State& state, size_t length, Body body) {
  const size_t block = std::max<size_t>(1, kBlock * length / Input().Wide.size());
  for (auto _ : state)
    for (size_t start = 0; start < length; start += block)
      body(start, std::min(block, length - start));
  state.counters["x_realtime"] =
      benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Chain(benchmark::State& state) {
  const auto& in = Input();
  FmReceiver receiver({.IqRate = kIqRate, .StationOffsetHz = kOffset, .MaxBlock = kBlock});
  std::vector<Iq> iq(kBlock);
  std::vector<float> frames(receiver.MaxFrames() * 2);
  OverBlocks(state, in.Wide.size(), [&](size_t start, size_t n) {
    Cs16ToIq(in.Cs16.data() + 2 * start, n, iq.data());
    benchmark::DoNotOptimize(receiver.Process(iq.data(), n, frames.data()));
  });
}
BENCHMARK(BM_Chain)->Unit(benchmark::kMillisecond);

void BM_Stage_Cs16ToIq(benchmark::State& state) {
  const auto& in = Input();
  std::vector<Iq> out(kBlock);
  OverBlocks(state, in.Wide.size(),
             [&](size_t s, size_t n) { Cs16ToIq(in.Cs16.data() + 2 * s, n, out.data()); });
}
void BM_Stage_FrequencyShift(benchmark::State& state) {
  const auto& in = Input();
  FrequencyShift shift(kIqRate, kOffset);
  std::vector<Iq> out(kBlock);
  OverBlocks(state, in.Wide.size(),
             [&](size_t s, size_t n) { shift.Process(in.Wide.data() + s, n, out.data()); });
}
void BM_Stage_ChannelLevel(benchmark::State& state) {
  const auto& in = Input();
  ChannelLevel level(kIqRate, kChannelWidthHz);
  OverBlocks(state, in.Wide.size(),
             [&](size_t s, size_t n) { level.Process(in.Shifted.data() + s, n); });
}
void BM_Stage_ChannelFilter(benchmark::State& state) {
  const auto& in = Input();
  ChannelFilter channel(kIqRate, in.IntermediateRate, kChannelWidthHz);
  std::vector<Iq> out(channel.MaxOutput(kBlock));
  OverBlocks(state, in.Wide.size(),
             [&](size_t s, size_t n) { channel.Process(in.Shifted.data() + s, n, out.data()); });
}
void BM_Stage_FmDiscriminator(benchmark::State& state) {
  const auto& in = Input();
  FmDiscriminator discriminator(in.IntermediateRate, kPeakDeviationHz);
  std::vector<float> out(in.Channel.size());
  OverBlocks(state, in.Channel.size(), [&](size_t s, size_t n) {
    discriminator.Process(in.Channel.data() + s, n, out.data());
  });
}
void BM_Stage_PilotPll(benchmark::State& state) {
  const auto& in = Input();
  PilotPll pll(in.IntermediateRate);
  std::vector<float> out(in.Mpx.size());
  OverBlocks(state, in.Mpx.size(),
             [&](size_t s, size_t n) { pll.Process(in.Mpx.data() + s, n, out.data()); });
}
void BM_Stage_Rds(benchmark::State& state) {
  const auto& in = Input();
  RdsReceiver rds(in.IntermediateRate, in.Mpx.size());
  OverBlocks(state, in.Mpx.size(), [&](size_t s, size_t n) {
    benchmark::DoNotOptimize(rds.Process(in.Mpx.data() + s, in.Carrier57.data() + s, n).size());
  });
}
void BM_Stage_DifferenceDemodulator(benchmark::State& state) {
  const auto& in = Input();
  DifferenceDemodulator demodulator(in.IntermediateRate, 0.96);
  std::vector<float> out(in.Mpx.size());
  OverBlocks(state, in.Mpx.size(), [&](size_t s, size_t n) {
    demodulator.Process(in.Mpx.data() + s, in.Reference.data() + s, n, out.data());
  });
}
void BM_Stage_StereoMatrix(benchmark::State& state) {
  const auto& in = Input();
  StereoMatrix matrix(in.IntermediateRate);
  matrix.SetStereo(true);
  std::vector<float> left(in.Mpx.size()), right(in.Mpx.size());
  OverBlocks(state, in.Mpx.size(), [&](size_t s, size_t n) {
    matrix.Process(in.Mpx.data() + s, in.Difference.data() + s, n, left.data(), right.data());
  });
}
void BM_Stage_Deemphasis(benchmark::State& state) {
  const auto& in = Input();
  Deemphasis deemphasis(in.IntermediateRate, kDeemphasisEurope);
  std::vector<float> left(in.Left), right(in.Right);
  OverBlocks(state, in.Left.size(),
             [&](size_t s, size_t n) { deemphasis.Process(left.data() + s, right.data() + s, n); });
}
void BM_Stage_AudioResampler(benchmark::State& state) {
  const auto& in = Input();
  AudioResampler resampler(in.IntermediateRate, 48000);
  std::vector<float> left(resampler.MaxOutput(in.Left.size())), right(left.size());
  OverBlocks(state, in.Left.size(), [&](size_t s, size_t n) {
    resampler.Process(in.Left.data() + s, in.Right.data() + s, n, left.data(), right.data());
  });
}
void BM_Stage_Volume(benchmark::State& state) {
  const auto& in = Input();
  Volume volume(48000);
  std::vector<float> frames(2 * in.AudioLeft.size());
  OverBlocks(state, in.AudioLeft.size(), [&](size_t s, size_t n) {
    volume.Process(in.AudioLeft.data() + s, in.AudioRight.data() + s, n, frames.data());
  });
}
BENCHMARK(BM_Stage_Cs16ToIq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_FrequencyShift)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_ChannelLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_ChannelFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_FmDiscriminator)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_PilotPll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_Rds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_DifferenceDemodulator)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_StereoMatrix)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_Deemphasis)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_AudioResampler)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage_Volume)->Unit(benchmark::kMillisecond);

// Latency: a tone switched on at a known instant, through the receiver in device blocks; from
// the end of the block that carried the onset (the earliest it can be processed) to the
// output frame where the tone reaches half its level.
void BM_Latency(benchmark::State& state) {
  constexpr double kOnset = 0.1;
  test::FmStation station{
      .OffsetHz = kOffset, .LeftAmplitude = 0, .RightAmplitude = 0, .CarrierToNoiseDb = 40};
  auto iq = test::SynthesizeIq(station, kIqRate, kOnset);
  station.LeftAmplitude = station.RightAmplitude = 1;
  const auto tone = test::SynthesizeIq(station, kIqRate, 0.1);
  // Continue the carrier's phase: the tone's synthesis starts at phase 0.
  const Iq join = iq.back() / std::abs(iq.back());
  for (const auto& v : tone) iq.push_back(v * join);
  double latency = 0;
  for (auto _ : state) {
    FmReceiver receiver({.IqRate = kIqRate, .StationOffsetHz = kOffset, .MaxBlock = kBlock});
    std::vector<float> frames(receiver.MaxFrames() * 2), left;
    for (size_t start = 0; start + kBlock <= iq.size(); start += kBlock) {
      const size_t got = receiver.Process(iq.data() + start, kBlock, frames.data());
      for (size_t i = 0; i < got; ++i) left.push_back(frames[2 * i]);
    }
    size_t first = 0;
    while (first < left.size() && std::abs(left[first]) < 0.45f) ++first;
    const double onsetBlockEnd = std::ceil(kOnset * kIqRate / kBlock) * kBlock / kIqRate;
    latency = first / 48000.0 - onsetBlockEnd + kBlock / kIqRate;
  }
  state.counters["latency_ms"] = latency * 1000;
}
BENCHMARK(BM_Latency)->Unit(benchmark::kMillisecond)->Iterations(1);

// A scan from 87.0 MHz up to the top of the band, a seek step at a time as the panel's scan
// takes them, on the emulated device at 2.4 Msps (paced as a real stick delivers). Reports the
// stops, so a faster pass that misses stations shows.
void BM_SeekPass(benchmark::State& state) {
  sim::FindEmulatedSdr();
  const auto soundCard = sim::StartEmulatedSoundCardInRuntimeFolder();
  NullPortIo ports;
  SleepingDelay waits;
  TRadioCard card{CardHardware{.Ports = ports, .Waits = waits, .SoundCard = true}};
  SdrDevices devices;
  devices.Override(1, "driver=ondivo,rate=2.4e6");
  card.SetSdrDevices(devices);
  card.SetModel(mSdr);
  card.SetPort(1);
  card.SwitchOn();
  int stops = 0, steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    card.SetFrequency(87.0);
    stops = steps = 0;
    state.ResumeTiming();
    while (card.Frequency() < card.BandMax() && steps < 200) {
      ++steps;
      stops += card.SeekStep(true);
    }
  }
  card.SwitchOff();
  state.counters["stops"] = stops;
  state.counters["steps"] = steps;
}
BENCHMARK(BM_SeekPass)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The panel's scan over a band with no station at all (a noise capture replayed wherever the
// device is tuned): each step is a seek and then the reception the display shows, as the
// panel's scan step takes them.
void BM_EmptyBandScan(benchmark::State& state) {
  sim::FindEmulatedSdr();
  const auto soundCard = sim::StartEmulatedSoundCardInRuntimeFolder();
  const test::TempDir dir;
  test::WriteBytes(dir / "noise.cu8", test::NoiseCaptureCu8());
  NullPortIo ports;
  SleepingDelay waits;
  TRadioCard card{CardHardware{.Ports = ports, .Waits = waits, .SoundCard = true}};
  SdrDevices devices;
  devices.Override(1, "driver=ondivo,file=" + (dir / "noise.cu8").string() +
                          ",format=cu8,rate=2.4e6,center=97.5e6");
  card.SetSdrDevices(devices);
  card.SetModel(mSdr);
  card.SetPort(1);
  card.SwitchOn();
  int steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    card.SetFrequency(87.0);
    steps = 0;
    state.ResumeTiming();
    while (card.Frequency() < card.BandMax() && steps < 200) {
      ++steps;
      card.SeekStep(true);
      benchmark::DoNotOptimize(card.GetSignal());
    }
  }
  card.SwitchOff();
  state.counters["steps"] = steps;
}
BENCHMARK(BM_EmptyBandScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Prints each stage's share of the chain's time after the usual report.
class ShareReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs)
      if (run.run_type == Run::RT_Iteration)
        mTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto chain = mTimes.find("BM_Chain");
    if (chain == mTimes.end()) return;
    std::printf("\nchain: %.1fx real time (%.2f %% of a core)\n", kSeconds * 1000 / chain->second,
                chain->second / (kSeconds * 10));
    for (const auto& [name, time] : mTimes)
      if (name.rfind("BM_Stage_", 0) == 0)
        std::printf("  %-24s %5.1f %% of the chain\n", name.c_str() + 9,
                    100 * time / chain->second);
  }

 private:
  std::map<std::string, double> mTimes;
};

}  // namespace
}  // namespace ondivo::sdr

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  ondivo::sdr::ShareReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}
