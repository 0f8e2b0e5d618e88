#include "radio/V4l2Record.h"

#include <linux/videodev2.h>

#include <algorithm>

namespace ondivo {

namespace {

// [low, high] of all bands of one kind, or nullopt.
std::optional<std::pair<uint32_t, uint32_t>> Span(const V4l2Probe& probe, bool am) {
  std::optional<std::pair<uint32_t, uint32_t>> span;
  for (const auto& band : probe.Bands) {
    if (band.Am != am || band.High < band.Low) continue;
    if (!span) {
      span = {band.Low, band.High};
    } else {
      span->first = std::min(span->first, band.Low);
      span->second = std::max(span->second, band.High);
    }
  }
  return span;
}

// The device's span within [min, max] MHz, snapped inwards onto the grid; false when empty.
bool Clip(const V4l2Probe& probe, std::pair<uint32_t, uint32_t> span, double min, double max,
          double& outMin, double& outMax) {
  const uint64_t perMHz = probe.UnitsPerMHz();
  const uint64_t grid = probe.FMGridUnits();
  uint64_t low = std::max<uint64_t>(span.first, static_cast<uint64_t>(min * perMHz + 0.5));
  uint64_t high = std::min<uint64_t>(span.second, static_cast<uint64_t>(max * perMHz + 0.5));
  low = (low + grid - 1) / grid * grid;
  high = high / grid * grid;
  if (high < low) return false;
  outMin = static_cast<double>(low) / static_cast<double>(perMHz);
  outMax = static_cast<double>(high) / static_cast<double>(perMHz);
  return true;
}

}  // namespace

uint32_t V4l2UnitsPerMHz(uint32_t capability) {
  if (capability & V4L2_TUNER_CAP_1HZ) return 1'000'000;
  return (capability & V4L2_TUNER_CAP_LOW) ? 16000 : 16;
}

tDevCap V4l2StaticRecord() {
  tDevCap cap;
  cap.Name = "V4L2 radio device";
  cap.Maker = "Linux";
  cap.HasFM = true;
  cap.FMStep = 0.05;
  cap.FMMin = 87.5;
  cap.FMMax = 108.0;
  // The settings are applied before the device is opened: a stored Japanese band choice must
  // survive until the device says whether it can tune it.
  cap.HasJapaneseFM = true;
  cap.CanMute = true;
  cap.StereoSwitch = true;
  cap.Connection = kDeviceConnection;
  cap.PortCount = 8;
  cap.DefaultPort = 1;
  cap.SelectedPort = 1;
  cap.Ports = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  return cap;
}

tDevCap V4l2DeviceRecord(const V4l2Probe& probe, const tDevCap& base) {
  tDevCap cap = V4l2StaticRecord();
  cap.PortCount = base.PortCount;
  cap.DefaultPort = base.DefaultPort;
  cap.SelectedPort = base.SelectedPort;
  cap.Ports = base.Ports;
  if (!probe.Card.empty()) cap.Name = probe.Card;

  cap.HasFM = false;
  cap.FMStep = probe.FineUnits() ? 0.05 : 0.0625;
  if (const auto fm = Span(probe, false)) {
    cap.HasFM = Clip(probe, *fm, kFMMin, kFMMax, cap.FMMin, cap.FMMax);
    const bool reaches76 = fm->first <= static_cast<uint32_t>(kJapaneseFMMin * probe.UnitsPerMHz());
    cap.HasJapaneseFM =
        cap.HasFM && reaches76 &&
        Clip(probe, *fm, kJapaneseFMMin, kJapaneseFMMax, cap.JapaneseFMMin, cap.JapaneseFMMax);
  }
  cap.HasAM = false;
  cap.AMStep = 0;
  if (const auto am = Span(probe, true); am && probe.FineUnits()) {
    const uint64_t perKHz = probe.UnitsPerMHz() / 1000;
    cap.HasAM = am->first <= 531 * perKHz && am->second >= 1620 * perKHz;
    if (cap.HasAM) cap.AMStep = 0.009;
  }

  cap.StereoSwitch = (probe.TunerCaps & V4L2_TUNER_CAP_STEREO) != 0;
  cap.CanVolume = probe.Volume.has_value();
  cap.VolumeStep = cap.CanVolume ? 16 : 0;
  cap.CanMute = probe.Mute.has_value();
  return cap;
}

}  // namespace ondivo
