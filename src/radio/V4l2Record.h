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

// Units of a frequency by the capability flags that go with it: 1 Hz (V4L2_TUNER_CAP_1HZ),
// 62.5 Hz (V4L2_TUNER_CAP_LOW) or 62.5 kHz; per MHz.
uint32_t V4l2UnitsPerMHz(uint32_t capability);

// What the protocol learns from a device when it opens it.
struct V4l2Probe {
  std::string Card;        // VIDIOC_QUERYCAP card name
  uint32_t TunerCaps = 0;  // V4L2_TUNER_CAP_* of tuner 0
  // FM and AM bands in the tuner's units; the tuner's own range when it lists none.
  std::vector<V4l2Band> Bands;
  std::optional<V4l2Control> Volume;
  std::optional<V4l2Control> Mute;

  uint32_t UnitsPerMHz() const { return V4l2UnitsPerMHz(TunerCaps); }
  // Units finer than 62.5 kHz: AM and a 50 kHz FM grid are possible.
  bool FineUnits() const { return UnitsPerMHz() > 16; }
  // The FM grid in units: 50 kHz where the units allow it, else one unit (62.5 kHz).
  uint32_t FMGridUnits() const { return FineUnits() ? UnitsPerMHz() / 20 : 1; }
};

// The record the model list shows before a device was opened: maker "Linux", name
// "V4L2 radio device", FM 87.5 to 108 MHz on a 50 kHz grid, the Japanese range allowed (until
// the device says otherwise), stereo, mute but no volume (so the volume goes to a mixer line by
// default), port indices 1..8 for /dev/radio0..7.
tDevCap V4l2StaticRecord();

// The device's own record on top of base (its ports and selected port are kept): FM limits
// are the device's FM bands within the fixed ranges, snapped inwards onto the grid; AM (9 kHz
// grid) only with 62.5 Hz units and a band covering 531..1620 kHz; the Japanese range when the
// device reaches down to 76 MHz; volume and mute from the controls it has.
tDevCap V4l2DeviceRecord(const V4l2Probe& probe, const tDevCap& base);

}  // namespace ondivo
