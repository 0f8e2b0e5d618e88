#pragma once

#include "radio/RadioTypes.h"

namespace ondivo {

class TRadioCard;

// The limits and grid of one band as the jump-to dialog edits it.
struct tJumpBand {
  bool Available = false;
  double Min = 0;
  double Max = 0;
  double Step = 0;
};

// A slider range in kHz.
struct tJumpSlider {
  int Min = 0;
  int Max = 0;
  int Step = 1;
};

// The jump-to dialog's state: the band being edited and the last value of each band, always
// on the band's grid.
class tJumpToValues {
 public:
  // The card's bands, its current band and frequency.
  tJumpToValues(tJumpBand fm, tJumpBand am, tBand band, double frequency);
  static tJumpToValues FromCard(const TRadioCard& card);

  tBand Band() const { return band_; }
  bool HasBand(tBand band) const { return Of(band).Available; }
  // Switches to a band the card has; its remembered value comes back.
  bool SetBand(tBand band);
  const tJumpBand& Limits() const { return Of(band_); }
  tJumpSlider Slider() const;
  double Value() const { return band_ == bFM ? fm_ : am_; }
  int SliderPosition() const;  // Value() in kHz

  // A typed value or a slider position, snapped onto the band's grid; it becomes the band's
  // value and is returned.
  double Type(double frequency);
  double Slide(int kHz);
  // What OK tunes for the text in the edit.
  double Snap(double frequency) const;

 private:
  const tJumpBand& Of(tBand band) const { return band == bFM ? fmBand_ : amBand_; }

  tJumpBand fmBand_;
  tJumpBand amBand_;
  tBand band_;
  double fm_;
  double am_;
};

}  // namespace ondivo
