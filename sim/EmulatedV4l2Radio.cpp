#include "sim/EmulatedV4l2Radio.h"

#include <linux/videodev2.h>
#include <poll.h>
#include <sys/timerfd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>

namespace ondivo::sim {

namespace {

// 1187.5 bit/s, 26 bits a block.
constexpr double kBlocksPerMs = 1187.5 / 26.0 / 1000.0;
// A driver keeps this many blocks; older ones are overwritten.
constexpr uint64_t kDriverBuffer = 100;
constexpr int32_t kVolumeMax = 15;

int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void CopyName(uint8_t* to, size_t size, const std::string& text) {
  std::memset(to, 0, size);
  std::memcpy(to, text.data(), std::min(size - 1, text.size()));
}

}  // namespace

EmulatedV4l2Radio::EmulatedV4l2Radio(StationLandscape landscape)
    : EmulatedV4l2Radio(landscape, Options()) {}

EmulatedV4l2Radio::EmulatedV4l2Radio(StationLandscape landscape, Options options)
    : landscape_(landscape), options_(std::move(options)) {
  if (!options_.NowMs) options_.NowMs = SteadyMs;
  frequency_ = Range().first;
}

EmulatedV4l2Radio::~EmulatedV4l2Radio() = default;

// --- opening -------------------------------------------------------------------------------

int EmulatedV4l2Radio::Open(const std::string& path) {
  if (open_) return EBUSY;
  if (unplugged_ || path != options_.Path) return ENOENT;
  if (busy_) return EBUSY;
  event_.reset(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC));
  open_ = true;
  ++opens_;
  Retune(frequency_);
  return 0;
}

void EmulatedV4l2Radio::Close() {
  open_ = false;
  event_.reset();
  if (replugged_) unplugged_ = replugged_ = false;
}

int EmulatedV4l2Radio::Descriptor() const {
  return open_ ? event_.get() : -1;
}

void EmulatedV4l2Radio::Unplug() {
  unplugged_ = true;
  if (event_) {
    // Readable from now on and never drained, as a hung-up device node.
    itimerspec once{};
    once.it_value.tv_nsec = 1;
    ::timerfd_settime(event_.get(), 0, &once, nullptr);
  }
}

void EmulatedV4l2Radio::Replug() {
  if (!unplugged_) return;
  if (open_) {
    replugged_ = true;  // that handle stays dead until it is closed
  } else {
    unplugged_ = false;
  }
}

// --- the tuner -----------------------------------------------------------------------------

uint32_t EmulatedV4l2Radio::UnitsPerMHz() const {
  if (options_.OneHzUnits) return 1'000'000;
  return options_.LowUnits ? 16000 : 16;
}

uint32_t EmulatedV4l2Radio::UnitCapability() const {
  return (options_.LowUnits ? V4L2_TUNER_CAP_LOW : 0) |
         (options_.OneHzUnits ? V4L2_TUNER_CAP_1HZ : 0);
}

uint32_t EmulatedV4l2Radio::ToUnits(double mhz) const {
  return static_cast<uint32_t>(std::llround(mhz * UnitsPerMHz()));
}

double EmulatedV4l2Radio::FrequencyMHz() const {
  return static_cast<double>(frequency_) / UnitsPerMHz();
}

std::pair<uint32_t, uint32_t> EmulatedV4l2Radio::Range() const {
  uint32_t low = UINT32_MAX, high = 0;
  for (const auto& band : options_.Bands) {
    if (band.Am && UnitsPerMHz() == 16) continue;
    low = std::min(low, ToUnits(band.LowMHz));
    high = std::max(high, ToUnits(band.HighMHz));
  }
  return {low, high};
}

tBand EmulatedV4l2Radio::BandOf(uint32_t units) const {
  return static_cast<double>(units) / UnitsPerMHz() < 30.0 ? bAM : bFM;
}

const LandscapeStation* EmulatedV4l2Radio::Station() const {
  return landscape_.StationAt(BandOf(frequency_), FrequencyMHz());
}

std::optional<RdsStation> EmulatedV4l2Radio::RdsAt(tBand band, double mhz) const {
  const LandscapeStation* station = landscape_.StationAt(band, mhz);
  if (!options_.Rds || !station || station->Band != bFM || !station->Stereo) return std::nullopt;
  return LandscapeRds(*station);
}

