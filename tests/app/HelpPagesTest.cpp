// The user manual as the program shows it: each topic opens in the real help window from the
// folder the built program reads, every picture and link of every page is a shipped file, the
// keyboard page lists the default keys, and every dialog's Help button opens its own topic on
// the panel built through the executable's wiring.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <set>

#include "app/PanelWiring.h"
#include "mixer/SoundCard.h"
#include "panel/HelpWindow.h"
#include "panel/KeyCommands.h"
#include "platform/ProgramFiles.h"
#include "sim/SimulatedRig.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestPanelWiring.h"

namespace ondivo {
namespace {

const QDir kHelp(QString::fromStdString((ProgramDataDir(ONDIVO_EXE_DIR) / "help").string()));

const char* const kTopics[] = {"Welcome",
                               "Volume_controls",
                               "Edit_presets",
                               "The_organizer",
                               "Scripting",
                               "The_Alarm_function",
                               "Sleep_function",
                               "Tuning_the_configuration",
                               "Tuning_radio_frequency",
                               "Keyboard"};

QString Page(const QString& name) {
  QFile file(kHelp.filePath(name));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The values of one attribute (src or href) in a page, in order.
QStringList Attributes(const QString& page, const QString& attribute) {
  QStringList values;
  const QRegularExpression pattern("\\b" + attribute + "=\"([^\"]*)\"");
  for (const auto& match : pattern.globalMatch(page)) values << match.captured(1);
  return values;
}

TEST(HelpPagesTest, EveryTopicOpensItsPageAndItsPicturesLoad) {
  ASSERT_TRUE(kHelp.exists()) << kHelp.path().toStdString();
  HelpWindow help(kHelp.path().toStdString());
  for (const char* topic : kTopics) {
    help.ShowTopic(topic);
    EXPECT_EQ(help.Browser()->source(),
              QUrl::fromLocalFile(kHelp.filePath(topic + QString(".html"))))
        << topic;
    EXPECT_FALSE(help.Browser()->toPlainText().contains("Help is not installed")) << topic;
    // The pictures as the window itself finds them, beside the page it shows.
    for (const QString& src : Attributes(Page(topic + QString(".html")), "src")) {
      EXPECT_FALSE(help.Browser()->loadResource(QTextDocument::ImageResource, QUrl(src)).isNull())
          << topic << " shows " << src.toStdString() << ", which is not there";
    }
  }
}

TEST(HelpPagesTest, LinksAndPicturesOfEveryPageAreShippedFiles) {
  const QStringList pages = kHelp.entryList({"*.html"}, QDir::Files);
  std::set<QString> linkedFromContents, pictures;
  for (const QString& name : pages) {
    const QString page = Page(name);
    for (const QString attribute : {"src", "href"}) {
      for (QString target : Attributes(page, attribute)) {
        if (target.contains("://") || target.startsWith("mailto:") || target.startsWith('#'))
          continue;
        target = target.section('#', 0, 0);
        EXPECT_TRUE(QFileInfo::exists(kHelp.filePath(target)))
            << name.toStdString() << " names " << target.toStdString() << ", which is not shipped";
        if (name == "Welcome.html") linkedFromContents.insert(target);
        if (attribute == "src") pictures.insert(target);
      }
    }
  }
  // The contents reach every page, and no picture is shipped that no page shows.
  for (const QString& name : pages) {
    if (name == "Welcome.html") continue;
    EXPECT_TRUE(linkedFromContents.count(name)) << name.toStdString() << " is not in the contents";
  }
  for (const QString& png : QDir(kHelp.filePath("images")).entryList({"*.png"}, QDir::Files)) {
    EXPECT_TRUE(pictures.count("images/" + png)) << png.toStdString() << " is shown nowhere";
  }
}

TEST(HelpPagesTest, KeyboardPageListsEveryDefaultKey) {
  const QString page = Page("Keyboard.html");
  for (const tPanelCommand& command : kPanelCommands) {
    const QString row =
        QString("<tr><td>%1</td><td>%2</td>")
            .arg(QString::fromStdString(KeyName(command.DefaultKey)).toHtmlEscaped(),
                 QString::fromUtf8(command.Caption.data(), command.Caption.size()));
    EXPECT_TRUE(page.contains(row)) << row.toStdString();
  }
}

// The panel built as the executable builds it, with presets and a sound card, so that every
// dialog opens.
class HelpButtonsTest : public test::EmulatedSoundCardTestBase {
 protected:
  void SetUp() override {
    StartCard();
    CardHardware hardware = rig.Hardware();
    mixer = ConnectSoundCard(hardware, soundCard->DeviceName());
    card = std::make_unique<TRadioCard>(std::move(hardware));
    test::WriteBytes(dir / "Ondivo.ini",
                     "[Configuration]\nHardware=1\nPort=1\nVolumeLine=2\nTipOfTheDay=0\n"
                     "[Presets]\nList=1,\nStation01=M 098.000 Radio Forum\n");
    tPanelWiring wiring = test::EmulatedPanelWiring(*card, prompts, dir.Path());
    wiring.Mixer = mixer;
    wiring.MixerDevice = soundCard->DeviceName();
    wiring.DataDir = ProgramDataDir(ONDIVO_EXE_DIR);
    panel = std::make_unique<tdMain>(PanelServices(wiring));
    ASSERT_TRUE(panel->Create());
  }

  // The page the help window shows once the command's dialog is open and its Help is pressed;
  // the dialog is then cancelled.
  QString TopicShownFrom(tCommandId command) {
    QString shown;
    QTimer::singleShot(0, [&shown] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text().remove('&') == "Help") QTest::mouseClick(button, Qt::LeftButton);
      }
      shown = ShownPage();
      dialog->reject();
    });
    panel->Run(command);
    return shown;
  }

  static QString ShownPage() {
    for (QWidget* widget : QApplication::allWidgets()) {
      if (auto* help = qobject_cast<HelpWindow*>(widget); help && help->isVisible())
        return help->Browser()->source().fileName();
    }
    return {};
  }

  sim::SimulatedRig rig{mRadioTrack, false};
  TMixer* mixer = nullptr;
  std::unique_ptr<TRadioCard> card;
  test::ScriptedPrompter prompts;
  std::unique_ptr<tdMain> panel;
};

TEST_F(HelpButtonsTest, EachDialogsHelpOpensItsTopic) {
  const std::pair<tCommandId, const char*> dialogs[] = {
      {cmSetup, "Tuning_the_configuration.html"}, {cmJump, "Tuning_radio_frequency.html"},
      {cmMixer, "Volume_controls.html"},          {cmAlarmOnOff, "The_Alarm_function.html"},
      {cmSleepOnOff, "Sleep_function.html"},      {cmProgr, "Scripting.html"},
      {cmOrganize, "The_organizer.html"},         {cmEditFavs, "Edit_presets.html"},
  };
  for (const auto& [command, page] : dialogs) {
    EXPECT_EQ(TopicShownFrom(command).toStdString(), page) << PanelCommand(command).Caption;
  }
  panel->Run(cmHelp);
  EXPECT_EQ(ShownPage().toStdString(), "Welcome.html");
}

}  // namespace
}  // namespace ondivo
