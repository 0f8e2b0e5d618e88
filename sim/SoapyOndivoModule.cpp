// The emulated SDR as a real SoapySDR device (driver=ondivo): SoapySDR loads this module from
// SOAPY_SDR_PLUGIN_PATH, so tests and --simulate run the same SoapySDR path as a real stick.
// Arguments: cnr=DB (carrier-to-noise in 200 kHz, default 40), pace=0 to hand out samples as
// fast as they are asked for instead of at the sample rate (tests), rate=R to offer that one
// sample rate only, failafter=N to fail every
// read after N samples as an unplugged stick does (tests of the device guard). With
// file=PATH,format=cu8|cs16|cf32,rate=R,center=F it replays a capture instead, shifted so that
// tuning moves across the capture's window as it would across the air.
#include <SoapySDR/Device.hpp>
#include <SoapySDR/Formats.hpp>
#include <SoapySDR/Registry.hpp>
#include <SoapySDR/Version.hpp>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>
#include <numbers>
#include <stdexcept>
#include <thread>

#include "sim/EmulatedSdrSignal.h"
#include "sim/IqRecording.h"

namespace ondivo::sim {
namespace {

constexpr const char* kLabel = "Ondivo emulated SDR";
constexpr size_t kMtu = 16384;
const std::vector<double> kRates{250e3, 960e3, 1.024e6, 1.92e6, 2.048e6, 2.4e6};

double ArgOr(const SoapySDR::Kwargs& args, const char* key, double fallback) {
  const auto it = args.find(key);
  return it == args.end() ? fallback : std::stod(it->second);
}

double RequiredArg(const SoapySDR::Kwargs& args, const char* key) {
  const double value = ArgOr(args, key, 0);
  if (value <= 0) throw std::runtime_error(std::string("ondivo: a recording needs ") + key + "=");
  return value;
}

// Moves a capture made at one centre to another: a station at f lies at f - recorded in the
// capture and must lie at f - tuned.
class CaptureShift {
 public:
  void Set(double hz, double rate) { mStep = 2 * std::numbers::pi * hz / rate; }
  void Apply(std::complex<float>* x, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      x[i] *= std::complex<float>(std::polar(1.0, mPhase));
      mPhase = std::remainder(mPhase + mStep, 2 * std::numbers::pi);
    }
  }

 private:
  double mStep = 0, mPhase = 0;
};

struct OndivoStream {
  std::string Format;
  bool Active = false;
  std::chrono::steady_clock::time_point Start;
  uint64_t Delivered = 0;
  std::vector<std::complex<float>> Scratch;
};

class OndivoDevice : public SoapySDR::Device {
 public:
  explicit OndivoDevice(const SoapySDR::Kwargs& args)
      : mCarrierToNoiseDb(ArgOr(args, "cnr", 40)),
        mPace(ArgOr(args, "pace", 1) != 0),
        mFailAfter(static_cast<uint64_t>(ArgOr(args, "failafter", 0))) {
    if (const auto file = args.find("file"); file != args.end()) {
      const auto format = args.find("format");
      mRecording = std::make_unique<IqRecording>(
          file->second, IqRecording::ParseFormat(format == args.end() ? "cu8" : format->second));
      mRate = RequiredArg(args, "rate");
      mRecordedCentre = RequiredArg(args, "center");
      mRates = {mRate};
    } else if (args.count("rate") != 0) {  // the one rate offered, as a stick that has only it
      mRate = RequiredArg(args, "rate");
      mRates = {mRate};
    }
    Rebuild();
  }

  std::string getDriverKey() const override { return "ondivo"; }
  std::string getHardwareKey() const override { return "ondivo"; }
  size_t getNumChannels(const int direction) const override {
    return direction == SOAPY_SDR_RX ? 1 : 0;
  }
  std::vector<std::string> listAntennas(const int, const size_t) const override { return {"RX"}; }