void EmulatedV4l2Radio::Retune(uint32_t units) {
  const auto [low, high] = Range();
  frequency_ = std::clamp(units, low, high);
  const auto rds = RdsAt(BandOf(frequency_), FrequencyMHz());
  rds_ = rds ? std::make_unique<RdsGenerator>(*rds) : nullptr;
  tunedAtMs_ = options_.NowMs();
  delivered_ = 0;
  Signal();
}

void EmulatedV4l2Radio::Signal() {
  if (!event_ || unplugged_) return;
  // The descriptor ticks while a stream runs, so a socket notifier comes back for more.
  itimerspec tick{};
  if (rds_) {
    tick.it_value.tv_nsec = 1;  // at once, then as a driver's buffer fills
    tick.it_interval.tv_nsec = 100'000'000;
  }
  ::timerfd_settime(event_.get(), 0, &tick, nullptr);
}

int EmulatedV4l2Radio::Ioctl(unsigned long request, void* arg) {
  if (!open_) return EBADF;
  if (unplugged_) return ENODEV;
  if (auto it = failures_.find(request); it != failures_.end()) {
    const int error = it->second;
    failures_.erase(it);
    return error;
  }
  switch (request) {
    case VIDIOC_QUERYCAP:
      return QueryCap(arg);
    case VIDIOC_G_TUNER:
      return GetTuner(arg);
    case VIDIOC_S_TUNER:
      return SetTuner(arg);
    case VIDIOC_ENUM_FREQ_BANDS:
      return EnumBands(arg);
    case VIDIOC_G_FREQUENCY:
      return GetFrequency(arg);
    case VIDIOC_S_FREQUENCY:
      return SetFrequency(arg);
    case VIDIOC_S_HW_FREQ_SEEK:
      return HardwareSeek(arg);
    case VIDIOC_QUERYCTRL:
      return QueryControl(arg);
    case VIDIOC_G_CTRL:
      return GetControl(arg);
    case VIDIOC_S_CTRL:
      return SetControl(arg);
    default:
      return ENOTTY;
  }
}

int EmulatedV4l2Radio::QueryCap(void* arg) const {
  auto& caps = *static_cast<v4l2_capability*>(arg);
  caps = {};
  CopyName(caps.driver, sizeof(caps.driver), "ondivo-sim");
  CopyName(caps.card, sizeof(caps.card), options_.Card);
  CopyName(caps.bus_info, sizeof(caps.bus_info), "platform:ondivo-sim");
  caps.device_caps = V4L2_CAP_RADIO | V4L2_CAP_TUNER |
                     (options_.Rds && options_.RdsBlockIo ? V4L2_CAP_READWRITE : 0) |
                     (options_.Rds ? V4L2_CAP_RDS_CAPTURE : 0);
  caps.capabilities = caps.device_caps | V4L2_CAP_DEVICE_CAPS;
  return 0;
}

int EmulatedV4l2Radio::GetTuner(void* arg) const {
  auto& tuner = *static_cast<v4l2_tuner*>(arg);
  if (tuner.index != 0) return EINVAL;
  tuner = {};
  CopyName(tuner.name, sizeof(tuner.name), "FM/AM");
  tuner.type = V4L2_TUNER_RADIO;
  const uint32_t rdsAccess =
      options_.RdsBlockIo ? V4L2_TUNER_CAP_RDS_BLOCK_IO : V4L2_TUNER_CAP_RDS_CONTROLS;
  tuner.capability = UnitCapability() | (options_.ListsBands ? V4L2_TUNER_CAP_FREQ_BANDS : 0) |
                     (options_.Stereo ? V4L2_TUNER_CAP_STEREO : 0) |
                     (options_.Rds ? V4L2_TUNER_CAP_RDS | rdsAccess : 0);
  switch (options_.HardwareSeek) {
    case Seek::None:
      break;
    case Seek::Bounded:
      tuner.capability |= V4L2_TUNER_CAP_HWSEEK_BOUNDED;
      break;
    case Seek::Wrap:
      tuner.capability |= V4L2_TUNER_CAP_HWSEEK_WRAP;
      break;
    case Seek::BoundedLimits:
      tuner.capability |= V4L2_TUNER_CAP_HWSEEK_BOUNDED | V4L2_TUNER_CAP_HWSEEK_PROG_LIM;
      break;
  }
  const auto [low, high] = Range();
  tuner.rangelow = low;
  tuner.rangehigh = high;
  tuner.audmode = audmode_;
  const LandscapeStation* station = Station();
  if (station) {
    const double offset = std::fabs(station->Frequency - FrequencyMHz());
    tuner.signal = static_cast<uint32_t>(0xFFFF - std::min(offset * 600000, 30000.0));
    tuner.rxsubchans = (station->Stereo && options_.Stereo && station->Band == bFM)
                           ? V4L2_TUNER_SUB_STEREO | V4L2_TUNER_SUB_MONO
                           : V4L2_TUNER_SUB_MONO;
    if (rds_) tuner.rxsubchans |= V4L2_TUNER_SUB_RDS;
  } else {
    tuner.signal = 0x0800;  // noise
    tuner.rxsubchans = V4L2_TUNER_SUB_MONO;
  }
  return 0;
}

