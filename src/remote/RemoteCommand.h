#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "radio/RadioTypes.h"

namespace ondivo {

class PresetsBank;

// The running copy's names on the session bus: MPRIS2 for desktop controls, and our own
// interface for scripts and `ondivo --send`.
inline constexpr const char* kMprisService = "org.mpris.MediaPlayer2.ondivo";
inline constexpr const char* kMprisPath = "/org/mpris/MediaPlayer2";
inline constexpr const char* kRadioService = "org.ondivo.Radio";
inline constexpr const char* kRadioPath = "/org/ondivo/Radio";
inline constexpr const char* kRadioInterface = "org.ondivo.Radio1";

// A method of the radio interface and its arguments, in the interface's own types.
using tRemoteArgument = std::variant<std::string, double, int32_t, bool>;
struct tRemoteCall {
  std::string Method;
  std::vector<tRemoteArgument> Arguments;
};

// What `ondivo --send WORDS...` asks of the running copy: a call (none for "status", which
// only asks), or what was wrong with the words.
struct tSendRequest {
  std::optional<tRemoteCall> Call;
  std::string Error;
};
tSendRequest ParseSendCommand(const std::vector<std::string>& words);

// The commands --send understands, for the usage text.
std::string SendCommandsText();

// "FM" / "AM"; a band from its name in any case.
std::string BandName(tBand band);
std::optional<tBand> BandFromName(const std::string& name);

// The radio interface's read-only properties, as --send prints them.
struct tRemoteStatus {
  std::string Band;
  double Frequency = 0;  // MHz
  std::string Station;   // empty without a preset or an RDS name
  std::string Signal;    // the status flag's text
  int Preset = 0;        // 0: none
  int Volume = 0;        // percent
  bool Muted = false;
};
std::string FormatRemoteStatus(const tRemoteStatus& status);

// The assigned preset after (step > 0) or before current, wrapping round the bank; 0 when
// no preset is assigned.
int NeighbourPreset(const PresetsBank& bank, int current, int step);

}  // namespace ondivo
