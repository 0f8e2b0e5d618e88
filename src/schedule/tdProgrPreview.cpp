#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>

#include "audio/Tone.h"
#include "radio/RadioCard.h"
#include "schedule/tdProgr.h"

namespace ondivo {

namespace {

constexpr std::chrono::milliseconds kTestLength{5000};

void PopUp(QPushButton* button) {
  const QSignalBlocker blocker(button);
  button->setChecked(false);
}

}  // namespace

void tdProgr::btPrFreqClick(bool down) {
  if (!down) {
    StopPreview();
    return;
  }
  StopPreview();
  TRadioCard& card = context_.Card;
  const double frequency = freq_->value();
  // Only a frequency the card's current band can take is tried.
  if (frequency < card.BandMin() - 1e-9 || frequency > card.BandMax() + 1e-9) {
    PopUp(btPrFreq_);
    return;
  }
  {
    const QSignalBlocker blocker(btPrFreq_);
    btPrFreq_->setChecked(true);
  }
  card.Tune(freqStereo_->isChecked(), panelBand_, frequency);
  tuned_->setText(card.GetSignal() == sNone ? "Not tuned" : "Tuned");
  tuned_->show();
  previewItem_ = Selected();
  const tMonotonic now = context_.Timers.Now();
  testUntil_ = now + kTestLength;
  preview_->start(static_cast<int>(kTestLength.count()));
}

void tdProgr::btPrBeepClick(bool down) {
  StopPreview();
  if (!down) return;
  {
    const QSignalBlocker blocker(btPrBeep_);
    btPrBeep_->setChecked(true);
  }
  previewItem_ = Selected();
  beeps_.Start(times_->value(), bFreq_->value(), mSecs_->value(), context_.Timers.Now());
  preview_->start(static_cast<int>(BeepSequence::kInterval.count()));
}

void tdProgr::PreviewTick() {
  const tMonotonic now = context_.Timers.Now();
  if (testUntil_) {
    // A timer that fires early waits for the rest of the test.
    if (now < *testUntil_) {
      preview_->start(static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(*testUntil_ - now).count()));
      return;
    }
    StopPreview();
    return;
  }
  switch (beeps_.Tick(now, true)) {
    case BeepSequence::tStep::Wait:
      preview_->start(static_cast<int>(beeps_.Remaining(now).count()));
      return;
    case BeepSequence::tStep::Sound:
      if (context_.Tones) {
        context_.Tones->Play(beeps_.Frequency(), beeps_.Duration());
      } else {
        QApplication::beep();
      }
      preview_->start(static_cast<int>(beeps_.Remaining(now).count()));
      return;
    case BeepSequence::tStep::Stop:
      StopPreview();
      return;
  }
}

void tdProgr::StopPreview() {
  preview_->stop();
  previewItem_ = -1;
  beeps_ = BeepSequence{};
  PopUp(btPrBeep_);
  if (testUntil_) {
    testUntil_.reset();
    tuned_->hide();
    PopUp(btPrFreq_);
    RestoreStation();
  }
}

}  // namespace ondivo
