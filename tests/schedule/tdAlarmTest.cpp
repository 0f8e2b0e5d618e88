#include "schedule/tdAlarm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "controls/Display.h"
#include "tests/support/PanelRig.h"

namespace ondivo {
namespace {

QString Shown(QWidget& dialog) {
  QString digits;
  for (const char* name : {"H1", "H2", "M1", "M2"}) {
    digits += dialog.findChild<TDisplay*>(name)->Digit();
  }
  return digits;
}

TEST(tdAlarmTest, TheMinutesBoxRollsOverAndOkWaitsForAStation) {
  test::PanelRig r(mRadioTrack);
  r.bank.Store(7, "Forum", 98.0, bFM);
  r.bank.Store(100, "Classic", 88.1, bFM);
  std::vector<std::string> topics;
  tdAlarm dialog(nullptr, tAlarmValues({23, 59, 0}, r.bank, r.card, 0),
                 [&](const std::string& t) { topics.push_back(t); });
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Alarm setting");
  EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), "Set alarm time");
  auto* hh = dialog.findChild<QSpinBox*>("HH");
  auto* mm = dialog.findChild<QSpinBox*>("MM");
  auto* list = dialog.findChild<QComboBox*>("Favorites");
  auto* ok = dialog.findChild<QPushButton*>("btOk");
  EXPECT_EQ(Shown(dialog), "2359");
  EXPECT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(1), "00 - Classic");
  EXPECT_EQ(list->currentIndex(), -1);
  EXPECT_FALSE(ok->isEnabled());

  mm->stepUp();  // 60: midnight
  EXPECT_EQ(hh->value(), 0);
  EXPECT_EQ(mm->value(), 0);
  EXPECT_EQ(Shown(dialog), "0000");
  hh->setValue(7);
  EXPECT_EQ(Shown(dialog), "0700");
  EXPECT_EQ((hh->text() + ":" + mm->text()).toStdString(), "07:00");  // as the clock reads

  list->setCurrentIndex(1);
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_EQ(dialog.Values().Result(), (tAlarmSetting{7, 0, 100}));
  QTest::mouseClick(dialog.findChild<QPushButton*>("btHelp"), Qt::LeftButton);
  EXPECT_EQ(topics, std::vector<std::string>{"The_Alarm_function"});
}

TEST(tdAlarmTest, RunHandsBackTheChosenTimeAndStationOnOkOnly) {
  test::PanelRig r(mRadioTrack);
  r.bank.Store(7, "Forum", 98.0, bFM);
  const auto answer = [](const char* button) {
    QTimer::singleShot(0, [button] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      dialog->findChild<QSpinBox*>("MM")->setValue(45);
      QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
    });
  };
  answer("btOk");
  EXPECT_EQ(tdAlarm::Run(nullptr, {6, 30, 7}, r.bank, r.card, 0, {}), (tAlarmSetting{6, 45, 7}));
  answer("btCancel");
  EXPECT_EQ(tdAlarm::Run(nullptr, {6, 30, 7}, r.bank, r.card, 0, {}), std::nullopt);
}

}  // namespace
}  // namespace ondivo
