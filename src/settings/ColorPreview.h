#pragma once

#include <QFrame>

#include <array>

class QLabel;

namespace ondivo {

class TDisplay;

// A small copy of the front panel's read-out for the "Colors" page: six digits showing
// 106.600, the station number, name and clock, band and unit, the reception label and the four
// indicators, in the colours being chosen. The reception label and the indicators blink.
class TColorPreview : public QFrame {
 public:
  explicit TColorPreview(QWidget* parent = nullptr);

  // Palette indices 0..15 for the digits and the panel, style 0..3, choices 0..7.
  void SetDigitColors(int offIndex, int onIndex, int panelIndex);
  void SetStyle(int style);
  void SetTextColor(int choice);
  void SetFlagColor(int choice);

  // One blink: show the current phase, then flip it. The dialog's timer calls it every second.
  void ColorTimerTimer();
  bool BlinkOn() const { return blinkOn_; }

  TDisplay* Digit(int i) const { return digits_[static_cast<size_t>(i)]; }
  QLabel* Reception() const { return reception_; }
  QLabel* Indicator(int i) const { return indicators_[static_cast<size_t>(i)]; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowPhase(bool on);
  void ApplyLabelColors();

  std::array<TDisplay*, 6> digits_{};
  QWidget* point_ = nullptr;
  std::array<QLabel*, 5> labels_{};  // number, name, clock, band, unit
  QLabel* reception_ = nullptr;
  std::array<QLabel*, 4> indicators_{};  // PROG, ALARM, RADIO, SLEEP
  int offIndex_ = 2;
  int onIndex_ = 10;
  int panelIndex_ = 0;
  int textChoice_ = 7;
  int flagChoice_ = 5;
  bool blinkOn_ = true;  // the phase the next blink shows
  bool shownOn_ = true;  // the phase on screen
};

}  // namespace ondivo
