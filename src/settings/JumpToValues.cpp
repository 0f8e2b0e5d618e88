#include "settings/JumpToValues.h"

#include <algorithm>
#include <cmath>

#include "radio/RadioCard.h"

namespace ondivo {

namespace {
int KHz(double mhz) {
  return static_cast<int>(std::lround(mhz * 1000.0));
}
}  // namespace

tJumpToValues::tJumpToValues(tJumpBand fm, tJumpBand am, tBand band, double frequency)
    : fmBand_(fm), amBand_(am), band_(band), fm_(fm.Min), am_(am.Min) {
  (band_ == bFM ? fm_ : am_) = Snap(frequency);
}

tJumpToValues tJumpToValues::FromCard(const TRadioCard& card) {
  const tDevCap cap = card.GetDevCap(card.Model());
  const tJumpBand fm{cap.HasFM, card.FMMin(), card.FMMax(), cap.FMStep};
  const tJumpBand am{cap.HasAM, TRadioCard::AMMin(), TRadioCard::AMMax(), cap.AMStep};
  return tJumpToValues(fm, am, card.Band(), card.Frequency());
}

bool tJumpToValues::SetBand(tBand band) {
  if (!HasBand(band)) return false;
  band_ = band;
  return true;
}

tJumpSlider tJumpToValues::Slider() const {
  const tJumpBand& b = Limits();
  return {KHz(b.Min), KHz(b.Max), std::max(1, KHz(b.Step))};
}

int tJumpToValues::SliderPosition() const {
  return KHz(Value());
}

double tJumpToValues::Snap(double frequency) const {
  const tJumpBand& b = Limits();
  // Text that is no number stays where the band starts rather than reaching the card as NaN.
  if (!std::isfinite(frequency)) frequency = b.Min;
  return TRadioCard::SnapFrequency(frequency, b.Step, b.Min, b.Max);
}

double tJumpToValues::Type(double frequency) {
  return (band_ == bFM ? fm_ : am_) = Snap(frequency);
}

double tJumpToValues::Slide(int kHz) {
  return Type(kHz * 0.001);
}

}  // namespace ondivo
