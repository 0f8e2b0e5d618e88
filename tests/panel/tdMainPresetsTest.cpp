// The presets group of the real panel on emulated hardware, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "panel/PanelPictures.h"
#include "panel/tdAskName.h"
#include "panel/tdMain.h"
#include "stations/PresetsFile.h"
#include "tests/support/PanelWindow.h"

namespace ondivo {
namespace {

using test::PanelWindow;
using test::RadioTrackIni;

bool ShowsGlyph(const QToolButton* b, const QString& name) {
  const QSize size(16, 8);
  return b->icon().pixmap(size).toImage() == PictureIcon(name).pixmap(size).toImage();
}

QAction* Entry(QMenu* menu, const QString& name) {
  return menu->findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

QStringList Captions(QMenu* menu) {
  QStringList out;
  for (const QAction* a : menu->actions()) out << a->objectName() + "=" + a->text();
  return out;
}

QStringList Hints(tdMain& w) {
  QStringList out;
  for (int b = 1; b <= 10; ++b) out << w.PresetButton(b)->toolTip();
  return out;
}

// Presets 21 to 30 on 91.0 to 99.0 MHz, named after their number.
std::string PageThreeIni() {
  std::string list, stations;
  for (int n = 21; n <= 30; ++n) {
    list += std::to_string(n) + ",";
    stations += "Station" + std::to_string(n) + "=M 0" + std::to_string(n + 70) + ".000 P" +
                std::to_string(n) + "\n";
  }
  return RadioTrackIni("[Frequency]\nFrequency=M 088.000\n[Presets]\nList=" + list + "\n" +
                       stations);
}

TEST(tdMainPresetsTest, PresetHundredIsStoredFromPageTenAndKeyedStationDoubleZero) {
  PanelWindow p(RadioTrackIni("ShutDown=0\n[Frequency]\nFrequency=M 088.100\n"));
  ASSERT_TRUE(p.Create());
  for (int i = 0; i < 9; ++i) p.window->btNextPrevBottomClick();
  QToolButton* button10 = p.window->PresetButton(10);
  EXPECT_EQ(button10->text(), "00");
  p.askNameAnswers = {"Classic"};
  p.window->Stations_Memory();
  ASSERT_TRUE(p.window->State().MemoryArmed);
  button10->click();
  EXPECT_FALSE(p.window->State().MemoryArmed);
  EXPECT_TRUE(p.dialogOpenDuringAskName);
  EXPECT_EQ(p.window->State().CurrentPreset, 100);
  EXPECT_EQ(button10->toolTip(), "Classic (88.1 MHz)");
  EXPECT_EQ(Captions(p.window->PresetsMenu()), QStringList{"m00=Classic"});
  EXPECT_EQ(Captions(p.window->TrayPresetsMenu()), QStringList{"f00=Classic"});
  ASSERT_TRUE(p.window->close());
  EXPECT_NE(p.Ini().find("List=100,"), std::string::npos) << p.Ini();
  EXPECT_NE(p.Ini().find("Station00=M 088.100 Classic"), std::string::npos) << p.Ini();
  EXPECT_NE(p.Ini().find("Current=100"), std::string::npos);
}

TEST(tdMainPresetsTest, ClearingOrRenamingFromPageThreeTouchesOnlyThatButton) {
  PanelWindow p(PageThreeIni());
  ASSERT_TRUE(p.Create());
  p.window->btNextPrevBottomClick();
  p.window->btNextPrevBottomClick();
  const QStringList before = Hints(*p.window);
  ASSERT_EQ(before[2], "P23 (93. MHz)");

  p.window->btMenuPopup(3);
  QMenu* popup = p.window->ButtonMenu();
  const QList<QAction*> entries = popup->actions();
  ASSERT_EQ(entries.size(), 5);  // Memory, Clear, Rename, a line, Clear all
  EXPECT_TRUE(entries[0]->isEnabled());
  EXPECT_TRUE(entries[1]->isEnabled());
  p.askNameAnswers = {"Morning"};
  entries[2]->trigger();  // Rename
  ASSERT_EQ(p.askNameShown, std::vector<std::string>{"P23"});
  QStringList expected = before;
  expected[2] = "Morning (93. MHz)";
  EXPECT_EQ(Hints(*p.window), expected);
  EXPECT_EQ(Entry(p.window->PresetsMenu(), "m23")->text(), "Morning");

  p.window->btClrClick();
  p.window->PresetButton(5)->click();
  expected[4] = "";
  EXPECT_EQ(Hints(*p.window), expected);
  EXPECT_TRUE(ShowsGlyph(p.window->PresetButton(5), "BT4OFF"));
  EXPECT_EQ(Entry(p.window->PresetsMenu(), "m25"), nullptr);
  EXPECT_EQ(p.window->PresetsMenu()->actions().size(), 9);
  EXPECT_FALSE(p.window->State().ClearArmed);
  p.window->btMenuPopup(5);
  EXPECT_FALSE(entries[1]->isEnabled());
  EXPECT_FALSE(entries[2]->isEnabled());
}

// While a scan runs, every preset control waits: buttons, MEM, CLR, the popup and both menus.
TEST(tdMainPresetsTest, ThePresetControlsDoNothingWhileAScanRuns) {
  PanelWindow p(PageThreeIni());
  ASSERT_TRUE(p.Create());
  p.window->btNextPrevBottomClick();
  p.window->btNextPrevBottomClick();
  const QStringList before = Hints(*p.window);
  const double tuned = p.card.Frequency();
  p.window->MutableState().Scanning = true;
  p.window->PresetButton(3)->click();
  p.window->findChild<QToolButton*>("btMem")->click();
  p.window->findChild<QToolButton*>("btClr")->click();
  p.window->btMenuPopup(3);
  p.askNameAnswers = {"Morning"};
  for (QAction* a : p.window->ButtonMenu()->actions()) a->trigger();
  Entry(p.window->PresetsMenu(), "m24")->trigger();
  Entry(p.window->TrayPresetsMenu(), "f25")->trigger();
  EXPECT_DOUBLE_EQ(p.card.Frequency(), tuned);
  EXPECT_EQ(p.window->State().CurrentPreset, 0);
  EXPECT_FALSE(p.window->State().MemoryArmed);
  EXPECT_FALSE(p.window->State().ClearArmed);
  EXPECT_TRUE(p.askNameShown.empty());
  EXPECT_EQ(Hints(*p.window), before);
}

TEST(tdMainPresetsTest, ANameOfBlanksIsAnEmptyNameThatSurvivesSaveAndReload) {
  PanelWindow p(RadioTrackIni("ShutDown=0\n[Frequency]\nFrequency=M 098.000\n"));
  ASSERT_TRUE(p.Create());
  p.askNameAnswers = {"    "};
  p.window->Stations_Memory();
  p.window->PresetButton(7)->click();
  EXPECT_EQ(p.window->PresetButton(7)->toolTip(), "98. MHz");
  EXPECT_EQ(Entry(p.window->PresetsMenu(), "m07")->text(), "");
  EXPECT_EQ(Entry(p.window->TrayPresetsMenu(), "f07")->text(), "");
  EXPECT_EQ(p.window->windowTitle(), "Ondivo - 98. MHz");
  ASSERT_TRUE(p.window->close());

  PanelWindow again(p.Ini());
  ASSERT_TRUE(again.Create());
  const tPreset& kept = again.window->Model().Bank().Preset(7);
  EXPECT_TRUE(kept.Assigned);
  EXPECT_EQ(kept.Name, "");
  EXPECT_EQ(again.window->State().CurrentPreset, 7);
  EXPECT_EQ(again.window->PresetButton(7)->toolTip(), "98. MHz");
}

TEST(tdMainPresetsTest, MemAndMemoryAreRefusedWhileTheStationIsAPresetAndEmptyButtonsDoNothing) {
  PanelWindow p(
      RadioTrackIni("[Frequency]\nFrequency=M 098.000\n[Presets]\nList=4,\nStation04=M 098.000 "
                    "Forum\n"));
  ASSERT_TRUE(p.Create());
  ASSERT_EQ(p.window->State().CurrentPreset, 4);
  EXPECT_FALSE(p.window->Action(cmMemory)->isEnabled());
  p.window->Run(cmMemory);
  p.window->Stations_Memory();
  EXPECT_FALSE(p.window->State().MemoryArmed);
  p.window->btMenuPopup(6);
  EXPECT_FALSE(p.window->ButtonMenu()->actions()[0]->isEnabled());

  p.window->Run(cmIncFreq);
  EXPECT_TRUE(p.window->Action(cmMemory)->isEnabled());
  p.window->PresetButton(6)->click();  // unassigned, normal mode
  EXPECT_NEAR(p.card.Frequency(), 98.025, 1e-9);
  EXPECT_TRUE(p.askNameShown.empty());
  EXPECT_FALSE(p.window->Model().Bank().Preset(6).Assigned);
}

TEST(tdMainPresetsTest, LoadingSelectsNoPresetEvenWhenTheFileHoldsThePlayingStation) {
  PanelWindow p(
      RadioTrackIni("[Frequency]\nFrequency=M 087.000\n[Presets]\nList=4,\nStation04=M 087.000 "
                    "Low\n"));
  ASSERT_TRUE(p.Create());
  ASSERT_EQ(p.window->State().CurrentPreset, 4);
  PresetsBank set;
  set.Store(2, "Again low", 87.0, bFM);
  set.Store(15, "Forum", 98.0, bFM);
  ASSERT_TRUE(WritePresetsFile(p.dir / "set.ovp", set, LocaleFormat{}));
  p.prompts.answers = {true};
  p.prompts.files = {(p.dir / "set.ovp").string()};
  p.window->Run(cmLoadPresets);
  EXPECT_EQ(p.window->State().CurrentPreset, 0);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 87.0);
  EXPECT_EQ(p.window->windowTitle(), "Ondivo - 87. MHz");
  EXPECT_EQ(Captions(p.window->PresetsMenu()), (QStringList{"m02=Again low", "m15=Forum"}));
  for (QAction* a : p.window->PresetsMenu()->actions()) EXPECT_FALSE(a->isChecked());
  EXPECT_TRUE(ShowsGlyph(p.window->PresetButton(2), "BT2OFF"));
  EXPECT_EQ(p.window->PresetsGroup()->toolTip().toStdString(),
            "Presets loaded from " + (p.dir / "set.ovp").string());
}

TEST(tdMainPresetsTest, ACorruptOrMissingFileIsSaidAndChangesNothing) {
  PanelWindow p(
      RadioTrackIni("[Frequency]\nFrequency=M 098.000\n[Presets]\nList=4,\nStation04=M 098.000 "
                    "Forum\n"));
  ASSERT_TRUE(p.Create());
  test::WriteBytes(p.dir / "bad.ovp", "\r\n");
  p.prompts.answers = {true, true};
  p.prompts.files = {(p.dir / "bad.ovp").string(), (p.dir / "gone.ovp").string()};
  p.window->File_LoadPresets();
  p.window->File_LoadPresets();
  EXPECT_EQ(p.prompts.Messages(), (std::vector<std::string>{"The presets files is corrupt",
                                                            "Read error or disk not ready"}));
  EXPECT_EQ(p.window->State().CurrentPreset, 4);
  EXPECT_EQ(p.window->Model().Bank().AssignedCount(), 1);
  EXPECT_EQ(Captions(p.window->PresetsMenu()), QStringList{"m04=Forum"});
  EXPECT_TRUE(Entry(p.window->PresetsMenu(), "m04")->isChecked());
  EXPECT_EQ(p.window->PresetsGroup()->toolTip(), "Internal");
}

TEST(tdMainPresetsTest, TheRangeCheckTunesTheBandLimitAndSelectsNothing) {
  PanelWindow p(
      "[Configuration]\nHardware=4\nPort=2\nVolumeLine=1\n[Frequency]\nFrequency=M "
      "098.000\n[Presets]\nList=1,2,\nStation01=K 001.710 Far\nStation02=M 100.000 "
      "Forum\n",
      mRadioMan);
  ASSERT_TRUE(p.Create());
  p.window->FavMenu(1);  // AM beyond 1620 kHz
  EXPECT_EQ(p.card.Band(), bAM);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 0.531);
  EXPECT_TRUE(p.window->AMButton()->isChecked());
  EXPECT_EQ(p.window->State().CurrentPreset, 0);
  tConfiguration japanese = p.window->Settings();
  japanese.JapaneseFM = true;
  p.setupAnswer = japanese;
  p.window->Run(cmSetup);
  ASSERT_TRUE(p.card.JapaneseFM());
  EXPECT_FALSE(Entry(p.window->PresetsMenu(), "m02")->isEnabled());
  p.window->FavMenu(2);  // FM above the Japanese band
  EXPECT_EQ(p.card.Band(), bFM);
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 76.0);
  EXPECT_EQ(p.window->State().CurrentPreset, 0);

