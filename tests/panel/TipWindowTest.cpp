#include "panel/TipWindow.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTextBrowser>

#include "panel/HelpWindow.h"
#include "panel/tdExit.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempDir.h"

#include <QPushButton>

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
