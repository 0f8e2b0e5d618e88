#include "sdr/SoapyIqSource.h"

#include <SoapySDR/Device.hpp>
#include <SoapySDR/Errors.hpp>
#include <SoapySDR/Formats.hpp>
#include <algorithm>

namespace ondivo::sdr {

namespace {
constexpr double kMinRate = 1e6, kMaxRate = 2.4e6;
constexpr long kReadTimeoutUs = 200000;
// A device that hands out nothing for this long is taken as gone.
constexpr int kTimeoutsBeforeFailure = 10;
}  // namespace

double SoapyIqSource::ChooseRate(const std::vector<double>& offered) {
  double best = 0;
  for (double r : offered)
    if (r >= kMinRate && r <= kMaxRate && r > best) best = r;
  return best;
}

SoapyIqSource::SoapyIqSource(const std::string& args) {
  try {
    mDevice = SoapySDR::Device::make(args);
    mRate = ChooseRate(mDevice->listSampleRates(SOAPY_SDR_RX, 0));
    if (mRate == 0) {
      // Devices with continuous ranges may list nothing: take the widest a range allows.
      for (const SoapySDR::Range& range : mDevice->getSampleRateRange(SOAPY_SDR_RX, 0))
        if (range.minimum() <= kMaxRate && range.maximum() >= kMinRate)
          mRate = std::max(mRate, std::min(range.maximum(), kMaxRate));
    }
    if (mRate == 0) throw std::runtime_error("it offers no sample rate between 1 and 2.4 Msps");
    mDevice->setSampleRate(SOAPY_SDR_RX, 0, mRate);
    if (mDevice->hasGainMode(SOAPY_SDR_RX, 0)) {
      mDevice->setGainMode(SOAPY_SDR_RX, 0, true);
    } else {
      const SoapySDR::Range gain = mDevice->getGainRange(SOAPY_SDR_RX, 0);
      mDevice->setGain(SOAPY_SDR_RX, 0, gain.minimum() + 0.7 * (gain.maximum() - gain.minimum()));
    }
    mStream = mDevice->setupStream(SOAPY_SDR_RX, SOAPY_SDR_CF32);
    if (const int rc = mDevice->activateStream(mStream); rc != 0)
      throw std::runtime_error(SoapySDR::errToStr(rc));
  } catch (const std::exception& e) {
    Close();
    throw eIqSource("The SDR device \"" + args + "\" cannot be opened: " + e.what());
  }
}

SoapyIqSource::~SoapyIqSource() {
  Close();
}

void SoapyIqSource::Close() {
  if (mDevice && mStream) {
    mDevice->deactivateStream(mStream);
    mDevice->closeStream(mStream);
  }
  mStream = nullptr;
  if (mDevice) SoapySDR::Device::unmake(mDevice);
  mDevice = nullptr;
}

void SoapyIqSource::TuneStation(double hz) {
  mDevice->setFrequency(SOAPY_SDR_RX, 0, hz - kStationOffsetHz);
}

size_t SoapyIqSource::Read(Iq* out, size_t max) {
  void* const buffs[] = {out};
  for (int timeouts = 0;;) {
    int flags = 0;
    long long timeNs = 0;
    const int n = mDevice->readStream(mStream, buffs, max, flags, timeNs, kReadTimeoutUs);
    if (n > 0) return static_cast<size_t>(n);
    // An overflow lost samples but the stream goes on; the receiver rides over the gap.
    if (n == SOAPY_SDR_OVERFLOW) continue;
    if ((n == SOAPY_SDR_TIMEOUT || n == 0) && ++timeouts < kTimeoutsBeforeFailure) continue;
    throw eIqSource(std::string("The SDR device stopped delivering samples: ") +
                    (n == 0 ? "no samples" : SoapySDR::errToStr(n)));
  }
}

}  // namespace ondivo::sdr