int EmulatedV4l2Radio::SetTuner(void* arg) {
  const auto& tuner = *static_cast<const v4l2_tuner*>(arg);
  if (tuner.index != 0) return EINVAL;
  audmode_ = tuner.audmode == V4L2_TUNER_MODE_MONO ? V4L2_TUNER_MODE_MONO : V4L2_TUNER_MODE_STEREO;
  return 0;
}

int EmulatedV4l2Radio::EnumBands(void* arg) const {
  auto& band = *static_cast<v4l2_frequency_band*>(arg);
  if (!options_.ListsBands || band.tuner != 0 || band.type != V4L2_TUNER_RADIO) return EINVAL;
  std::vector<const Band*> offered;
  for (const auto& b : options_.Bands) {
    if (!b.Am || UnitsPerMHz() > 16) offered.push_back(&b);
  }
  if (band.index >= offered.size()) return EINVAL;
  const Band& b = *offered[band.index];
  const uint32_t index = band.index;
  band = {};
  band.tuner = 0;
  band.type = V4L2_TUNER_RADIO;
  band.index = index;
  if (b.OneHzRange) {
    band.capability = V4L2_TUNER_CAP_1HZ;
    band.rangelow = static_cast<uint32_t>(std::llround(b.LowMHz * 1e6));
    band.rangehigh = static_cast<uint32_t>(std::llround(b.HighMHz * 1e6));
  } else {
    band.capability = UnitCapability();
    band.rangelow = ToUnits(b.LowMHz);
    band.rangehigh = ToUnits(b.HighMHz);
  }
  band.modulation = b.Am ? V4L2_BAND_MODULATION_AM : V4L2_BAND_MODULATION_FM;
  return 0;
}

int EmulatedV4l2Radio::GetFrequency(void* arg) const {
  auto& f = *static_cast<v4l2_frequency*>(arg);
  if (f.tuner != 0) return EINVAL;
  f.type = V4L2_TUNER_RADIO;
  f.frequency = frequency_;
  return 0;
}

int EmulatedV4l2Radio::SetFrequency(void* arg) {
  const auto& f = *static_cast<const v4l2_frequency*>(arg);
  if (f.tuner != 0 || f.type != V4L2_TUNER_RADIO) return EINVAL;
  // A driver clamps into its range.
  Retune(f.frequency);
  return 0;
}

int EmulatedV4l2Radio::HardwareSeek(void* arg) {
  const auto& seek = *static_cast<const v4l2_hw_freq_seek*>(arg);
  if (seek.tuner != 0 || options_.HardwareSeek == Seek::None) return EINVAL;
  if (seek.wrap_around && options_.HardwareSeek != Seek::Wrap) return EINVAL;
  if (!seek.wrap_around && options_.HardwareSeek == Seek::Wrap) return EINVAL;
  const bool limits = options_.HardwareSeek == Seek::BoundedLimits;
  if (!limits && (seek.rangelow || seek.rangehigh)) return EINVAL;
  const tBand band = BandOf(frequency_);
  uint32_t low = UINT32_MAX, high = 0;
  for (const auto& b : options_.Bands) {
    if ((b.Am ? bAM : bFM) != band) continue;
    low = std::min(low, ToUnits(b.LowMHz));
    high = std::max(high, ToUnits(b.HighMHz));
  }
  if (limits && seek.rangelow) low = std::max(low, seek.rangelow);
  if (limits && seek.rangehigh) high = std::min(high, seek.rangehigh);
  const uint32_t spacingHz = seek.spacing ? seek.spacing : (band == bFM ? 50000 : 9000);
  const auto step =
      std::max<uint32_t>(1, static_cast<uint32_t>(std::llround(spacingHz / 1e6 * UnitsPerMHz())));
  const uint64_t span = high >= low ? (high - low) / step + 1 : 0;
  int64_t at = frequency_;
  for (uint64_t i = 0; i < span; ++i) {
    at += seek.seek_upward ? step : -int64_t{step};
    if (at > high || at < low) {
      if (!seek.wrap_around) break;
      at = seek.seek_upward ? low : high;
    }
    if (landscape_.StationAt(band, static_cast<double>(at) / UnitsPerMHz())) {
      Retune(static_cast<uint32_t>(at));
      return 0;
    }
  }
  return ENODATA;
}

