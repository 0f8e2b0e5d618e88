// The edit-presets dialog offscreen on an emulated RadioTrack: names, duplicates, the presets
// file, Cancel's question and listening.
#include "stations/tdEditFavorites.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "controls/Display.h"
#include "sim/EmulatedRadioTrack.h"
#include "stations/PresetsFile.h"
#include "stations/TunerSection.h"
#include "tests/support/PanelRig.h"
#include "tests/support/ScriptedPrompter.h"

namespace ondivo {
namespace {

class EditFavoritesTest : public ::testing::Test {
 protected:
  EditFavoritesTest() {
    rig.bank.Store(1, "Classic", 87.0, bFM);
    rig.bank.Store(2, "Blues", 95.5, bFM);
    rig.bank.Store(3, "Talk", 0.999, bAM);
  }
  tdEditFavorites& Open(std::string fileName = "") {
    dialog = std::make_unique<tdEditFavorites>(nullptr, rig.bank, 2, std::move(fileName), rig.card,
                                               0.1, prompts, rig.locale, nullptr);
    dialog->show();
    return *dialog;
  }
  template <typename T>
  T* Find(const char* name) {
    T* w = dialog->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Select(int n) { Find<QListWidget>("Presets")->setCurrentRow(n - 1); }
  void Click(const char* name) { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }
  // What the emulated card decoded from the port bytes.
  std::optional<double> CardPlays() {
    auto* card = dynamic_cast<sim::EmulatedRadioTrack*>(rig.rig.Bus().CardAt(
        rig.card.GetDevCap(mRadioTrack).Ports[static_cast<size_t>(rig.card.Port())]));
    return card ? card->TunedFrequency() : std::nullopt;
  }

  test::PanelRig rig{mRadioTrack};
  test::ScriptedPrompter prompts;
  std::unique_ptr<tdEditFavorites> dialog;
};

TEST_F(EditFavoritesTest, ANameInAnEmptyEntryTakesFM87AndADuplicateHoldsOkAndSave) {
  Open();
  EXPECT_EQ(dialog->windowTitle(), "Edit presets - Internal");
  EXPECT_FALSE(Find<QLabel>("ErrMsg")->isVisible());
  Select(5);
  QTest::keyClicks(Find<QLineEdit>("StationName"), "New");
  EXPECT_EQ(dialog->Editor().Entry(5), (tPreset{"New", 87.0, bFM, true}));
  EXPECT_TRUE(Find<QLabel>("ErrMsg")->isVisible());
  EXPECT_FALSE(Find<QPushButton>("btOk")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("btSave")->isEnabled());
  EXPECT_EQ(Find<QLabel>("StoredEntries")->text(), "Stored entries: 4");
  // The digits show their lit dots in aqua.
  const QImage digit = Find<TunerSection>("StationData")->Digit(1)->grab().toImage();
  int lit = 0;
  for (int y = 0; y < digit.height(); ++y)
    for (int x = 0; x < digit.width(); ++x) lit += digit.pixelColor(x, y) == QColor(0, 255, 255);
  EXPECT_GT(lit, 20);   // the 8 of 87.0
  Click("btTuneNext");  // 87.1: no longer a duplicate
  EXPECT_FALSE(Find<QLabel>("ErrMsg")->isVisible());
  EXPECT_TRUE(Find<QPushButton>("btOk")->isEnabled());

  // Insert waits until entry 100 is free.
  Select(100);
  QTest::keyClicks(Find<QLineEdit>("StationName"), "Last");
  Select(4);
  EXPECT_FALSE(Find<QPushButton>("btInsert")->isEnabled());
}

TEST_F(EditFavoritesTest,
       SaveAfterOpenWritesTheOpenedFileAndAnEmptyListWritesAFileTheReaderRefuses) {
  const auto file = rig.dir / "mine.ovp";
  PresetsBank other;
  other.Store(1, "Coast", 89.7, bFM);
  ASSERT_TRUE(WritePresetsFile(file, other, rig.locale));
  Open();
  prompts.answers = {true};  // the current presets will be erased
  prompts.files = {file.string()};
  Click("btLoad");
  EXPECT_EQ(dialog->windowTitle(), QString::fromStdString("Edit presets - " + file.string()));
  EXPECT_EQ(dialog->Editor().Current(), 0);
  QTest::keyClicks(Find<QLineEdit>("StationName"), " Radio");
  prompts.shown.clear();
  Click("btSave");
  EXPECT_TRUE(prompts.shown.empty());
  PresetsBank read;
  ASSERT_EQ(LoadPresetsFile(file, rig.locale, read), kPresetsLoaded);
  EXPECT_EQ(read.Preset(1).Name, "Coast Radio");

  const auto empty = rig.dir / "empty.ovp";
  tdEditFavorites unnamed(nullptr, rig.bank, 0, "", rig.card, 0.1, prompts, rig.locale, nullptr);
  dialog.reset();
  prompts.answers = {true};
  prompts.files = {empty.string()};
  QTest::mouseClick(unnamed.findChild<QPushButton*>("btNew"), Qt::LeftButton);
  QTest::mouseClick(unnamed.findChild<QPushButton*>("btSave"), Qt::LeftButton);
  ASSERT_EQ(prompts.shown.back().kind, test::ScriptedPrompter::Shown::Save);
  EXPECT_EQ(test::ReadBytes(empty), "");
  EXPECT_EQ(LoadPresetsFile(empty, rig.locale, read), kPresetsMalformed);
  EXPECT_EQ(unnamed.windowTitle(), QString::fromStdString("Edit presets - " + empty.string()));
}

TEST_F(EditFavoritesTest, CancelAsksOnlyWhenAPresetOfThePanelWouldBeLost) {
  Open();
  Select(7);
  QTest::keyClicks(Find<QLineEdit>("StationName"), "Free slot");
  Click("btCancel");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_FALSE(dialog->isVisible());

  Open();
  Select(2);
  QTest::keyClicks(Find<QLineEdit>("StationName"), " and Soul");
  prompts.answers = {false};
  Click("btCancel");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            "Presets are changed!\rAre you sure that you want\rexit without save?");
  EXPECT_TRUE(dialog->isVisible());
  prompts.answers = {true};
  Click("btCancel");
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(rig.bank.Preset(2).Name, "Blues");
}

TEST_F(EditFavoritesTest, ListenTunesTheCardForFiveSecondsAndRefusesTheOtherBand) {
  rig.card.Tune(false, bFM, 100.0);
  Open();
  auto* listen = Find<QPushButton>("btListen");
  Select(3);  // AM while the card is on FM
  Click("btListen");
  EXPECT_FALSE(listen->isChecked());
  EXPECT_NEAR(CardPlays().value_or(0), 100.0, 0.001);

  Select(2);
  Click("btListen");
  EXPECT_TRUE(listen->isChecked());
  EXPECT_NEAR(CardPlays().value_or(0), 95.5, 0.001);
  ASSERT_TRUE(dialog->Preview()->isActive());
  EXPECT_EQ(dialog->Preview()->interval(), 5000);
  dialog->PreviewTimer();  // the five seconds are over
  EXPECT_NEAR(CardPlays().value_or(0), 100.0, 0.001);
  EXPECT_FALSE(listen->isChecked());
  EXPECT_EQ(listen->text(), "Listen");
  EXPECT_FALSE(dialog->Preview()->isActive());
}

}  // namespace
}  // namespace ondivo