  PanelWindow fmOnly(
      RadioTrackIni("[Frequency]\nFrequency=M 098.000\n[Presets]\nList=1,2,\n"
                    "Station01=K 000.999 Talk\nStation02=M 080.000 Low\n"));
  ASSERT_TRUE(fmOnly.Create());
  EXPECT_FALSE(Entry(fmOnly.window->PresetsMenu(), "m01")->isEnabled());
  fmOnly.window->PresetButton(1)->click();  // AM on a card without AM
  EXPECT_DOUBLE_EQ(fmOnly.card.Frequency(), 87.0);
  fmOnly.window->Run(cmIncFreq);
  fmOnly.window->PresetButton(2)->click();  // FM below the band
  EXPECT_DOUBLE_EQ(fmOnly.card.Frequency(), 87.0);
  EXPECT_EQ(fmOnly.window->State().CurrentPreset, 0);
}

TEST(tdMainPresetsTest, ClearAllAnsweredNoChangesNothing) {
  PanelWindow p(PageThreeIni());
  ASSERT_TRUE(p.Create());
  p.window->FavMenu(24);
  p.prompts.answers = {false};
  p.window->Run(cmClearAll);
  ASSERT_EQ(p.prompts.shown.size(), 1u);
  EXPECT_EQ(p.prompts.shown[0].title, "Clear all favorites");
  EXPECT_EQ(p.window->Model().Bank().AssignedCount(), 10);
  EXPECT_EQ(p.window->State().CurrentPreset, 24);
  EXPECT_EQ(p.window->PresetsMenu()->actions().size(), 10);
  p.prompts.answers = {true};
  p.window->Run(cmClearAll);
  EXPECT_EQ(p.window->Model().Bank().AssignedCount(), 0);
  EXPECT_EQ(p.window->State().CurrentPreset, 0);
  EXPECT_TRUE(p.window->PresetsMenu()->actions().isEmpty());
  EXPECT_FALSE(p.window->PresetsMenu()->isEnabled());
  EXPECT_EQ(Hints(*p.window), QStringList(10, QString()));
  EXPECT_DOUBLE_EQ(p.card.Frequency(), 94.0);
}

