#pragma once

#include <cstdint>
#include <string>

#include "radio/RadioTypes.h"

namespace ondivo {

class HardwarePortIo;

// What start-up needs to know about the system it runs on. The program runs on Linux; direct
// port access needs a grant from the kernel (ioperm or /dev/port), which stands where the NT
// port driver stood.
struct Platform {
  bool Supported = true;
  bool PortAccessNeedsGrant = true;
};

Platform CurrentPlatform();

// Whether the configured hardware index (0 = none, model + 1) is a card on I/O ports.
bool IsModelOnPort(int hardwareIndex);

// Whether the ports the model touches at the given port index can be used: held from an
// earlier grant (held may be null) or grantable now. True where nothing needs granting (serial
// radios, port index 0). Takes no grant itself.
bool PortAccessGrantable(tModel model, int32_t portIndex, const HardwarePortIo* held = nullptr);

// Takes the ports the model touches at the given port index; true when granted or where
// nothing needs granting.
bool GrantModelPorts(HardwarePortIo& io, tModel model, int32_t portIndex);

// The four-line description of what volume and mute control is possible, lines joined by CR.
std::string CapabilityText(bool canVolume, bool canMute, bool soundCard);

}  // namespace ondivo
