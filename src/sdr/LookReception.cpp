#include "sdr/LookReception.h"

#include <vector>

#include "sdr/ChannelFilter.h"
#include "sdr/ChannelLevel.h"
#include "sdr/FmDiscriminator.h"
#include "sdr/FmReceiver.h"
#include "sdr/FrequencyShift.h"
#include "sdr/ReceptionState.h"

namespace ondivo::sdr {

namespace {
// The channel filter's start-up: its output means nothing before its taps have filled.
constexpr double kFilterSettleSeconds = 0.5e-3;
}  // namespace

tSignal LookReception(const Iq* iq, size_t n, double rate, double offsetHz) {
  std::vector<Iq> shifted(n);
  FrequencyShift(rate, offsetHz).Process(iq, n, shifted.data());
  ChannelLevel level(rate, kChannelWidthHz);
  level.Process(shifted.data(), n);
  if (!level.HasMeasurement()) return sNone;

  const double intermediate = FmReceiver::IntermediateRate(rate);
  ChannelFilter channel(rate, intermediate, kChannelWidthHz);
  std::vector<Iq> narrow(channel.MaxOutput(n));
  narrow.resize(channel.Process(shifted.data(), n, narrow.data()));
  std::vector<float> mpx(narrow.size());
  FmDiscriminator(intermediate, kPeakDeviationHz).Process(narrow.data(), narrow.size(), mpx.data());
  const auto skip = static_cast<size_t>(kFilterSettleSeconds * intermediate);
  if (mpx.size() <= skip) return sNone;
  double sum = 0;
  for (size_t i = skip; i < mpx.size(); ++i) sum += mpx[i];
  const double offset = sum / static_cast<double>(mpx.size() - skip) * kPeakDeviationHz;
  return ReceptionState(false, level.MarginDb(), offset);
}

}  // namespace ondivo::sdr
