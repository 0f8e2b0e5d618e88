#include "radio/V4l2Protocol.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "radio/RadioErrors.h"

namespace ondivo {

namespace {

std::string CardName(const v4l2_capability& caps) {
  const auto* text = reinterpret_cast<const char*>(caps.card);
  return std::string(text, strnlen(text, sizeof(caps.card)));
}

std::optional<V4l2Control> QueryControl(V4l2Device& device, uint32_t id) {
  v4l2_queryctrl query{};
  query.id = id;
  if (device.Ioctl(VIDIOC_QUERYCTRL, &query) != 0) return std::nullopt;
  if (query.flags & (V4L2_CTRL_FLAG_DISABLED | V4L2_CTRL_FLAG_READ_ONLY)) return std::nullopt;
  if (query.maximum <= query.minimum) return std::nullopt;
  return V4l2Control{query.minimum, query.maximum, std::max(query.step, 1)};
}

// Opens and learns the device; an errno value when it cannot be used as a radio.
int ProbeDevice(V4l2Device& device, V4l2Probe& probe) {
  v4l2_capability caps{};
  if (const int error = device.Ioctl(VIDIOC_QUERYCAP, &caps)) return error;
  const uint32_t have =
      (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
  if (!(have & V4L2_CAP_TUNER) || !(have & V4L2_CAP_RADIO)) return ENOTTY;
  probe.Card = CardName(caps);

  v4l2_tuner tuner{};
  tuner.index = 0;
  if (const int error = device.Ioctl(VIDIOC_G_TUNER, &tuner)) return error;
  if (tuner.type != V4L2_TUNER_RADIO) return ENOTTY;
  probe.TunerCaps = tuner.capability;

  probe.Bands.clear();
  for (uint32_t index = 0; index < 16; ++index) {
    v4l2_frequency_band band{};
    band.tuner = 0;
    band.type = V4L2_TUNER_RADIO;
    band.index = index;
    if (device.Ioctl(VIDIOC_ENUM_FREQ_BANDS, &band) != 0) break;
    const bool fm = band.modulation & V4L2_BAND_MODULATION_FM;
    if (!fm && !(band.modulation & V4L2_BAND_MODULATION_AM)) continue;
    // A band's range is in the units its own capability names; tuning uses the tuner's.
    const uint64_t from = V4l2UnitsPerMHz(band.capability);
    const uint64_t to = V4l2UnitsPerMHz(tuner.capability);
    const uint64_t low = (uint64_t{band.rangelow} * to + from - 1) / from;  // inwards
    const uint64_t high = uint64_t{band.rangehigh} * to / from;
    if (high > UINT32_MAX || low > high) continue;
    probe.Bands.push_back({static_cast<uint32_t>(low), static_cast<uint32_t>(high), !fm});
  }
  // Drivers without a band list tune one range: FM.
  if (probe.Bands.empty()) probe.Bands.push_back({tuner.rangelow, tuner.rangehigh, false});

  probe.Volume = QueryControl(device, V4L2_CID_AUDIO_VOLUME);
  probe.Mute = QueryControl(device, V4L2_CID_AUDIO_MUTE);
  return 0;
}

bool IsUnplug(int error) {
  return error == ENODEV || error == ENXIO || error == ESHUTDOWN || error == EPIPE;
}

}  // namespace

V4l2Protocol::V4l2Protocol(V4l2Device& device, const RadioDevicePaths& paths)
    : device_(device), paths_(paths) {}

// --- errors --------------------------------------------------------------------------------

void V4l2Protocol::CloseDevice() {
  if (device_.IsOpen() && OnClosing) OnClosing();
  device_.Close();
}

void V4l2Protocol::Lost(CardState* state) {
  CloseDevice();
  rds_.Reset();
  hardwareSeek_ = false;
  if (state) state->Muted = true;
}

bool V4l2Protocol::Check(int error, CardState* state) {
  if (error == 0) return true;
  if (IsUnplug(error)) {
    Lost(state);
    throw eDeviceLost();
  }
  if (error == EBUSY) throw eDeviceBusy();
  return false;  // refused: ignored like anything else the model cannot do
}

// --- switching -----------------------------------------------------------------------------

void V4l2Protocol::SwitchOn(CardState& state) {
  CloseDevice();
  rds_.Reset();
  audmode_ = -1;
  if (const int error = device_.Open(paths_.PathFor(state.Port)); error != 0) {
    if (error == EBUSY) throw eDeviceBusy();
    throw ePortAlreayOpen();
  }
  V4l2Probe probe;
  const int error = ProbeDevice(device_, probe);
  if (error != 0) {
    CloseDevice();
    if (IsUnplug(error)) throw eDeviceLost();
    throw ePortAlreayOpen();
  }
  probe_ = std::move(probe);
  hardwareSeek_ =
      (probe_.TunerCaps & (V4L2_TUNER_CAP_HWSEEK_BOUNDED | V4L2_TUNER_CAP_HWSEEK_WRAP)) != 0;
  state.Cap = V4l2DeviceRecord(probe_, state.Cap);
  if (!state.Cap.StereoSwitch) state.Stereo = false;
  if (!state.Cap.HasJapaneseFM) state.JapaneseFM = false;
  if (probe_.Mute) SetControl(V4L2_CID_AUDIO_MUTE, state.StartMuted ? 1 : 0, state);
  state.Muted = state.StartMuted;
}

void V4l2Protocol::SwitchOff(CardState& state) {
  if (device_.IsOpen() && probe_.Mute) {
    // A receiver pulled out just now must not stop the switch-off.
    try {
      SetControl(V4L2_CID_AUDIO_MUTE, 1, state);
    } catch (const eRadioCardError&) {
    }
  }
  CloseDevice();
  rds_.Reset();
  state.Muted = true;
}

// --- tuning --------------------------------------------------------------------------------

uint32_t V4l2Protocol::Units(double mhz) const {
  return static_cast<uint32_t>(std::llround(mhz * probe_.UnitsPerMHz()));
}

double V4l2Protocol::Megahertz(uint32_t units) const {
  return static_cast<double>(units) / probe_.UnitsPerMHz();
}

void V4l2Protocol::ApplyStereo(CardState& state) {
  if (!state.Cap.StereoSwitch) return;
  const int mode = state.Stereo ? V4L2_TUNER_MODE_STEREO : V4L2_TUNER_MODE_MONO;
  if (mode == audmode_) return;
  v4l2_tuner tuner{};
  tuner.index = 0;
  tuner.audmode = static_cast<uint32_t>(mode);
  if (Check(device_.Ioctl(VIDIOC_S_TUNER, &tuner), &state)) audmode_ = mode;
}

void V4l2Protocol::Tune(CardState& state, tBand, double frequency) {
  if (!device_.IsOpen()) return;
  ApplyStereo(state);
  v4l2_frequency request{};
  request.tuner = 0;
  request.type = V4L2_TUNER_RADIO;
  request.frequency = Units(frequency);
  Check(device_.Ioctl(VIDIOC_S_FREQUENCY, &request), &state);
  // Blocks still queued belong to the station just left.
  DrainRds();
  rds_.Reset();
}

double V4l2Protocol::ReadFrequency() {
  if (!device_.IsOpen()) return 0;
  v4l2_frequency reading{};
  reading.tuner = 0;
  reading.type = V4L2_TUNER_RADIO;
  if (!Check(device_.Ioctl(VIDIOC_G_FREQUENCY, &reading), nullptr)) return 0;
  return Megahertz(reading.frequency);
}

uint32_t V4l2Protocol::SignalStrength() {
  if (!device_.IsOpen()) return 0;
  v4l2_tuner tuner{};
  tuner.index = 0;
  if (!Check(device_.Ioctl(VIDIOC_G_TUNER, &tuner), nullptr)) return 0;
  return static_cast<uint32_t>(std::max(tuner.signal, 0));
}

tSignal V4l2Protocol::GetSignal(CardState& state) {
  if (!device_.IsOpen()) return sNone;
  v4l2_tuner tuner{};
  tuner.index = 0;
  if (!Check(device_.Ioctl(VIDIOC_G_TUNER, &tuner), &state)) return sNone;
  if (tuner.signal < static_cast<int32_t>(kTunedSignal)) return sNone;
  if (!(tuner.capability & V4L2_TUNER_CAP_STEREO)) return sTuned;
  const bool stereo = (tuner.rxsubchans & V4L2_TUNER_SUB_STEREO) && state.Stereo;
  return stereo ? sStereo : sMono;
}

// --- seeking -------------------------------------------------------------------------------

bool V4l2Protocol::CanHardwareSeek() const {
  return hardwareSeek_ && device_.IsOpen();
}

V4l2Protocol::SeekResult V4l2Protocol::Seek(CardState& state, bool up, double from, double min,
                                            double max) {
  SeekResult result;
  result.Reached = from;
  if (!CanHardwareSeek()) {
    result.Fallback = true;
    return result;
  }
  const bool limits = probe_.TunerCaps & V4L2_TUNER_CAP_HWSEEK_PROG_LIM;
  const bool bounded = probe_.TunerCaps & V4L2_TUNER_CAP_HWSEEK_BOUNDED;
  // Where this call ends when it finds nothing.
  const double end =
      limits ? (up ? std::min(max, from + kSeekWindow) : std::max(min, from - kSeekWindow))
             : (up ? max : min);
  v4l2_hw_freq_seek seek{};
  seek.tuner = 0;
  seek.type = V4L2_TUNER_RADIO;
  seek.seek_upward = up ? 1 : 0;
  seek.wrap_around = bounded ? 0 : 1;
  if (limits) {
    seek.rangelow = Units(up ? from : end);
    seek.rangehigh = Units(up ? end : from);
  }
  DrainRds();
  rds_.Reset();
  const int error = device_.Ioctl(VIDIOC_S_HW_FREQ_SEEK, &seek);
  if (error == ENODATA) {
    result.Reached = end;
    return result;
  }
  if (error != 0) {
    Check(error == EBUSY ? EINVAL : error, &state);  // lost still throws
    // Refused or timed out: the scan goes on by stepping.
    hardwareSeek_ = false;
    result.Fallback = true;
    return result;
  }
  const double found = ReadFrequency();
  // A wrapping seek may come back from the other end of the band: the scan ends at the edge.
  const bool ahead = up ? found > from && found <= end : found < from && found >= end;
  if (ahead) {
    result.Found = true;
    result.Reached = found;
  } else {
    result.Reached = end;
  }
  return result;
}

// --- RDS -----------------------------------------------------------------------------------

bool V4l2Protocol::ReadsRds() const {
  // A tuner that offers RDS only through controls has nothing to read on its node.
  constexpr uint32_t kBlocks = V4L2_TUNER_CAP_RDS | V4L2_TUNER_CAP_RDS_BLOCK_IO;
  return device_.IsOpen() && (probe_.TunerCaps & kBlocks) == kBlocks;
}

int V4l2Protocol::RdsDescriptor() const {
  return ReadsRds() ? device_.Descriptor() : -1;
}

bool V4l2Protocol::HandleRdsEvents() {
  if (!ReadsRds()) return false;
  bool changed = false;
  // Bounded, so a chatty device cannot hold the panel.
  for (int round = 0; round < 16; ++round) {
    v4l2_rds_data blocks[64];
    const ssize_t n = device_.Read(blocks, sizeof(blocks));
    if (n == -EAGAIN || n == 0) break;
    if (n < 0) {
      Check(static_cast<int>(-n), nullptr);
      break;
    }
    const size_t count = static_cast<size_t>(n) / sizeof(v4l2_rds_data);
    for (size_t i = 0; i < count; ++i) {
      changed = rds_.Feed(blocks[i].lsb, blocks[i].msb, blocks[i].block) || changed;
    }
  }
  return changed;
}

void V4l2Protocol::DrainRds() {
  if (!ReadsRds()) return;
  for (int round = 0; round < 16; ++round) {
    v4l2_rds_data blocks[64];
    if (device_.Read(blocks, sizeof(blocks)) <= 0) break;
  }
}

// --- mute and volume -----------------------------------------------------------------------

bool V4l2Protocol::SetControl(uint32_t id, int32_t value, CardState& state) {
  v4l2_control control{};
  control.id = id;
  control.value = value;
  return Check(device_.Ioctl(VIDIOC_S_CTRL, &control), &state);
}

void V4l2Protocol::Mute(CardState& state) {
  if (!device_.IsOpen()) return;
  if (probe_.Mute) SetControl(V4L2_CID_AUDIO_MUTE, 1, state);
  state.Muted = true;
}

void V4l2Protocol::Unmute(CardState& state) {
  if (!device_.IsOpen()) return;
  if (probe_.Mute) SetControl(V4L2_CID_AUDIO_MUTE, 0, state);
  state.Muted = false;
  state.StartMuted = false;
}

void V4l2Protocol::SetVolume(CardState& state, int32_t value) {
  if (!device_.IsOpen() || !probe_.Volume || state.VolumeStep <= 0) return;
  const int32_t step = state.VolumeStep;
  value = std::clamp(static_cast<int32_t>(std::lround(static_cast<double>(value) / step)) * step, 0,
                     256);
  const V4l2Control& range = *probe_.Volume;
  const int64_t span = int64_t{range.Maximum} - range.Minimum;
  int64_t level = range.Minimum + (span * value + 128) / 256;
  level = range.Minimum + (level - range.Minimum) / range.Step * range.Step;
  if (!SetControl(V4L2_CID_AUDIO_VOLUME, static_cast<int32_t>(level), state)) return;
  state.Volume = value;
  state.StartMuted = false;
  // As on the other cards, no volume is silence and any volume plays.
  if (value == 0) {
    Mute(state);
  } else if (state.Muted) {
    Unmute(state);
  }
}

void V4l2Protocol::VolumeUp(CardState& state) {
  if (state.Volume < 256) SetVolume(state, state.Volume + state.VolumeStep);
}

void V4l2Protocol::VolumeDown(CardState& state) {
  if (state.Volume > 0) SetVolume(state, state.Volume - state.VolumeStep);
}

void V4l2Protocol::VolumeToZero(CardState& state) {
  SetVolume(state, 0);
}

}  // namespace ondivo