  std::vector<std::string> getStreamFormats(const int, const size_t) const override {
    return {SOAPY_SDR_CF32, SOAPY_SDR_CS16};
  }
  std::string getNativeStreamFormat(const int, const size_t, double& fullScale) const override {
    fullScale = 32767;
    return SOAPY_SDR_CS16;
  }
  SoapySDR::Stream* setupStream(const int direction, const std::string& format,
                                const std::vector<size_t>& channels,
                                const SoapySDR::Kwargs&) override {
    if (direction != SOAPY_SDR_RX) throw std::runtime_error("ondivo: receive only");
    if (format != SOAPY_SDR_CF32 && format != SOAPY_SDR_CS16)
      throw std::runtime_error("ondivo: format " + format + " not offered");
    if (channels.size() > 1 || (channels.size() == 1 && channels[0] != 0))
      throw std::runtime_error("ondivo: one channel only");
    auto* stream = new OndivoStream;
    stream->Format = format;
    stream->Scratch.resize(kMtu);
    return reinterpret_cast<SoapySDR::Stream*>(stream);
  }
  void closeStream(SoapySDR::Stream* stream) override {
    delete reinterpret_cast<OndivoStream*>(stream);
  }
  size_t getStreamMTU(SoapySDR::Stream*) const override { return kMtu; }
  int activateStream(SoapySDR::Stream* handle, const int, const long long, const size_t) override {
    auto* stream = reinterpret_cast<OndivoStream*>(handle);
    stream->Active = true;
    stream->Start = std::chrono::steady_clock::now();
    stream->Delivered = 0;
    return 0;
  }
  int deactivateStream(SoapySDR::Stream* handle, const int, const long long) override {
    reinterpret_cast<OndivoStream*>(handle)->Active = false;
    return 0;
  }
  int readStream(SoapySDR::Stream* handle, void* const* buffs, const size_t numElems, int& flags,
                 long long& timeNs, const long) override {
    auto* stream = reinterpret_cast<OndivoStream*>(handle);
    if (!stream->Active) return SOAPY_SDR_STREAM_ERROR;
    size_t n = std::min(numElems, kMtu);
    if (mFailAfter != 0) {
      if (stream->Delivered >= mFailAfter) return SOAPY_SDR_STREAM_ERROR;
      n = std::min<size_t>(n, mFailAfter - stream->Delivered);
    }
    double rate = 0;
    {
      const std::lock_guard lock(mMutex);
      rate = mRate;
      if (mRecording) {
        mRecording->Read(stream->Scratch.data(), n);
        mShift.Apply(stream->Scratch.data(), n);
      } else {
        mSignal->Generate(stream->Scratch.data(), n);
      }
    }
    if (stream->Format == SOAPY_SDR_CF32) {
      std::copy_n(stream->Scratch.data(), n, static_cast<std::complex<float>*>(buffs[0]));
    } else {
      auto* out = static_cast<int16_t*>(buffs[0]);
      for (size_t i = 0; i < n; ++i) {
        out[2 * i] = ToCs16(stream->Scratch[i].real());
        out[2 * i + 1] = ToCs16(stream->Scratch[i].imag());
      }
    }
    stream->Delivered += n;
    const auto due = std::chrono::duration<double>(static_cast<double>(stream->Delivered) / rate);
    if (mPace)
      std::this_thread::sleep_until(
          stream->Start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(due));
    flags = SOAPY_SDR_HAS_TIME;
    timeNs = static_cast<long long>(due.count() * 1e9);
    return static_cast<int>(n);
  }

  void setFrequency(const int, const size_t, const double frequency,
                    const SoapySDR::Kwargs&) override {
    const std::lock_guard lock(mMutex);
    mSignal->Tune(frequency);
    mShift.Set(mRecordedCentre - frequency, mRate);
  }
  void setFrequency(const int direction, const size_t channel, const std::string&,
                    const double frequency, const SoapySDR::Kwargs& args) override {
    setFrequency(direction, channel, frequency, args);
  }
  double getFrequency(const int, const size_t) const override {
    const std::lock_guard lock(mMutex);
    return mSignal->Centre();
  }
  double getFrequency(const int direction, const size_t channel,
                      const std::string&) const override {
    return getFrequency(direction, channel);
  }
  std::vector<std::string> listFrequencies(const int, const size_t) const override {
    return {"RF"};
  }
  SoapySDR::RangeList getFrequencyRange(const int, const size_t) const override {
    return {SoapySDR::Range(24e6, 1766e6)};
  }
  SoapySDR::RangeList getFrequencyRange(const int, const size_t,
                                        const std::string&) const override {
    return {SoapySDR::Range(24e6, 1766e6)};
  }

