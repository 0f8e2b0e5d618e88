#pragma once

#include <QWidget>
#include <array>

#include "platform/LocaleFormat.h"
#include "radio/RadioTypes.h"

class QLabel;
class QSlider;
class QToolButton;
class QPushButton;

namespace ondivo {

class TDisplay;

// The "Tuner" group of the organizer and the edit-presets dialog: six dot-matrix digits, the
// band buttons, the frequency slider with its scale, fine tuning and the step controls. The
// organizer adds the scan buttons, the tuned indicator and "OUT OF RANGE". The section shows;
// the dialog decides what a control does.
class TunerSection : public QWidget {
  Q_OBJECT

 public:
  struct Options {
    bool Scan = false;             // scan buttons, "Halt scanning", the tuned and scan labels
    bool OutOfRangeLabel = false;  // "OUT OF RANGE" besides the red digits
  };

  TunerSection(QWidget* parent, Options options, LocaleFormat locale);

  // Band buttons, labels, scale and slider range; FM alone shows the step and scan controls.
  void SetBand(tBand band);
  tBand Band() const { return band_; }
  // Digits, slider, its hint and the fine-tune buttons for f; red digits when outOfRange.
  void ShowFrequency(double mhz, bool outOfRange);
  // The step controls: slider 1..max at value, label in kHz.
  void ShowStep(int min, int max, int value, int kHz);
  void ShowTuned(char mark, bool bright);
  // A scan runs towards direction ('<' or '>'), or none (0): the scan buttons give way to
  // "Halt scanning".
  void ShowScanning(char direction);

  QSlider* Slider() const { return slider_; }
  QToolButton* ScanPrevButton() const { return scanPrev_; }
  QToolButton* ScanNextButton() const { return scanNext_; }
  QToolButton* TunePrevButton() const { return tunePrev_; }
  QToolButton* TuneNextButton() const { return tuneNext_; }
  QLabel* TunedLabel() const { return tuned_; }
  QLabel* OutOfRange() const { return outOfRange_; }
  TDisplay* Digit(int i) const { return digits_[static_cast<size_t>(i)]; }

 signals:
  void FrequencyMoved(int kHz, bool sliding);
  void SliderReleased();
  void BandClicked(tBand band);
  void TunePrevClicked();
  void TuneNextClicked();
  void StepUpClicked();
  void StepDownClicked();
  void StepSliderMoved(int value);
  void ScanPrevClicked();
  void ScanNextClicked();
  void StopScanClicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceScale();
  void BuildReadout(QWidget* readout);

  Options options_;
  LocaleFormat locale_;
  tBand band_ = bFM;
  std::array<TDisplay*, 6> digits_{};
  QLabel* point_ = nullptr;
  QLabel* amFm_ = nullptr;
  QLabel* hz_ = nullptr;
  QLabel* tuned_ = nullptr;
  QLabel* scanning_ = nullptr;
  QLabel* outOfRange_ = nullptr;
  QToolButton* fm_ = nullptr;
  QToolButton* am_ = nullptr;
  QSlider* slider_ = nullptr;
  QWidget* scaleRow_ = nullptr;
  std::array<QLabel*, 12> scale_{};
  int scaleCount_ = 0;
  QToolButton* tunePrev_ = nullptr;
  QToolButton* tuneNext_ = nullptr;
  QWidget* stepBox_ = nullptr;
  QSlider* stepSlider_ = nullptr;
  QLabel* step_ = nullptr;
  QToolButton* scanPrev_ = nullptr;
  QToolButton* scanNext_ = nullptr;
  QToolButton* stopScan_ = nullptr;
  QLabel* scanLabel_ = nullptr;
};

}  // namespace ondivo
