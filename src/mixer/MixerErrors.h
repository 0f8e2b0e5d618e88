#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ondivo {

// A failed mixer call: the text names the kind, the code, the code's text and the call.
class eMMError : public std::runtime_error {
 public:
  // code: one of the multimedia codes below; call: the failing function's name.
  // systemErrno: the positive errno behind it, 0 when there was none.
  eMMError(int32_t code, const std::string& call, int systemErrno = 0);

  int32_t Code() const { return code_; }
  const std::string& Call() const { return call_; }
  int SystemErrno() const { return systemErrno_; }

 private:
  int32_t code_;
  std::string call_;
  int systemErrno_;
};

// The sound card lacks the line the mixer needs to exist at all (its playback master).
class eMixerLineNotFound : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Multimedia error codes the mixer reports.
inline constexpr int32_t kMMSysErrError = 1;
inline constexpr int32_t kMMSysErrBadDeviceId = 2;
inline constexpr int32_t kMMSysErrNotEnabled = 3;
inline constexpr int32_t kMMSysErrAllocated = 4;
inline constexpr int32_t kMMSysErrInvalHandle = 5;
inline constexpr int32_t kMMSysErrNoDriver = 6;
inline constexpr int32_t kMMSysErrNoMem = 7;
inline constexpr int32_t kMMSysErrNotSupported = 8;
inline constexpr int32_t kMMSysErrBadErrNum = 9;
inline constexpr int32_t kMMSysErrInvalParam = 11;
inline constexpr int32_t kMMSysErrHandleBusy = 12;
inline constexpr int32_t kMixerErrInvalLine = 1024;
inline constexpr int32_t kMixerErrInvalControl = 1025;
inline constexpr int32_t kMixerErrInvalValue = 1026;

// "Unspecified error", "Device ID out of range", ... ; "Unknown error" for codes without a text.
const char* MMErrorText(int32_t code);

// "System", "Mixer" or "Unknown", by the code's range.
const char* MMErrorKind(int32_t code);

// "Multimedia <kind> Error <code> - <text> in <call>".
std::string FormatMMError(int32_t code, const std::string& call);

// The multimedia code closest to an ALSA result (a negative errno; the sign is ignored).
int32_t MMCodeOfAlsaError(int alsaResult);

// Throws eMMError for a negative ALSA result, naming the call; passes other results through.
int CheckAlsa(int alsaResult, const char* call);

}  // namespace ondivo
