#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "panel/CommandLine.h"
#include "panel/StartupPlan.h"
#include "radio/PlatformCheck.h"
#include "radio/RadioTypes.h"

namespace ondivo {

class HardwarePortIo;
class Prompter;

// The options that need no window: the usage text, the version, a wrong option. The exit
// code, or nothing when the program goes on.
std::optional<int> AnswerWithoutWindow(const tCommandLine& options, const char* version);

// The folder of Ondivo.ini, by the usual rule (beside the executable, the XDG folder, or
// --config-dir).
std::filesystem::path ConfigDirFor(const tCommandLine& options);

// [Configuration] Hardware and Port read exactly as the panel reads them to configure the card.
struct tStoredCard {
  int32_t Hardware = 0;
  int32_t Port = 0;
};
tStoredCard ReadStoredCard(const std::filesystem::path& configDir);

// Whether the program may run on this platform with the stored card. The port grant is checked
// for the port the card will use: a stored port the model lacks falls back to its default.
using PortGrantCheck = std::function<bool(tModel model, int32_t portIndex)>;
tEntryOutcome DecideStart(const tStoredCard& stored, const Platform& platform, bool simulate,
                          const PortGrantCheck& grantable);

// Takes the I/O ports the stored card will use while the program may still take them: after
// start-up it gives up CAP_SYS_RAWIO. When the settings open at start (a first run, or
// --configure) the user picks the card there, so every port card's ports are taken. What was
// taken shows in ports.Holds(); no grant is current afterwards.
void TakeStartPorts(HardwarePortIo& ports, const tStoredCard& stored, bool configureSwitch);

// Tells the user why the program cannot run; the exit code, or nothing when it runs.
std::optional<int> RefuseStart(tEntryOutcome outcome, Prompter& prompts);

}  // namespace ondivo
