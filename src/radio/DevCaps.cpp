#include "radio/DevCaps.h"

#include <cstdlib>
#include "radio/V4l2Record.h"

namespace ondivo {

namespace {

tDevCap PortCard(const char* name, const char* maker, double fmStep, bool zoltrix) {
  tDevCap cap;
  cap.Name = name;
  cap.Maker = maker;
  cap.VolumeStep = 16;
  cap.HasFM = true;
  cap.FMStep = fmStep;
  cap.CanVolume = true;
  cap.CanMute = true;
  cap.StereoSwitch = zoltrix;
  cap.Connection = kPortConnection;
  cap.PortCount = 2;
  cap.DefaultPort = 1;
  cap.SelectedPort = 1;
  cap.Ports = {0, 0x30C, 0x20C, 0, 0, 0, 0, 0, 0};
  // RadioTrack and RA300 live on the base port alone; the Zoltrix also reads base + 2 and + 3.
  cap.PortSpan = zoltrix ? 4 : 1;
  return cap;
}

tDevCap SerialRadio(const char* name, const char* maker, bool hasAM, double amStep) {
  tDevCap cap;
  cap.Name = name;
  cap.Maker = maker;
  cap.HasFM = true;
  cap.HasJapaneseFM = true;
  cap.HasAM = hasAM;
  cap.FMStep = 0.05;
  cap.AMStep = amStep;
  cap.CanMute = true;
  cap.MuteOnExitForced = true;
  cap.Connection = kSerialConnection;
  cap.PortCount = 8;
  cap.DefaultPort = 2;
  cap.SelectedPort = 2;
  cap.Ports = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  return cap;
}

// Any SoapySDR device: FM only, tuned on a 10 kHz grid (the 25 kHz step and every channel
// raster land on it), software volume on the full scale, stereo or forced mono.
tDevCap SdrRecord() {
  tDevCap cap;
  cap.Name = "software radio";
  cap.Maker = "SoapySDR";
  cap.VolumeStep = 1;
  cap.HasFM = true;
  cap.HasJapaneseFM = true;
  cap.FMStep = 0.01;
  cap.CanVolume = true;
  cap.CanMute = true;
  cap.StereoSwitch = true;
  cap.Connection = kSdrConnection;
  cap.PortCount = 8;
  cap.DefaultPort = 1;
  cap.SelectedPort = 1;
  cap.Ports = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  return cap;
}

}  // namespace

std::array<tDevCap, kModelCount> DefaultDevCaps() {
  return {
      PortCard("Radiotrack", "AimsLab", 0.025, false),
      PortCard("RA300", "Reveal", 0.025, false),
      SerialRadio("Wizard Radio", "Gemtek", false, 0),
      SerialRadio("RadioMan", "Gemtek", true, 0.009),
      SerialRadio("RadionMaru", "Justy", false, 0.009),
      SerialRadio("Rajikoma", "Unit", true, 0.009),
      PortCard("Radio Plus 108", "Zoltrix", 0.005, true),
      V4l2StaticRecord(),
      SdrRecord(),
  };
}

int32_t NearestMultiple(int32_t value, int32_t step) {
  if (step <= 0) return value;
  const int64_t quotient = value / step;
  const int64_t remainder = value % step;
  int64_t n = quotient;
  // Round the exact quotient value/step to nearest, ties to even, without floating point.
  const int64_t twice = 2 * std::llabs(remainder);
  if (twice > step || (twice == step && (quotient % 2 != 0))) n += (value < 0) ? -1 : 1;
  return static_cast<int32_t>(n * step);
}

int32_t PortInUse(const tDevCap& cap, int32_t storedPort) {
  return storedPort >= 1 && storedPort <= cap.PortCount ? storedPort : cap.DefaultPort;
}

}  // namespace ondivo
