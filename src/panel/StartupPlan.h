#pragma once

#include <cstdint>
#include <string>

namespace ondivo {

// The entry sequence's decision, in the order it is checked.
enum class tEntryOutcome {
  ExitSilently,     // another copy runs: end at once with exit code 0
  CannotStart,      // unsupported system
  NeedsPortAccess,  // a configured port card and no port access: explain and end
  Run,
};

struct tEntryFacts {
  bool OtherCopyRunning = false;
  bool PlatformSupported = true;
  bool PortAccessNeedsGrant = true;
  int32_t Hardware = 0;  // [Configuration] Hardware: model + 1, 0 = none
  bool PortAccessGranted = false;
};

tEntryOutcome DecideEntry(const tEntryFacts& facts);

// The setup dialog opens on a first run (no card or no port configured) or when asked for.
bool NeedsSetup(int32_t hardware, int32_t port, bool configureSwitch);

// What closing does to the radio.
enum class tCloseAction {
  SwitchOff,  // "Mute audio", and always at a session end
  Leave,      // "Leave in current state"
  Ask,        // "Ask at shutdown": the exit dialog decides
};
tCloseAction DecideClose(int shutDown, bool sessionEnding);

// The exit dialog's answers.
enum class tExitAnswer { KeepPlaying, SwitchOff, NotExit };

}  // namespace ondivo
