#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "radio/RadioTypes.h"

namespace ondivo {

// A band as the driver lists it, in the tuner's units.
struct V4l2Band {
  uint32_t Low = 0;
  uint32_t High = 0;
  bool Am = false;  // else FM
};

// A user control (volume or mute) as VIDIOC_QUERYCTRL describes it.
struct V4l2Control {
  int32_t Minimum = 0;
  int32_t Maximum = 0;
  int32_t Step = 1;
};

// What the protocol learns from a device when it opens it.
struct V4l2Probe {
  std::string Card;             // VIDIOC_QUERYCAP card name
  uint32_t TunerCaps = 0;       // V4L2_TUNER_CAP_* of tuner 0
  std::vector<V4l2Band> Bands;  // FM and AM bands; the tuner's own range when it lists none
  std::optional<V4l2Control> Volume;
  std::optional<V4l2Control> Mute;

  // 62.5 Hz units (V4L2_TUNER_CAP_LOW) rather than 62.5 kHz.
  bool LowUnits() const;
  uint32_t UnitsPerMHz() const { return LowUnits() ? 16000 : 16; }
  // The FM grid in units: 50 kHz where the units allow it, else one unit (62.5 kHz).
  uint32_t FMGridUnits() const { return LowUnits() ? 800 : 1; }
};

// The record the model list shows before a device was opened: maker "Linux", name
// "V4L2 radio device", FM 87.5 to 108 MHz on a 50 kHz grid, stereo, mute but no volume (so the
// volume goes to a mixer line by default), port indices 1..8 for /dev/radio0..7.
tDevCap V4l2StaticRecord();

// The device's own record on top of base (its ports and selected port are kept): FM limits
// are the device's FM bands within the fixed ranges, snapped inwards onto the grid; AM (9 kHz
// grid) only with 62.5 Hz units and a band covering 531..1620 kHz; the Japanese range when the
// device reaches down to 76 MHz; volume and mute from the controls it has.
tDevCap V4l2DeviceRecord(const V4l2Probe& probe, const tDevCap& base);

}  // namespace ondivo
