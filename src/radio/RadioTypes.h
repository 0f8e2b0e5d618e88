#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace ondivo {

// The tuner models: seven ISA cards and serial radios, then any kernel (V4L2) radio device and
// any SoapySDR device (the radio in our own software).
// The configuration stores model + 1 (0 = no card).
enum class tModel : uint8_t {
  mRadioTrack = 0,
  mRA300 = 1,
  mWizard = 2,
  mRadioMan = 3,
  mRadionMaru = 4,
  mRajikoma = 5,
  mZoltrix = 6,
  mV4l2 = 7,
  mSdr = 8,
};
using enum tModel;

enum class tBand : uint8_t { bAM = 0, bFM = 1 };
using enum tBand;

// Where the listening volume is controlled: nowhere, on the card, or on a sound-card input line.
enum class tVolumeLine : uint8_t { vlNone = 0, vlNative = 1, vlLineIn = 2, vlMicIn = 3, vlCd = 4 };
using enum tVolumeLine;

// Line in, microphone and CD are sound-card input lines; the others are not.
constexpr bool IsMixerLine(tVolumeLine line) {
  return line == vlLineIn || line == vlMicIn || line == vlCd;
}

enum class tSignal : uint8_t { sNone = 0, sTuned = 1, sStereo = 2, sMono = 3 };
using enum tSignal;

// The sixteen controls of the sound-card mixer, by their fixed index.
enum class tMixerControlType : uint8_t {
  mcMasterVolume = 0,
  mcMasterMute = 1,
  mcTreble = 2,
  mcBass = 3,
  mcMidiVolume = 4,
  mcMidiMute = 5,
  mcWaveVolume = 6,
  mcWaveMute = 7,
  mcCdVolume = 8,
  mcCdMute = 9,
  mcLineInVolume = 10,
  mcLineInMute = 11,
  mcMicVolume = 12,
  mcMicMute = 13,
  mcSpeakerVolume = 14,
  mcSpeakerMute = 15,
};
using enum tMixerControlType;
inline constexpr int kMixerControlCount = 16;

inline constexpr int kModelCount = 9;

// Connection kinds of tDevCap::Connection.
inline constexpr uint8_t kSerialConnection = 1;
inline constexpr uint8_t kPortConnection = 2;
inline constexpr uint8_t kDeviceConnection = 3;  // a kernel radio device node, /dev/radioN
inline constexpr uint8_t kSdrConnection = 4;     // a SoapySDR device, the n-th one found

// Band limits in MHz, inclusive.
inline constexpr double kFMMin = 87.0;
inline constexpr double kFMMax = 108.0;
inline constexpr double kJapaneseFMMin = 76.0;
inline constexpr double kJapaneseFMMax = 91.0;
inline constexpr double kAMMin = 0.531;
inline constexpr double kAMMax = 1.62;
// Half a kHz either side of a limit, so a stored "087.000" or a sum of steps that lands a
// rounding error past a limit still counts as inside.
inline constexpr double kLimitSlack = 0.0005;
inline constexpr bool WithinLimits(double mhz, double min, double max) {
  return mhz >= min - kLimitSlack && mhz <= max + kLimitSlack;
}

// What one model can do; one record per model.
struct tDevCap {
  std::string Name;
  std::string Maker;
  int32_t VolumeStep = 0;  // one native volume step on the 0..256 scale; 0 = no volume control
  bool HasFM = false;
  bool HasJapaneseFM = false;
  bool HasAM = false;
  double FMStep = 0;  // MHz
  double AMStep = 0;  // MHz
  bool CanVolume = false;
  bool CanMute = false;
  bool MuteOnExitForced = false;
  bool StereoSwitch = false;
  uint8_t Connection = 0;  // kSerialConnection, kPortConnection, kDeviceConnection, kSdrConnection
  int32_t PortCount = 0;   // usable entries of Ports, indices 1..PortCount
  uint16_t DefaultPort = 0;
  uint16_t SelectedPort = 0;        // the port value (not index) last chosen for this model
  std::array<uint16_t, 9> Ports{};  // index 0 stands for no port
  // Consecutive I/O ports the family touches from the base address, for the port grant;
  // 0 for the serial radios.
  int32_t PortSpan = 0;
  // FM limits: the fixed ranges, or what a kernel radio device can tune within them.
  double FMMin = kFMMin;
  double FMMax = kFMMax;
  double JapaneseFMMin = kJapaneseFMMin;
  double JapaneseFMMax = kJapaneseFMMax;

  bool operator==(const tDevCap&) const = default;
};

struct tBandLimits {
  double Min;
  double Max;
};
// The fixed FM range, the Japanese one when asked for.
constexpr tBandLimits FMLimits(bool japanese) {
  return japanese ? tBandLimits{kJapaneseFMMin, kJapaneseFMMax} : tBandLimits{kFMMin, kFMMax};
}

// Hardware index of the configuration and the setup dialog: 0 = no card, model + 1 otherwise.
constexpr int HardwareIndexFromModel(tModel model) {
  return static_cast<int>(model) + 1;
}
constexpr tModel ModelFromHardwareIndex(int index) {
  return (index >= 1 && index <= kModelCount) ? static_cast<tModel>(index - 1) : mRadioTrack;
}

}  // namespace ondivo
