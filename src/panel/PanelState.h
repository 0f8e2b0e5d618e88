#pragma once

#include <string>

#include "radio/RadioTypes.h"

namespace ondivo {

// The front panel's own state, read by many handlers. Everything starts cleared.
struct tPanelState {
  bool Scanning = false;       // most commands are ignored while a scan runs
  bool StopRequested = false;  // the running scan ends at its next step
  bool DialogOpen = false;     // tray clicks are ignored while a modal dialog is open
  bool Hidden = false;         // minimised to the tray
  bool Muted = false;          // the user's mute state
  bool SessionEnding = false;  // the desktop session ends: the radio goes off at close

  bool StereoSwitch = false;  // the stereo button's state, handed to every Tune
  double CurrentStep = 0.1;   // FM fine-tuning and scan step, MHz

  int CurrentPreset = 0;  // 0 = none
  int Page = 1;           // 1..10
  bool MemoryArmed = false;
  bool ClearArmed = false;

  tSignal Status = sNone;  // what the status flag shows
  bool StatusHidden = false;
  std::string StationNumber = "??";
  std::string StationName;
};

}  // namespace ondivo
