#pragma once

#include "radio/RadioTypes.h"

namespace ondivo {

class PanelModel;

enum class tScanDirection { Down, Up };

// How a scan step ended.
enum class tScanStep {
  Continue,  // nothing found yet
  Found,     // a tuned station: the scan ends on it
  Edge,      // the band edge: the scan ends there
  Stopped,   // StopRequested was set, or the card cannot go on (lost, or did not move)
};

// The automatic scan, one step per call: a step of CurrentStep, or one hardware seek where the
// device has it. The window owns the loop: it lets pending events run between steps (so "Halt
// scanning", Exit, menus and timers reach it) and redraws after each step.
class ScanStepper {
 public:
  ScanStepper(PanelModel& model, tScanDirection direction);

  // Whether a scan may start: FM, not already scanning, not at the band edge.
  bool CanStart() const;
  // At the band edge in the scan direction (compared as storage texts).
  bool AtLimit() const;
  // Sets Scanning and clears StopRequested.
  void Begin();
  tScanStep Step();
  // Clears Scanning.
  void End();
  tSignal LastStatus() const { return last_; }

 private:
  PanelModel& model_;
  tScanDirection direction_;
  tSignal last_ = sNone;
};

}  // namespace ondivo
