// The keyboard commands on the panel built through the executable's own wiring: every command
// from its default key, checked by what it did to the emulated card, the panel or the dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cctype>
#include <functional>
#include <span>

#include "app/PanelWiring.h"
#include "mixer/SoundCard.h"
#include "panel/KeyString.h"
#include "schedule/Schedule.h"
#include "sim/EmulatedZoltrix.h"
#include "sim/SimulatedRig.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestPanelWiring.h"

namespace ondivo {
namespace {

constexpr const char* kPresets =
    "[Presets]\nCurrent=2\nList=1,2,3,\nStation01=M 088.100 One\nStation02=M 095.500 Two\n"
    "Station03=M 101.100 Three\n";

class PanelKeysTest : public test::EmulatedSoundCardTestBase {
 protected:
  void SetUp() override { StartCard(); }

  // A Zoltrix (volume, mute and stereo on the card) at 30Ch; more is added to its ini.
  void Start(const std::string& more = "") {
    panel.reset();
    card.reset();
    CardHardware hardware = rig.Hardware();
    mixer = ConnectSoundCard(hardware, soundCard->DeviceName());
    card = std::make_unique<TRadioCard>(std::move(hardware));
    test::WriteBytes(dir / "Ondivo.ini",
                     "[Configuration]\nHardware=7\nPort=1\nVolumeLine=1\nTipOfTheDay=0\n" + more +
                         "[Audio]\nVolume=128\n" + kPresets);
    tPanelWiring wiring = test::EmulatedPanelWiring(*card, prompts, dir.Path(), &rig);
    wiring.Mixer = mixer;
    wiring.MixerDevice = soundCard->DeviceName();
    panel = std::make_unique<tdMain>(PanelServices(wiring));
    ASSERT_TRUE(panel->Create());
  }

  sim::EmulatedZoltrix& Radio() {
    return dynamic_cast<sim::EmulatedZoltrix&>(*rig.Bus().CardAt(0x30C));
  }

  // Types a character at a widget (the panel when none) and lets what it posted run. A modal
  // dialog it opens has its title noted and is cancelled.
  void Type(char key, QWidget* at = nullptr) {
    auto* watch = new QTimer;
    watch->setInterval(0);
    QObject::connect(watch, &QTimer::timeout, [this, watch] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        dialogs.push_back(modal->windowTitle());
        watch->stop();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
      }
    });
    watch->start();
    QTest::keyClick(at ? at : panel.get(), key);
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    delete watch;
  }

  // The letter keys in both cases, any other key once.
  static std::vector<char> BothCases(char key) {
    if (!std::isalpha(static_cast<unsigned char>(key))) return {key};
    return {static_cast<char>(std::tolower(key)), static_cast<char>(std::toupper(key))};
  }

  // No station anywhere, so a scan goes on until it is stopped.
  sim::SimulatedRig rig{mZoltrix, false,
                        sim::StationLandscape(std::span<const sim::LandscapeStation>{})};
  TMixer* mixer = nullptr;
  std::unique_ptr<TRadioCard> card;
  test::ScriptedPrompter prompts;
  std::unique_ptr<tdMain> panel;
  QStringList dialogs;  // titles of the modal dialogs the keys opened
};

// A key and what it changes: the value it reads before and after, and the value expected
// after from the one before.
struct tKeyEffect {
  char Key;
  std::function<double()> Measure;
  std::function<double(double before)> After;
  std::function<void()> Prepare = [] {};
};