// After each step: title, tray hint, the hints and glyphs of the page, the checks of both menus.
struct Shown {
  std::string title, tray;
  QStringList hints;
  int lit = 0;  // button showing "ON", 0 for none
  QStringList checked;
};

Shown Look(PanelWindow& p) {
  Shown s;
  s.title = p.window->windowTitle().toStdString();
  s.tray = p.window->Readout().TrayHint;
  s.hints = Hints(*p.window);
  for (int b = 1; b <= 10; ++b) {
    const tPreset& preset = p.window->Model().Bank().Preset(p.window->Presets().PresetOnButton(b));
    const int colour = !preset.Assigned ? 4 : preset.Band == bAM ? 0 : 2;
    const QToolButton* button = p.window->PresetButton(b);
    if (ShowsGlyph(button, QString("BT%1ON").arg(colour))) {
      EXPECT_EQ(s.lit, 0) << "two buttons lit";
      s.lit = b;
    } else {
      EXPECT_TRUE(ShowsGlyph(button, QString("BT%1OFF").arg(colour))) << b;
    }
  }
  for (QMenu* menu : {p.window->PresetsMenu(), p.window->TrayPresetsMenu()}) {
    for (const QAction* a : menu->actions())
      if (a->isChecked()) s.checked << a->objectName();
  }
  return s;
}