  void setSampleRate(const int, const size_t, const double rate) override {
    if (std::find(mRates.begin(), mRates.end(), rate) == mRates.end())
      throw std::runtime_error("ondivo: sample rate not offered");
    const std::lock_guard lock(mMutex);
    mRate = rate;
    Rebuild();
  }
  double getSampleRate(const int, const size_t) const override {
    const std::lock_guard lock(mMutex);
    return mRate;
  }
  std::vector<double> listSampleRates(const int, const size_t) const override { return mRates; }
  SoapySDR::RangeList getSampleRateRange(const int, const size_t) const override {
    SoapySDR::RangeList ranges;
    for (double r : mRates) ranges.emplace_back(r, r);
    return ranges;
  }

  // The gain only has to be there to be set, as on a real stick; it changes nothing.
  std::vector<std::string> listGains(const int, const size_t) const override { return {"TUNER"}; }
  bool hasGainMode(const int, const size_t) const override { return true; }
  void setGainMode(const int, const size_t, const bool automatic) override { mAgc = automatic; }
  bool getGainMode(const int, const size_t) const override { return mAgc; }
  void setGain(const int, const size_t, const double value) override { mGain = value; }
  void setGain(const int, const size_t, const std::string&, const double value) override {
    mGain = value;
  }
  double getGain(const int, const size_t) const override { return mGain; }
  double getGain(const int, const size_t, const std::string&) const override { return mGain; }
  SoapySDR::Range getGainRange(const int, const size_t) const override { return {0, 49.6}; }
  SoapySDR::Range getGainRange(const int, const size_t, const std::string&) const override {
    return {0, 49.6};
  }

 private:
  static int16_t ToCs16(float x) {
    return static_cast<int16_t>(std::lround(std::clamp(x, -1.0f, 1.0f) * 32767.0f));
  }
  // Called with the mutex held (or before the device is shared).
  void Rebuild() {
    const double centre = mSignal ? mSignal->Centre() : 100e6;
    mSignal = std::make_unique<EmulatedSdrSignal>(mLandscape, mRate, mCarrierToNoiseDb);
    mSignal->Tune(centre);
    mShift.Set(mRecordedCentre - centre, mRate);
  }

  const StationLandscape mLandscape;
  const double mCarrierToNoiseDb;
  const bool mPace;
  const uint64_t mFailAfter;
  mutable std::mutex mMutex;
  double mRate = 2.048e6;
  std::vector<double> mRates = kRates;
  std::unique_ptr<IqRecording> mRecording;
  double mRecordedCentre = 0;
  CaptureShift mShift;
  std::unique_ptr<EmulatedSdrSignal> mSignal;
  bool mAgc = false;
  double mGain = 0;
};

SoapySDR::KwargsList FindOndivo(const SoapySDR::Kwargs& args) {
  if (const auto it = args.find("driver"); it != args.end() && it->second != "ondivo") return {};
  SoapySDR::Kwargs found{{"driver", "ondivo"}, {"label", kLabel}};
  for (const char* key : {"cnr", "pace", "failafter", "file", "format", "rate", "center"})
    if (const auto it = args.find(key); it != args.end()) found[key] = it->second;
  return {found};
}

SoapySDR::Device* MakeOndivo(const SoapySDR::Kwargs& args) {
  return new OndivoDevice(args);
}

const SoapySDR::Registry kRegistry("ondivo", &FindOndivo, &MakeOndivo, SOAPY_SDR_ABI_VERSION);

}  // namespace
}  // namespace ondivo::sim
