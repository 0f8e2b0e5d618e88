#include "panel/TipWindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTextBrowser>

#include "panel/HelpWindow.h"
#include "panel/tdExit.h"
#include "settings/tdJumpTo.h"
#include "tests/support/PanelWindow.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempDir.h"

#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace ondivo {
namespace {

TEST(TipWindowTest, TheShippedTipsFileHasTwentyTipsAndNoBlankOnes) {
  bool readable = false;
  const QStringList tips =
      ReadTips(std::filesystem::path(ONDIVO_DATA_DIR) / "Ondivo.txt", &readable);
  ASSERT_TRUE(readable);
  EXPECT_GE(tips.size(), 20);
  for (const QString& tip : tips) {
    EXPECT_FALSE(tip.trimmed().isEmpty());
    EXPECT_FALSE(tip.startsWith('#'));
  }
}

TEST(TipWindowTest, NextGoesRoundAndTheBoxReportsItsState) {
  TipWindow window({"one", "two", "three"}, 2);
  EXPECT_EQ(window.CurrentTip(), "three");
  window.NextTip();
  EXPECT_EQ(window.CurrentTip(), "one");
  EXPECT_TRUE(window.ShowAtStartup());
  window.ShowBox()->setChecked(false);
  EXPECT_FALSE(window.ShowAtStartup());
}

TEST(TipWindowTest, AnUnreadableTipsFileSaysSoAndChangesNothing) {
  test::TempDir dir;
  test::ScriptedPrompter prompts;
  EXPECT_EQ(TipWindow::Run(nullptr, dir / "missing.txt", prompts), std::nullopt);
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_NE(prompts.Messages()[0].find("missing.txt"), std::string::npos);
}

TEST(tdExitTest, YesIsDisabledForModelsMutedOnExitAndEachButtonAnswers) {
  tdExit forced(false);
  EXPECT_FALSE(forced.YesButton()->isEnabled());
  EXPECT_EQ(forced.windowTitle(), "Power-off message");
  tdExit free(true);
  free.NoButton()->click();
  EXPECT_EQ(free.Answer(), tExitAnswer::SwitchOff);
  tdExit yes(true);
  yes.YesButton()->click();
  EXPECT_EQ(yes.Answer(), tExitAnswer::KeepPlaying);
  tdExit stay(true);
  stay.NotExitButton()->click();
  EXPECT_EQ(stay.Answer(), tExitAnswer::NotExit);
  EXPECT_EQ(stay.NotExitButton()->text(), "Not &exit");
}

}  // namespace
}  // namespace ondivo

namespace ondivo {
namespace {

TEST(HelpWindowTest, EveryNamedTopicHasAPageAndAMissingOneSaysSo) {
  HelpWindow help(std::filesystem::path(ONDIVO_DATA_DIR) / "help");
  help.ShowTopic("Welcome");
  EXPECT_EQ(help.Browser()->documentTitle(), "Welcome to Ondivo");
  help.ShowTopic("Tuning_the_configuration");
  EXPECT_EQ(help.Browser()->documentTitle(), "The settings");
  help.ShowTopic("Tuning_radio_frequency");
  EXPECT_EQ(help.Browser()->documentTitle(), "Jumping to a frequency");
  help.ShowTopic("No_such_topic");
  EXPECT_TRUE(help.Browser()->toPlainText().contains("Help is not installed"));
}

}  // namespace
}  // namespace ondivo

namespace ondivo {
namespace {

HelpWindow* FindHelpWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* help = qobject_cast<HelpWindow*>(w)) return help;
  }
  return nullptr;
}

// Keys and clicks come through the window system, where a modal dialog blocks the windows
// outside its family.
void ClickThroughWindow(QWidget* widget) {
  QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                    widget->mapTo(widget->window(), widget->rect().center()));
}

TEST(HelpWindowTest, HelpFromADialogIsScrolledAndClosedWhileTheDialogIsOpenAndOutlivesIt) {
  test::PanelWindow p(test::RadioTrackIni());
  ASSERT_TRUE(p.Create());
  tdMain* panel = p.window.get();
  const auto help = [panel](const std::string& topic) {
    panel->ShowHelp(QString::fromStdString(topic));
  };
  QPointer<HelpWindow> window;
  int scrolledTo = 0;
  bool closed = false;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    auto* helpButton = dialog->findChild<QPushButton*>("btHelp");
    QTest::mouseClick(helpButton, Qt::LeftButton);
    window = FindHelpWindow();
    if (window) {
      window->resize(240, 160);  // shorter than the page
      QApplication::processEvents();
      QTest::keyClick(window->windowHandle(), Qt::Key_End);
      scrolledTo = window->Browser()->verticalScrollBar()->value();
      for (auto* button : window->findChildren<QPushButton*>()) {
        if (button->text() == "Close") ClickThroughWindow(button);
      }
      closed = window->isHidden();
      QTest::mouseClick(helpButton, Qt::LeftButton);  // and left open
    }
    QTest::mouseClick(dialog->findChild<QPushButton*>("btCancel"), Qt::LeftButton);
  });
  tdJumpTo::Run(panel, tJumpToValues::FromCard(p.card), help);
  ASSERT_TRUE(window);
  EXPECT_GT(scrolledTo, 0);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->parentWidget(), panel);
  EXPECT_EQ(window->Browser()->documentTitle(), "Jumping to a frequency");
}

}  // namespace
}  // namespace ondivo
