#include "mixer/MixerErrors.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace ondivo {
namespace {

struct CodeText {
  int32_t code;
  const char* text;
};

constexpr std::array<CodeText, 23> kCodeTexts{{
    {1, "Unspecified error"},
    {2, "Device ID out of range"},
    {3, "Driver failed enable"},
    {4, "Device already allocated"},
    {5, "Device handle is invalid"},
    {6, "No device driver present"},
    {7, "Memory allocation error"},
    {8, "Function isn't supported"},
    {9, "Error value out of range"},
    {10, "Invalid flag passed"},
    {11, "Invalid parameter passed"},
    {12, "Handle being used simultaneously on another thread (eg callback)"},
    {13, "Specified alias not found"},
    {14, "Bad registry database"},
    {15, "Registry key not found"},
    {16, "Registry read error"},
    {17, "Registry write error"},
    {18, "Registry delete error"},
    {19, "Registry value not found"},
    {20, "Driver does not call DriverCallback"},
    {1024, "Invalid Mixer Line"},
    {1025, "Invalid Mixer Control"},
    {1026, "Invalid Mixer Value"},
}};

struct ErrnoCode {
  int error;
  int32_t code;
};

// ALSA reports failures as negative errno values; each maps onto the nearest multimedia code.
// Anything not listed is an unspecified error (the errno stays on the exception).
constexpr std::array<ErrnoCode, 15> kErrnoCodes{{
    {ENOENT, kMMSysErrBadDeviceId},   // no such card or device name
    {ENXIO, kMMSysErrBadDeviceId},    // card index without a card
    {ENODEV, kMMSysErrNoDriver},      // the card's driver is gone
    {EBUSY, kMMSysErrAllocated},      // opened exclusively elsewhere
    {EACCES, kMMSysErrNotEnabled},    // no permission on the control device
    {EPERM, kMMSysErrNotEnabled},     //
    {EBADF, kMMSysErrInvalHandle},    // handle closed or never opened
    {EBADFD, kMMSysErrInvalHandle},   // handle in the wrong state
    {ENOMEM, kMMSysErrNoMem},         //
    {ENOSYS, kMMSysErrNotSupported},  // the plugin lacks the operation
    {EOPNOTSUPP, kMMSysErrNotSupported},
    {ERANGE, kMMSysErrBadErrNum},   // value outside the control's range
    {EINVAL, kMMSysErrInvalParam},  // wrong element or argument
    {EAGAIN, kMMSysErrHandleBusy},  // try again: someone else holds it
    {EIO, kMMSysErrError},          // the device failed
}};

}  // namespace

eMMError::eMMError(int32_t code, const std::string& call, int systemErrno)
    : std::runtime_error(FormatMMError(code, call)),
      code_(code),
      call_(call),
      systemErrno_(systemErrno) {}

const char* MMErrorText(int32_t code) {
  for (const auto& entry : kCodeTexts) {
    if (entry.code == code) return entry.text;
  }
  return "Unknown error";
}

const char* MMErrorKind(int32_t code) {
  if (code >= 1 && code <= 20) return "System";
  if (code >= 1024 && code <= 1026) return "Mixer";
  return "Unknown";
}

std::string FormatMMError(int32_t code, const std::string& call) {
  return "Multimedia " + std::string(MMErrorKind(code)) + " Error " + std::to_string(code) + " - " +
         MMErrorText(code) + " in " + call;
}

int32_t MMCodeOfAlsaError(int alsaResult) {
  const int error = std::abs(alsaResult);
  for (const auto& entry : kErrnoCodes) {
    if (entry.error == error) return entry.code;
  }
  return kMMSysErrError;
}

int CheckAlsa(int alsaResult, const char* call) {
  if (alsaResult < 0) throw eMMError(MMCodeOfAlsaError(alsaResult), call, -alsaResult);
  return alsaResult;
}

}  // namespace ondivo