TEST_F(PanelKeysTest, EachCommandKeyActsOnTheCardAndThePanel) {
  Start();
  const double fmStep = card->GetDevCap(mZoltrix).FMStep;
  const auto toggled = [](double before) { return 1 - before; };
  const auto is = [](double value) { return [value](double) { return value; }; };
  const auto mode = [this] { return double(panel->Settings().DisplayType); };
  const auto presets = [this] { return double(panel->PresetsMenu()->actions().size()); };
  const auto recallFirst = [this] { panel->PresetsMenu()->actions().front()->trigger(); };
  const tKeyEffect effects[] = {
      {'U', [this] { return Radio().Volume(); }, [](double v) { return v + 16; }},
      {'D', [this] { return Radio().Volume(); }, [](double v) { return v - 16; }},
      {'M', [this] { return Radio().AudioOn(); }, toggled},
      {'0', [this] { return Radio().AudioOn(); }, is(0)},
      {'+', [this] { return *Radio().TunedFrequency(); },
       [this](double f) { return f + panel->State().CurrentStep; }},
      {'-', [this] { return *Radio().TunedFrequency(); },
       [this](double f) { return f - panel->State().CurrentStep; }},
      {'.', [this] { return panel->State().CurrentStep; }, [=](double s) { return s + fmStep; }},
      {',', [this] { return panel->State().CurrentStep; }, [=](double s) { return s - fmStep; }},
      {'Z', [this] { return Radio().StereoRequested(); }, toggled},
      {'1', mode, is(1)},
      {'2', mode, is(2)},
      {'3', mode, is(3)},
      {'4', mode, is(4)},
      {'5', mode, is(5)},
      {'C', mode, is(0), [this] { panel->SetDisplayMode(1); }},
      {'T', [this] { return panel->Settings().AlwaysOnTop; }, toggled},
      {'Y', [this] { return panel->State().MemoryArmed; }, toggled,
       [this] {
         if (panel->Presets().IsTunedStationStored()) panel->Run(cmIncFreq);
       }},
      {'R', presets, [](double n) { return n - 1; }, recallFirst},
  };
  for (const tKeyEffect& effect : effects) {
    for (const char key : BothCases(effect.Key)) {
      effect.Prepare();
      const double before = effect.Measure();
      Type(key);
      EXPECT_NEAR(effect.Measure(), effect.After(before), 1e-6) << "key " << key;
    }
  }
  EXPECT_FALSE(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join(", ").toStdString();
}

TEST_F(PanelKeysTest, EachDialogKeyOpensItsDialog) {
  Start();
  const std::pair<char, QString> opens[] = {
      {'X', "Mixer control"},
      {'E', "Edit presets"},
      {'I', "Settings"},
      {'O', "Channels organizer"},
      {'P', "Programming -"},
      {'J', "Jump to"},
      {'S', "Sleep"},
      {'A', "Alarm setting"},
      {'K', "Asking for station name"},
      {'Q', "Power-off message"},
      {'6', "About Ondivo"},
  };
  for (const auto& [key, title] : opens) {
    for (const char typed : BothCases(key)) {
      dialogs.clear();
      Type(typed);
      ASSERT_EQ(dialogs.size(), 1) << "key " << typed;
      EXPECT_TRUE(dialogs.front().startsWith(title)) << dialogs.front().toStdString();
    }
  }
  EXPECT_TRUE(panel->isVisible());  // "Not exit" both times
  EXPECT_FALSE(panel->ScheduleState().Alarm.On());

  // Help opens its window beside the panel; the file and question boxes come through the
  // Prompter.
  for (const char typed : BothCases('H')) {
    Type(typed);
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->windowTitle() == "Ondivo Help" && w->isVisible()) help = w;
    ASSERT_NE(help, nullptr) << "key " << typed;
    help->close();
  }
  const std::pair<char, std::string> asks[] = {
      {'8', "Load script"}, {'9', "Load presets"}, {'L', "Clear all favorites"}};
  for (const auto& [key, title] : asks) {
    for (const char typed : BothCases(key)) {
      prompts.shown.clear();
      prompts.answers = {key == '9'};  // the presets may go; "Clear all" is refused
      Type(typed);
      ASSERT_FALSE(prompts.shown.empty()) << "key " << typed;
      EXPECT_EQ(prompts.shown.back().title, title);
    }
  }
}

