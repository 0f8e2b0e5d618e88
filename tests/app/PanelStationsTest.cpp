// "Edit presets" and "Organize" from the panel built through the executable's own wiring: the
// real dialogs run in their frame and the panel takes up what they leave.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "app/PanelWiring.h"
#include "schedule/Schedule.h"
#include "sim/SimulatedRig.h"
#include "stations/OrganizerDatabase.h"
#include "stations/OrganizerWidgets.h"
#include "stations/tdOrganizer.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPanelWiring.h"

namespace ondivo {
namespace {

class PanelStationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(dir / "Ondivo.ini",
                     "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n"
                     "[Presets]\nCurrent=2\nList=1,2,\nStation01=M 088.100 One\n"
                     "Station02=M 095.500 Two\n");
    tPanelWiring wiring = test::EmulatedPanelWiring(card, prompts, dir.Path(), &rig);
    panel = std::make_unique<tdMain>(PanelServices(wiring));
    ASSERT_TRUE(panel->Create());
    panel->show();
  }

  // Acts on the dialog once it shows.
  void InDialog(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [this, act] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      panelShownDuring = panel->isVisible();
      trayClicksIgnored = panel->State().DialogOpen;
      act(*dialog);
    });
  }

  test::TempDir dir;
  sim::SimulatedRig rig{mRadioTrack, false};
  TRadioCard card{rig.Hardware()};
  test::ScriptedPrompter prompts;
  std::unique_ptr<tdMain> panel;
  bool panelShownDuring = true;
  bool trayClicksIgnored = false;
};

TEST_F(PanelStationsTest, EditPresetsHandsTheListBackOnOkAndThePanelTunesTheCurrentPreset) {
  InDialog([](QWidget& d) {
    auto* list = d.findChild<QListWidget*>("Presets");
    list->setCurrentRow(1);
    d.findChild<QAbstractButton*>("btMoveUp")->click();  // preset 2 becomes preset 1
    list->setCurrentRow(4);
    QTest::keyClicks(d.findChild<QLineEdit*>("StationName"), "Five");
    d.findChild<QPushButton*>("btOk")->click();
  });
  panel->Run(cmEditFavs);
  EXPECT_FALSE(panelShownDuring);
  EXPECT_TRUE(trayClicksIgnored);
  EXPECT_TRUE(panel->isVisible());
  EXPECT_FALSE(panel->State().DialogOpen);
  EXPECT_EQ(panel->State().CurrentPreset, 1);
  EXPECT_NEAR(card.Frequency(), 95.5, 1e-6);
  const QList<QAction*> entries = panel->PresetsMenu()->actions();
  ASSERT_EQ(entries.size(), 3);
  EXPECT_EQ(entries[0]->text(), "Two");
  EXPECT_TRUE(entries[0]->isChecked());
  EXPECT_EQ(entries[2]->text(), "Five");
}

// An armed alarm and a running sleep are off while a stations dialog is open and back after it.
TEST_F(PanelStationsTest, AlarmAndSleepAreHeldWhileTheDialogRunsAndBackAfterIt) {
  const auto ok = [](QWidget& d) { d.findChild<QPushButton*>("btOk")->click(); };
  InDialog(ok);
  panel->Run(cmAlarmOnOff);
  InDialog(ok);
  panel->Run(cmSleepOnOff);
  ASSERT_TRUE(panel->ScheduleState().Alarm.On());
  ASSERT_TRUE(panel->SleepTimerForTests()->isActive());
  bool alarmDuring = true, sleepDuring = true;
  InDialog([&](QWidget& d) {
    alarmDuring = panel->ScheduleState().Alarm.On();
    sleepDuring = panel->SleepTimerForTests()->isActive() || panel->ScheduleState().Sleep.On();
    d.findChild<QPushButton*>("btCancel")->click();
  });
  panel->Run(cmOrganize);
  EXPECT_FALSE(alarmDuring);
  EXPECT_FALSE(sleepDuring);
  EXPECT_TRUE(panel->ScheduleState().Alarm.On());
  EXPECT_TRUE(panel->ScheduleState().Sleep.On());
  EXPECT_TRUE(panel->SleepTimerForTests()->isActive());
  EXPECT_TRUE(panel->Action(cmAlarmOnOff)->isChecked());
  EXPECT_TRUE(panel->Action(cmSleepOnOff)->isChecked());
}

TEST_F(PanelStationsTest, TheOrganizerAssignsPresetsThatStayAfterCancelAndOkWritesTheDatabase) {
  test::WriteBytes(dir / "Ondivo.db", "[Archive]\nRows=1\nRow1=2 1 0 M 101.100 City\n");
  InDialog([](QWidget& d) {
    auto& organizer = static_cast<tdOrganizer&>(d);
    QTreeWidget* view = organizer.TreeView();
    view->setCurrentItem(view->topLevelItem(0)->child(0));
    organizer.btRadioDragDrop(10);
    d.findChild<QPushButton*>("btCancel")->click();
  });
  panel->Run(cmOrganize);
  EXPECT_FALSE(panelShownDuring);
  EXPECT_EQ(panel->State().CurrentPreset, 10);
  EXPECT_NEAR(card.Frequency(), 101.1, 1e-6);
  EXPECT_EQ(panel->PresetsMenu()->actions().size(), 3);

  InDialog([](QWidget& d) {
    auto& organizer = static_cast<tdOrganizer&>(d);
    organizer.TreeView()->setCurrentItem(organizer.TreeView()->topLevelItem(0));
    organizer.AddFolderClick();
    d.findChild<QPushButton*>("btOk")->click();
  });
  panel->Run(cmOrganize);
  EXPECT_EQ(LoadOrganizerDatabase(dir / "Ondivo.db", {}).NodeCount(), 2u);
}

}  // namespace
}  // namespace ondivo
