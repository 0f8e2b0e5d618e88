// The alarm and sleep dialogs and the tones as the executable's wiring hands them to the panel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/PanelWiring.h"
#include "audio/AlsaTone.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/PanelRig.h"
#include "tests/support/ScriptedPrompter.h"

namespace ondivo {
namespace {

// Presses OK in the dialog that opens next, after checking its caption.
void PressOkIn(const QString& caption) {
  QTimer::singleShot(0, [caption] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), caption);
    QTest::mouseClick(dialog->findChild<QPushButton*>("btOk"), Qt::LeftButton);
  });
}

class PanelScheduleWiringTest : public test::EmulatedSoundCardTestBase {};

TEST_F(PanelScheduleWiringTest, AlarmAndSleepOpenTheirDialogsAndTonesPlayOnTheSoundCard) {
  StartCard();
  test::PanelRig r(mRadioTrack);
  r.bank.Store(7, "Forum", 98.0, bFM);
  test::ScriptedPrompter prompts;
  const std::unique_ptr<Tone> tone = PanelTone(soundCard->DeviceName());
  tPanelWiring wiring;
  wiring.Card = &r.card;
  wiring.Prompts = &prompts;
  wiring.Tones = tone.get();
  const tMainServices services = PanelServices(wiring);

  PressOkIn("Alarm setting");
  EXPECT_EQ(services.RunAlarm(nullptr, {6, 30, 7}, r.bank, r.card, 0), (tAlarmSetting{6, 30, 7}));
  PressOkIn("Sleep");
  EXPECT_EQ(services.RunSleep(nullptr, 20), 20);

  ASSERT_EQ(services.Tones, tone.get());
  services.Tones->Play(880, 300);
  static_cast<AlsaTone&>(*tone).Flush();
  EXPECT_EQ(soundCard->Played().size(), 1u);
}

}  // namespace
}  // namespace ondivo
