// The panel built through the executable's own wiring, with the real settings dialog on the
// emulated sound card.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "app/PanelWiring.h"
#include "mixer/SoundCard.h"
#include "sim/SimulatedRig.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestPanelWiring.h"

namespace ondivo {
namespace {

// Acts on the settings dialog once it shows, then presses OK.
void InSettings(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
    QTest::mouseClick(dialog->findChild<QPushButton*>("btOk"), Qt::LeftButton);
  });
}

void ClickRoute(QWidget& dialog, const QString& caption) {
  auto* list = dialog.findChild<QListWidget*>("ScList");
  const auto items = list->findItems(caption, Qt::MatchExactly);
  if (items.size() != 1) {
    ADD_FAILURE() << caption.toStdString() << " is not offered";
    return;
  }
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(items.front()).center());
}

class PanelSettingsTest : public test::EmulatedSoundCardTestBase {
 protected:
  void SetUp() override {
    StartCard();
    CardHardware hardware = rig.Hardware();
    mixer = ConnectSoundCard(hardware, soundCard->DeviceName());
    card = std::make_unique<TRadioCard>(std::move(hardware));
    test::WriteBytes(dir / "Ondivo.ini",
                     "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n");
    tPanelWiring wiring = test::EmulatedPanelWiring(*card, prompts, dir.Path(), &rig);
    wiring.Mixer = mixer;
    wiring.MixerDevice = soundCard->DeviceName();
    panel = std::make_unique<tdMain>(PanelServices(wiring));
    ASSERT_TRUE(panel->Create());
  }

  sim::SimulatedRig rig{mRadioTrack, false};
  TMixer* mixer = nullptr;
  std::unique_ptr<TRadioCard> card;
  test::ScriptedPrompter prompts;
  std::unique_ptr<tdMain> panel;
};

TEST_F(PanelSettingsTest, LineInChosenInTheSettingsStaysThroughAColourChange) {
  ASSERT_EQ(card->VolumeLine(), vlNative);
  InSettings([](QWidget& d) { ClickRoute(d, "Line In"); });
  panel->Run(cmSetup);
  EXPECT_EQ(card->VolumeLine(), vlLineIn);
  EXPECT_EQ(panel->Settings().VolumeLine, vlLineIn);
  // The line plays at the volume the panel had, as near as the line's 32 steps come.
  EXPECT_EQ(mixer->Value(mcLineInMute, 0), mixer->Minimum(mcLineInMute));
  EXPECT_NEAR(card->Volume(), 128, 256 / 31);
  EXPECT_GT(mixer->Value(mcLineInVolume, 0), mixer->Minimum(mcLineInVolume));

  InSettings([](QWidget& d) {
    QTest::mouseClick(d.findChild<QToolButton*>("oDigitOn9"), Qt::LeftButton);
  });
  panel->Run(cmSetup);
  EXPECT_EQ(panel->Settings().Foreground, 9);
  EXPECT_EQ(card->VolumeLine(), vlLineIn);
  EXPECT_EQ(panel->Settings().VolumeLine, vlLineIn);
}

}  // namespace
}  // namespace ondivo