TEST_F(PanelKeysTest, StopKeyEndsTheScanTheScanKeysStarted) {
  Start();
  for (const char key : {'>', '<'}) {
    const double start = *Radio().TunedFrequency();
    int steps = 0;
    panel->OnScanStep = [&] {
      if (++steps == 2) QTest::keyClick(panel.get(), '!');
    };
    Type(key);
    EXPECT_EQ(steps, 2) << "key " << key;
    EXPECT_FALSE(panel->State().Scanning);
    // The hook runs before each step: one step was made before the stop came.
    EXPECT_NEAR(*Radio().TunedFrequency(),
                start + (key == '>' ? 1 : -1) * panel->State().CurrentStep, 1e-6);
  }
}

TEST_F(PanelKeysTest, KeysReachTheCommandsFromTheFocusedControlsAndNowhereElse) {
  Start();
  const int volume = Radio().Volume();
  const double frequency = *Radio().TunedFrequency();
  Type('W');  // in no position
  Type('7');  // the reserved position
  EXPECT_EQ(Radio().Volume(), volume);
  EXPECT_NEAR(*Radio().TunedFrequency(), frequency, 1e-9);
  EXPECT_EQ(panel->Settings().DisplayType, 0);

  QSlider* step = panel->findChild<QSlider*>("sStep");
  for (QSlider* slider : {panel->FrequencySlider(), step, panel->VolumeSlider()}) {
    const int before = Radio().Volume();
    slider->setFocus();
    Type('u', slider);
    EXPECT_EQ(Radio().Volume(), before + 16) << slider->objectName().toStdString();
  }
  // The slider keeps its own keys.
  const int sliderBefore = panel->VolumeSlider()->value();
  QTest::keyClick(panel->VolumeSlider(), Qt::Key_Down);
  EXPECT_NE(panel->VolumeSlider()->value(), sliderBefore);
}

TEST_F(PanelKeysTest, MenusShowTheKeysAndFollowTheKeysPage) {
  Start();
  EXPECT_EQ(panel->Action(cmVolumeUp)->text(), "Up\tU");
  EXPECT_EQ(panel->Action(cmDecStep)->text(), "Step -\t,");
  EXPECT_EQ(panel->Action(cmSetup)->text(), "&Settings\tI");
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    auto* volumeUp = dialog->findChild<QComboBox*>("Cmd1");
    volumeUp->setCurrentIndex(volumeUp->findText("Space"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("btOk"), Qt::LeftButton);
  });
  panel->Run(cmSetup);
  EXPECT_EQ(panel->Action(cmVolumeUp)->text(), "Up\tSpace");
  EXPECT_EQ(panel->Action(cmVolumeDown)->text(), "Down\tD");
  const int volume = Radio().Volume();
  Type('u');
  EXPECT_EQ(Radio().Volume(), volume);
  // The blank a preset button would take for a click runs the command there.
  Type(' ', panel->PresetButton(3));
  EXPECT_EQ(Radio().Volume(), volume + 16);
  EXPECT_EQ(panel->State().CurrentPreset, 2);  // not recalled
}

// A stored key string the panel cannot use gives way to the default keys, which the exit saves.
TEST_F(PanelKeysTest, UnusableStoredKeysAreReplacedAndSavedBackAtExit) {
  const std::string keys = DefaultKeyString();
  std::string twice = keys;
  twice[36] = 'W';
  twice[35] = 'W';
  for (const std::string& stored : {keys.substr(0, 36), twice}) {
    Start("KeyboardCommands=" + stored + "\nShutDown=0\n");
    EXPECT_EQ(panel->Settings().KeyboardCommands, keys);
    const int volume = Radio().Volume();
    Type('u');
    EXPECT_EQ(Radio().Volume(), volume + 16);
    Type('q');
    EXPECT_TRUE(panel->Saved());
    EXPECT_NE(test::ReadBytes(dir / "Ondivo.ini").find("KeyboardCommands=" + keys + "\n"),
              std::string::npos)
        << test::ReadBytes(dir / "Ondivo.ini");
  }
}

}  // namespace
}  // namespace ondivo
