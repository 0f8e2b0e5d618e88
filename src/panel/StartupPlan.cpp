#include "panel/StartupPlan.h"

#include "radio/PlatformCheck.h"

namespace ondivo {

tEntryOutcome DecideEntry(const tEntryFacts& facts) {
  if (facts.OtherCopyRunning) return tEntryOutcome::ExitSilently;
  if (!facts.PlatformSupported) return tEntryOutcome::CannotStart;
  if (facts.PortAccessNeedsGrant && IsModelOnPort(facts.Hardware) && !facts.PortAccessGranted) {
    return tEntryOutcome::NeedsPortAccess;
  }
  return tEntryOutcome::Run;
}

bool NeedsSetup(int32_t hardware, int32_t port, bool configureSwitch) {
  return hardware == 0 || port == 0 || configureSwitch;
}

tCloseAction DecideClose(int shutDown, bool sessionEnding) {
  if (sessionEnding) return tCloseAction::SwitchOff;
  switch (shutDown) {
    case 0:
      return tCloseAction::SwitchOff;
    case 1:
      return tCloseAction::Leave;
    default:
      return tCloseAction::Ask;
  }
}

}  // namespace ondivo