TEST(tdMainPresetsTest, TitleHintsGlyphsAndChecksFollowRecallStoreClearAndRename) {
  PanelWindow p(
      RadioTrackIni("[Frequency]\nFrequency=M 090.000\n[Presets]\nList=1,3,\nStation01=M 093.000 "
                    "Rock\nStation03=M 101.100 Sports\n"));
  ASSERT_TRUE(p.Create());
  const QString rock = "Rock (93. MHz)", sports = "Sports (101.1 MHz)";
  Shown s = Look(p);
  EXPECT_EQ(s.title, "Ondivo - 90. MHz");
  EXPECT_EQ(s.tray, "90. MHz");
  EXPECT_EQ(s.lit, 0);
  EXPECT_TRUE(s.checked.isEmpty());

  p.window->PresetButton(3)->click();  // recall
  s = Look(p);
  EXPECT_EQ(s.title, "Ondivo - Sports (101.1 MHz)");
  EXPECT_EQ(s.tray, "Sports (101.1 MHz)");
  EXPECT_EQ(s.hints, (QStringList{rock, "", sports, "", "", "", "", "", "", ""}));
  EXPECT_EQ(s.lit, 3);
  EXPECT_EQ(s.checked, (QStringList{"m03", "f03"}));

  p.window->Run(cmIncFreq);
  p.window->Run(cmMemory);
  p.askNameAnswers = {" Sports 2 "};
  p.window->PresetButton(2)->click();  // store
  s = Look(p);
  EXPECT_EQ(s.title, "Ondivo - Sports 2 (101.125 MHz)");
  EXPECT_EQ(s.tray, "Sports 2 (101.125 MHz)");
  EXPECT_EQ(s.hints,
            (QStringList{rock, "Sports 2 (101.125 MHz)", sports, "", "", "", "", "", "", ""}));
  EXPECT_EQ(s.lit, 2);
  EXPECT_EQ(s.checked, (QStringList{"m02", "f02"}));
  EXPECT_EQ(p.askNameShown, std::vector<std::string>{""});

  p.askNameAnswers = {"Talk"};
  p.window->Run(cmRename);  // rename the current preset
  s = Look(p);
  EXPECT_EQ(s.title, "Ondivo - Talk (101.125 MHz)");
  EXPECT_EQ(s.tray, "Talk (101.125 MHz)");
  EXPECT_EQ(s.hints[1], "Talk (101.125 MHz)");
  EXPECT_EQ(s.lit, 2);
  EXPECT_EQ(s.checked, (QStringList{"m02", "f02"}));
  EXPECT_EQ(Entry(p.window->TrayPresetsMenu(), "f02")->text(), "Talk");
  EXPECT_EQ(p.askNameShown.back(), "Sports 2");  // offered as stored: trimmed

  p.window->Run(cmClear);  // clear the current preset
  s = Look(p);
  EXPECT_EQ(s.title, "Ondivo - 101.125 MHz");
  EXPECT_EQ(s.tray, "101.125 MHz");
  EXPECT_EQ(s.hints, (QStringList{rock, "", sports, "", "", "", "", "", "", ""}));
  EXPECT_EQ(s.lit, 0);
  EXPECT_TRUE(s.checked.isEmpty());
  EXPECT_FALSE(p.window->Action(cmClear)->isEnabled());
  EXPECT_NEAR(p.card.Frequency(), 101.125, 1e-9);

  p.window->TrayPresetsMenu()->findChild<QAction*>("f01")->trigger();  // recall from the menu
  s = Look(p);
  EXPECT_EQ(s.title, "Ondivo - Rock (93. MHz)");
  EXPECT_EQ(s.lit, 1);
  EXPECT_EQ(s.checked, (QStringList{"m01", "f01"}));
}

