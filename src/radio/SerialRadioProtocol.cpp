#include "radio/SerialRadioProtocol.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "radio/RadioErrors.h"

namespace ondivo {

namespace {

// Frames are 1D 23 <command> 23.
constexpr uint8_t kAudioOn = 0x01;
constexpr uint8_t kMute = 0x02;
constexpr uint8_t kTuned = 0x04;
constexpr uint8_t kTuneFM = 0x05;
constexpr uint8_t kQuery = 0x08;
constexpr uint8_t kTuneAM = 0x09;

constexpr std::array<uint8_t, 4> Frame(uint8_t command) {
  return {0x1D, 0x23, command, 0x23};
}

constexpr double kChannelZeroFM = 76.0;
constexpr int kChannelsPerMHz = 20;
constexpr int kSwitchOnWait = 200;  // ms for the radio to power up from the modem lines

}  // namespace

int SerialFMChannel(double frequency) {
  return static_cast<int>(std::lround((frequency - kChannelZeroFM) * kChannelsPerMHz));
}

int SerialAMChannel(double frequency, double amStep) {
  return static_cast<int>(std::lround((frequency - kAMMin) / amStep));
}

std::string SerialChannelDigits(int channel) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%03d", std::clamp(channel, 0, 999));
  return text.data();
}

SerialRadioProtocol::SerialRadioProtocol(Delay& waits, const ComPortPaths& paths,
                                         const MonotonicClock& clock)
    : waits_(waits), line_(paths, clock) {}

SerialRadioProtocol::~SerialRadioProtocol() = default;

void SerialRadioProtocol::SwitchOn(CardState& state) {
  const int n = state.PortValue();
  if (n < 1 || n > 16) throw ePortAlreayOpen();
  line_.SetComPort(static_cast<TComPortNumber>(n - 1));
  if (!line_.Connect()) throw ePortAlreayOpen();
  waits_.Wait(kSwitchOnWait);
  line_.ToggleDTR(true);
  line_.ToggleRTS(true);
  // No frame: the radio keeps its own mute state.
  state.Muted = state.StartMuted;
}

void SerialRadioProtocol::SwitchOff(CardState&) {
  line_.Disconnect();
}

void SerialRadioProtocol::Tune(CardState& state, tBand band, double frequency) {
  int channel;
  if (band == bFM) {
    // The card has snapped already; the clamp keeps stray values inside the band.
    const tBandLimits fm = FMLimits(state.JapaneseFM);
    channel =
        std::clamp(SerialFMChannel(frequency), SerialFMChannel(fm.Min), SerialFMChannel(fm.Max));
  } else {
    const double step = state.Cap.AMStep;
    if (!state.Cap.HasAM || step <= 0) return;
    channel = std::clamp(SerialAMChannel(frequency, step), 0, SerialAMChannel(kAMMax, step));
  }
  SendCommand(band == bFM ? kTuneFM : kTuneAM);
  const std::string digits = SerialChannelDigits(channel);
  line_.SendData({reinterpret_cast<const uint8_t*>(digits.data()), digits.size()});
  line_.FlushBuffers(true, false);
}

tSignal SerialRadioProtocol::GetSignal(CardState&) {
  SendCommand(kQuery);
  // Collect until a read times out, but a far end that keeps talking, however slowly, must
  // not hold the window thread: the whole reply has kReplyDeadlineMs, and one receive buffer.
  const MonotonicClock& clock = line_.Clock();
  const auto deadline = clock.Now() + std::chrono::milliseconds(kReplyDeadlineMs);
  std::vector<uint8_t> reply;
  const size_t limit = line_.ComPortInBufSize();
  uint8_t byte = 0;
  while (reply.size() < limit && clock.Now() < deadline && line_.ReadByte(byte)) {
    reply.push_back(byte);
  }
  const auto tuned = Frame(kTuned);
  const bool found =
      std::search(reply.begin(), reply.end(), tuned.begin(), tuned.end()) != reply.end();
  return found ? sTuned : sNone;
}

void SerialRadioProtocol::Mute(CardState& state) {
  SendCommand(kMute);
  line_.FlushBuffers(true, false);
  state.Muted = true;
}

void SerialRadioProtocol::Unmute(CardState& state) {
  SendCommand(kAudioOn);
  line_.FlushBuffers(true, false);
  state.Muted = false;
  state.StartMuted = false;
}

void SerialRadioProtocol::SendCommand(uint8_t command) {
  // A frame that cannot be written within the output time-out is dropped.
  line_.SendData(Frame(command));
}

}  // namespace ondivo