int EmulatedV4l2Radio::QueryControl(void* arg) const {
  auto& query = *static_cast<v4l2_queryctrl*>(arg);
  const uint32_t id = query.id;
  query = {};
  query.id = id;
  if (id == V4L2_CID_AUDIO_VOLUME && options_.Volume) {
    query.type = V4L2_CTRL_TYPE_INTEGER;
    CopyName(query.name, sizeof(query.name), "Volume");
    query.maximum = kVolumeMax;
    query.step = 1;
    query.default_value = 8;
    return 0;
  }
  if (id == V4L2_CID_AUDIO_MUTE && options_.Mute) {
    query.type = V4L2_CTRL_TYPE_BOOLEAN;
    CopyName(query.name, sizeof(query.name), "Mute");
    query.maximum = 1;
    query.step = 1;
    return 0;
  }
  return EINVAL;
}

int EmulatedV4l2Radio::GetControl(void* arg) const {
  auto& control = *static_cast<v4l2_control*>(arg);
  if (control.id == V4L2_CID_AUDIO_VOLUME && options_.Volume) {
    control.value = volume_;
  } else if (control.id == V4L2_CID_AUDIO_MUTE && options_.Mute) {
    control.value = muted_ ? 1 : 0;
  } else {
    return EINVAL;
  }
  return 0;
}

int EmulatedV4l2Radio::SetControl(void* arg) {
  const auto& control = *static_cast<const v4l2_control*>(arg);
  if (control.id == V4L2_CID_AUDIO_VOLUME && options_.Volume) {
    if (control.value < 0 || control.value > kVolumeMax) return ERANGE;
    volume_ = control.value;
  } else if (control.id == V4L2_CID_AUDIO_MUTE && options_.Mute) {
    muted_ = control.value != 0;
  } else {
    return EINVAL;
  }
  return 0;
}

// --- RDS -----------------------------------------------------------------------------------

ssize_t EmulatedV4l2Radio::Read(void* buffer, size_t size) {
  ++reads_;
  if (!open_) return -EBADF;
  if (unplugged_) return -ENODEV;
  if (!options_.RdsBlockIo) return -EINVAL;
  uint64_t ticks;
  [[maybe_unused]] const ssize_t drained = ::read(event_.get(), &ticks, sizeof(ticks));
  if (!rds_) return -EAGAIN;
  const auto accrued =
      static_cast<uint64_t>(static_cast<double>(options_.NowMs() - tunedAtMs_) * kBlocksPerMs);
  if (accrued > delivered_ + kDriverBuffer) delivered_ = accrued - kDriverBuffer;
  const uint64_t waiting = accrued - std::min(accrued, delivered_);
  const uint64_t count = std::min<uint64_t>(waiting, size / sizeof(v4l2_rds_data));
  if (count == 0) return -EAGAIN;
  auto* out = static_cast<v4l2_rds_data*>(buffer);
  for (uint64_t i = 0; i < count; ++i) {
    const RdsBlock block = rds_->BlockAt(delivered_ + i);
    out[i] = {block.Lsb, block.Msb, block.Block};
  }
  delivered_ += count;
  return static_cast<ssize_t>(count * sizeof(v4l2_rds_data));
}

int EmulatedV4l2Radio::Poll(int timeoutMs) {
  if (!open_) return -EBADF;
  if (unplugged_) return -ENODEV;
  const auto waiting = [&] {
    return rds_ && static_cast<uint64_t>(static_cast<double>(options_.NowMs() - tunedAtMs_) *
                                         kBlocksPerMs) > delivered_;
  };
  if (waiting()) return 1;
  if (timeoutMs > 0 && rds_) {
    pollfd p{event_.get(), POLLIN, 0};
    ::poll(&p, 1, timeoutMs);
    return waiting() ? 1 : 0;
  }
  return 0;
}

}  // namespace ondivo::sim