TEST(tdMainPresetsTest, TuningAwayFromTheCurrentPresetLetsGoOfItAndTuningBackTakesItAgain) {
  PanelWindow p(
      RadioTrackIni("ShutDown=0\n[Frequency]\nFrequency=M 098.000\n[Presets]\nCurrent=4\n"
                    "List=4,\nStation04=M 098.000 Forum\n"));
  ASSERT_TRUE(p.Create());
  ASSERT_TRUE(ShowsGlyph(p.window->PresetButton(4), "BT2ON"));
  p.window->Run(cmIncFreq);
  EXPECT_EQ(p.window->State().CurrentPreset, 0);
  EXPECT_TRUE(ShowsGlyph(p.window->PresetButton(4), "BT2OFF"));
  EXPECT_FALSE(Entry(p.window->PresetsMenu(), "m04")->isChecked());
  EXPECT_FALSE(p.window->Action(cmClear)->isEnabled());
  EXPECT_FALSE(p.window->Action(cmRename)->isEnabled());
  p.window->Run(cmDecFreq);
  EXPECT_EQ(p.window->State().CurrentPreset, 4);
  EXPECT_TRUE(ShowsGlyph(p.window->PresetButton(4), "BT2ON"));
  p.window->Run(cmIncFreq);
  ASSERT_TRUE(p.window->close());
  EXPECT_NE(p.Ini().find("Current=0"), std::string::npos) << p.Ini();
  EXPECT_NE(p.Ini().find("Frequency=M 098.025"), std::string::npos) << p.Ini();
}

