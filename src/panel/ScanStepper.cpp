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
  const double step = state.CurrentStep;
  const double next =
      direction_ == tScanDirection::Up ? card.Frequency() + step : card.Frequency() - step;
  last_ = model_.TuneTo(card.Band(), false, next).Status;
  if (last_ != sNone) return tScanStep::Found;
  return AtLimit() ? tScanStep::Edge : tScanStep::Continue;
}

void ScanStepper::End() {
  model_.State().Scanning = false;
}

}  // namespace ondivo
