#include "sdr/SdrProtocol.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "audio/AlsaAudioSink.h"
#include "audio/AudioPlayback.h"
#include "audio/FrameRing.h"
#include "radio/DeviceMessages.h"
#include "radio/RadioErrors.h"
#include "sdr/LookReception.h"
#include "sdr/ReceiverThread.h"
#include "sdr/ReceptionState.h"
#include "sdr/SoapyIqSource.h"

namespace ondivo {

namespace {
constexpr unsigned kAudioRate = 48000;
constexpr size_t kRingFrames = kAudioRate / 2;
constexpr size_t kTargetFill = kAudioRate / 10;  // 100 ms between receiver and sound card
// The receiver tells the state 120 ms of samples after a retune. A device that delivers nothing
// for the first time has stalled; a measurement never takes longer than the second, however
// slowly the samples come.
constexpr auto kStallWait = std::chrono::milliseconds(400);
constexpr auto kMeasureLimit = std::chrono::seconds(5);
constexpr auto kMeasurePoll = std::chrono::milliseconds(2);
}  // namespace

struct SdrProtocol::Running {
  Running(const std::string& args, const std::string& audioDevice)
      : source(args),
        ring(kRingFrames, 2),
        sink(audioDevice),
        playback(ring, sink, kAudioRate, kTargetFill),
        receiver(source, ring,
                 {.StationOffsetHz = sdr::SoapyIqSource::kStationOffsetHz, .MaxBlock = 16384},
                 kTargetFill) {}
  sdr::SoapyIqSource source;
  FrameRing ring;
  AlsaAudioSink sink;
  AudioPlayback playback;
  sdr::ReceiverThread receiver;
};

SdrProtocol::SdrProtocol(const SdrDevices& devices) : devices_(devices) {}

SdrProtocol::~SdrProtocol() = default;

void SdrProtocol::Close() {
  if (!running_) return;
  if (OnClosing) OnClosing();
  running_->receiver.SetMute(true);
  running_->receiver.Stop();
  running_->playback.Stop();
  running_.reset();
  rds_.Reset();
  spectrum_ = {};
  lookIq_.clear();
  trail_.Valid = false;
  emptyLook_ = false;
}

void SdrProtocol::SwitchOn(CardState& state) {
  Close();
  failure_.clear();
  const std::string args = devices_.ArgsFor(state.Port);
  if (args.empty()) {
    failure_ = "No SDR device was found at port " + std::to_string(state.Port) + ".";
    throw ePortAlreayOpen();
  }
  try {
    running_ = std::make_unique<Running>(args, devices_.AudioDevice);
    running_->playback.Start();
  } catch (const std::exception& e) {
    running_.reset();
    failure_ = e.what();
    throw ePortAlreayOpen();
  }
  state.Muted = state.StartMuted;
  ApplyVolume(state);
  running_->receiver.SetStereoAllowed(state.Stereo);
  running_->receiver.Start();
}

void SdrProtocol::SwitchOff(CardState& state) {
  Close();
  state.Muted = true;
}

void SdrProtocol::Guard() {
  if (!running_ || running_->receiver.Failure().empty()) return;
  Close();
  throw eDeviceLost();
}

void SdrProtocol::Tune(CardState& state, tBand, double frequency) {
  Guard();
  trail_.Valid = false;
  TuneReceiver(state, frequency);
}

void SdrProtocol::TuneReceiver(CardState& state, double frequency) {
  if (!running_) return;
  running_->receiver.SetStereoAllowed(state.Stereo);
  running_->source.TuneStation(frequency * 1e6);
  // What was in flight from the old frequency is dropped and the channel measured afresh.
  running_->receiver.Tune(sdr::SoapyIqSource::kStationOffsetHz);
  rds_.Reset();
  emptyLook_ = false;
}

int SdrProtocol::RdsDescriptor() const {
  return running_ ? running_->receiver.RdsDescriptor() : -1;
}

bool SdrProtocol::HandleRdsEvents() {
  Guard();
  if (!running_) return false;
  RdsBlock blocks[64];
  bool changed = false;
  while (const size_t n = running_->receiver.TakeRds(blocks, std::size(blocks))) {
    for (size_t i = 0; i < n; ++i)
      changed = rds_.Feed(blocks[i].Lsb, blocks[i].Msb, blocks[i].Block) || changed;
    if (n < std::size(blocks)) break;
  }
  return changed;
}

tSignal SdrProtocol::GetSignal(CardState& state) {
  Guard();
  if (!running_) return sNone;
  // Where a seek's look saw no station, measuring again would only cost the scan a pause.
  if (emptyLook_) return sNone;
  // The measurement takes a fixed amount of signal, not of time: wait as long as samples keep
  // coming (a loaded machine may be slow), and give up only on a device that has stalled.
  auto blocks = running_->receiver.BlocksRead();
  auto stalledAt = std::chrono::steady_clock::now() + kStallWait;
  const auto limit = std::chrono::steady_clock::now() + kMeasureLimit;
  for (;;) {
    if (const auto reception = running_->receiver.Reception()) {
      // Forced mono plays mono, whatever the station sends.
      return *reception == sStereo && !state.Stereo ? sMono : *reception;
    }
    const auto now = std::chrono::steady_clock::now();
    // Until the first block the stream is still starting, which takes a while on a busy
    // machine: only the overall limit applies then.
    if (const auto read = running_->receiver.BlocksRead(); read != blocks || read == 0) {
      blocks = read;
      stalledAt = now + kStallWait;
    }
    if (now >= stalledAt || now >= limit) return sNone;
    std::this_thread::sleep_for(kMeasurePoll);
    Guard();
    if (!running_) return sNone;
  }
}

void SdrProtocol::ApplyVolume(CardState& state) {
  if (!running_) return;
  // Software gain on the 0..256 scale, heard loudness roughly even per step.
  const float level = static_cast<float>(std::clamp(state.Volume, 0, 256)) / 256.0f;
  running_->receiver.SetGain(level * level);
  running_->receiver.SetMute(state.Muted);
}

void SdrProtocol::Mute(CardState& state) {
  Guard();
  state.Muted = true;
  ApplyVolume(state);
}

void SdrProtocol::Unmute(CardState& state) {
  Guard();
  state.Muted = false;
  state.StartMuted = false;
  ApplyVolume(state);
}

void SdrProtocol::SetVolume(CardState& state, int32_t value) {
  Guard();
  state.Volume = std::clamp(value, 0, 256);
  state.Muted = state.Volume == 0;
  state.StartMuted = false;
  ApplyVolume(state);
}

void SdrProtocol::VolumeUp(CardState& state) {
  SetVolume(state, state.Volume + std::max(state.VolumeStep, 1));
}

void SdrProtocol::VolumeDown(CardState& state) {
  SetVolume(state, state.Volume - std::max(state.VolumeStep, 1));
}

void SdrProtocol::VolumeToZero(CardState& state) {
  SetVolume(state, 0);
}

// The seek: the band seen a window at a time through the power spectrum.
namespace {
// A front end's anti-alias filter rolls off towards the window's edges: stay this far inside.
constexpr double kEdgeHz = 100e3;
constexpr auto kLookWait = std::chrono::milliseconds(400);
constexpr auto kLookPoll = std::chrono::milliseconds(1);
// How long what a look saw is trusted for the seek's next step.
constexpr auto kLookLifetime = std::chrono::seconds(2);
}  // namespace

void SdrProtocol::Look(double centreHz) {
  running_->source.TuneStation(centreHz + sdr::SoapyIqSource::kStationOffsetHz);
  running_->receiver.Tune(sdr::SoapyIqSource::kStationOffsetHz);
  rds_.Reset();
  running_->receiver.RequestSnapshot(sdr::kLookSamples);
  const auto deadline = std::chrono::steady_clock::now() + kLookWait;
  for (;;) {
    if (auto iq = running_->receiver.Snapshot(); !iq.empty()) {
      spectrum_ = analyser_.Measure(iq.data(), iq.size(), running_->source.Rate(), centreHz);
      lookIq_ = std::move(iq);
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      spectrum_ = {};
      lookIq_.clear();
      return;
    }
    std::this_thread::sleep_for(kLookPoll);
    Guard();
  }
}

bool SdrProtocol::Decide(CardState& state, double fromHz, double farHz, double direction,
                         double& found) {
  if (spectrum_.PowerDb.empty()) return false;
  auto stations = sdr::BandPower::Stations(spectrum_, std::min(fromHz, farHz),
                                           std::max(fromHz, farHz), sdr::kStationMarginDb);
  if (direction < 0) std::reverse(stations.begin(), stations.end());
  for (const double station : stations) {
    if (direction * (station - fromHz) < sdr::BandPower::kRasterHz / 2) continue;
    if (sdr::LookReception(lookIq_.data(), lookIq_.size(), running_->source.Rate(),
                           station - spectrum_.CentreHz) == sNone)
      continue;
    found = station;
    TuneReceiver(state, station / 1e6);
    return true;
  }
  return false;
}

SdrProtocol::SeekResult SdrProtocol::Seek(CardState& state, bool up, double from, double min,
                                          double max) {
  Guard();
  if (!running_) return {false, from};
  const double direction = up ? 1 : -1;
  double startHz = from * 1e6, found = 0;
  const auto now = std::chrono::steady_clock::now();
  // Going on from the last stop: the rest of that look is decided first, and the next look
  // starts where it ended.
  if (trail_.Valid && trail_.Up == up && std::abs(trail_.StoppedHz - startHz) < 1 &&
      now - trail_.LookedAt < kLookLifetime) {
    if (Decide(state, startHz, trail_.FarHz, direction, found)) {
      trail_.StoppedHz = found;
      return {true, found / 1e6};
    }
    startHz = trail_.FarHz;
    // That look reached the band's edge: there is nothing further to look at.
    if (const double edgeHz = (up ? max : min) * 1e6; std::abs(startHz - edgeHz) < 1) {
      TuneReceiver(state, edgeHz / 1e6);
      emptyLook_ = true;
      return {false, edgeHz / 1e6};
    }
  }
  // The part of a window whose channels a look decides: inside the usable width by the reach
  // of a neighbour's spill, so every channel decided is compared with all its neighbours.
  const double decided = running_->source.Rate() / 2 - kEdgeHz - sdr::BandPower::kLeakageHz -
                         sdr::BandPower::kChannelHalfWidthHz;
  // The window starts at the start: the station being left is in view, and its spill is not
  // taken for a new one.
  Look(startHz + direction * decided);
  // Where this look's decided part ends, on the card's grid and inside the band.
  const double gridHz = state.Cap.FMStep * 1e6;
  const double farHz = std::clamp(std::trunc(2 * decided * direction / gridHz) * gridHz + startHz,
                                  min * 1e6, max * 1e6);
  trail_ = {.Valid = true, .Up = up, .StoppedHz = farHz, .FarHz = farHz, .LookedAt = now};
  if (Decide(state, startHz, farHz, direction, found)) {
    trail_.StoppedHz = found;
    return {true, found / 1e6};
  }
  TuneReceiver(state, farHz / 1e6);
  emptyLook_ = true;
  return {false, farHz / 1e6};
}

}  // namespace ondivo