// The real ask-name dialog, answered as a user would, and Ondivo.ini written at exit.
TEST(tdMainPresetsTest, AStoreThroughTheAskNameDialogLandsInTheIniAtExit) {
  PanelWindow p(RadioTrackIni("ShutDown=0\n[Frequency]\nFrequency=M 093.000\n"));
  tMainServices s;
  s.Card = &p.card;
  s.Prompts = &p.prompts;
  s.ConfigDir = p.dir.Path();
  s.HardwareChanged = [&](tModel m) { p.rig.Follow(m); };
  tdMain window(std::move(s));
  ASSERT_TRUE(window.Create());
  QString shownTitle, offered;
  int maxLength = 0;
  QTimer::singleShot(0, &window, [&] {
    auto* dialog = qobject_cast<tdAskName*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shownTitle = dialog->windowTitle();
    offered = dialog->NameEdit()->text();
    maxLength = dialog->NameEdit()->maxLength();
    dialog->NameEdit()->setText("  Rock Harbour ");
    dialog->OkButton()->click();
  });
  window.btMenuPopup(4);
  window.ButtonMenu()->actions()[0]->trigger();  // Memory
  EXPECT_EQ(shownTitle, "Asking for station name");
  EXPECT_EQ(offered, "");
  EXPECT_EQ(maxLength, 40);
  EXPECT_EQ(window.windowTitle(), "Ondivo - Rock Harbour (93. MHz)");
  ASSERT_TRUE(window.close());
  const std::string ini = p.Ini();
  EXPECT_NE(ini.find("List=4,"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Station04=M 093.000 Rock Harbour"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Current=4"), std::string::npos) << ini;
}

}  // namespace
}  // namespace ondivo
