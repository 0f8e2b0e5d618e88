#include "schedule/tdSnooze.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace ondivo {
namespace {

// Types minutes into the open dialog and presses a button.
void Answer(const char* button, const QString& typed) {
  QTimer::singleShot(0, [button, typed] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    auto* box = dialog->findChild<QSpinBox*>("sMinutes");
    box->selectAll();
    QTest::keyClicks(box, typed);
    QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
  });
}

TEST(tdSnoozeTest, OkHandsBackTheMinutesAndCancelNothing) {
  Answer("btOk", "45");
  EXPECT_EQ(tdSnooze::Run(nullptr, 20, {}), 45);
  Answer("btCancel", "45");
  EXPECT_EQ(tdSnooze::Run(nullptr, 20, {}), std::nullopt);
}

TEST(tdSnoozeTest, ShowsItsCaptionsAndOpensItsHelp) {
  std::vector<std::string> topics;
  tdSnooze dialog(nullptr, 0, [&](const std::string& t) { topics.push_back(t); });
  EXPECT_EQ(dialog.windowTitle(), "Sleep");
  EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), "Turno off radio after");
  EXPECT_EQ(dialog.Minutes(), 1);  // brought into range
  QTest::mouseClick(dialog.findChild<QPushButton*>("btHelp"), Qt::LeftButton);
  EXPECT_EQ(topics, std::vector<std::string>{"Sleep_function"});
}

}  // namespace
}  // namespace ondivo
