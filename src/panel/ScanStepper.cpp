#include "panel/ScanStepper.h"

#include "panel/PanelModel.h"
#include "radio/RadioCard.h"
#include "stations/FrequencyText.h"

namespace ondivo {

ScanStepper::ScanStepper(PanelModel& model, tScanDirection direction)
    : model_(model), direction_(direction) {}

bool ScanStepper::AtLimit() const {
  const TRadioCard& card = model_.Card();
  const double edge = direction_ == tScanDirection::Up ? card.BandMax() : card.BandMin();
  return FormatFrequencyKey(card.Frequency(), model_.Locale()) ==
         FormatFrequencyKey(edge, model_.Locale());
}

bool ScanStepper::CanStart() const {
  return !model_.State().Scanning && model_.Card().Band() == bFM && !AtLimit();
}

void ScanStepper::Begin() {
  model_.State().Scanning = true;
  model_.State().StopRequested = false;
  model_.State().StationName.clear();
  model_.State().StationNumber = "??";
}

tScanStep ScanStepper::Step() {
  tPanelState& state = model_.State();
  if (state.StopRequested) return tScanStep::Stopped;
  if (AtLimit()) return tScanStep::Edge;
  TRadioCard& card = model_.Card();
  const std::string before = FormatFrequencyKey(card.Frequency(), model_.Locale());
  const bool up = direction_ == tScanDirection::Up;
  if (card.CanHardwareSeek()) {
    // The device finds the next station itself; a stop between seeks still ends the scan.
    last_ = model_.SeekStep(up).Status;
  } else {
    const double step = state.CurrentStep;
    last_ = model_.TuneTo(card.Band(), false, card.Frequency() + (up ? step : -step)).Status;
  }
  // A receiver pulled out mid-scan, or a card that does not tune (switched off by a close, or
  // never switched on): stepping on would stand still for ever.
  if (card.DeviceLost()) return tScanStep::Stopped;
  if (FormatFrequencyKey(card.Frequency(), model_.Locale()) == before) return tScanStep::Stopped;
  if (last_ != sNone) return tScanStep::Found;
  return AtLimit() ? tScanStep::Edge : tScanStep::Continue;
}

void ScanStepper::End() {
  model_.State().Scanning = false;
}

}  // namespace ondivo
