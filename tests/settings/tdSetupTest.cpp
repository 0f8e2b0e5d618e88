#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "controls/Display.h"
#include "panel/ConfigurationKeys.h"
#include "panel/KeyString.h"
#include "radio/DevCaps.h"
#include "radio/RadioCard.h"
#include "radio/SerialPortProbe.h"
#include "settings/ColorPreview.h"
#include "settings/tdSetup.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/PtyPair.h"
#include "tests/support/ScriptedPrompter.h"

namespace ondivo {
namespace {

using test::FakeMixer;

FakeMixer LineInAndCd() {
  FakeMixer mixer;
  for (const auto c : {mcLineInVolume, mcLineInMute, mcCdVolume, mcCdMute}) mixer.controls[c] = {};
  return mixer;
}

tConfiguration Configured(tModel model, int port, tVolumeLine line) {
  tConfiguration settings;
  settings.Hardware = HardwareIndexFromModel(model);
  settings.Port = static_cast<uint8_t>(port);
  settings.VolumeLine = line;
  return settings;
}

tSetupValues Values(const tConfiguration& settings, const CardMixer* mixer) {
  tSetupMachine machine;
  machine.DevCaps = DefaultDevCaps();
  machine.SoundCard = mixer != nullptr;
  machine.Mixer = mixer;
  machine.CardModel = ModelFromHardwareIndex(settings.Hardware);
  machine.CardPort = settings.Port;
  return tSetupValues(settings, machine);
}

template <typename T>
T* Find(QWidget& dialog, const char* name) {
  T* widget = dialog.findChild<T*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

void ClickRow(QListWidget* list, const QString& text) {
  const auto items = list->findItems(text, Qt::MatchExactly);
  ASSERT_EQ(items.size(), 1) << text.toStdString();
  const QRect rect = list->visualItemRect(items.front());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

QStringList Entries(QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

QStringList Entries(QComboBox* box) {
  QStringList entries;
  for (int i = 0; i < box->count(); ++i) entries << box->itemText(i);
  return entries;
}

class SetupDialogTest : public ::testing::Test {
 protected:
  tdSetup& Open(const tConfiguration& settings, const CardMixer* mixer = nullptr) {
    dialog_ = std::make_unique<tdSetup>(nullptr, Values(settings, mixer), services_);
    dialog_->show();
    return *dialog_;
  }
  tSetupServices services_;
  std::unique_ptr<tdSetup> dialog_;
};

TEST_F(SetupDialogTest, ModelListAndPortButtonsSetModelAndPort) {
  tdSetup& d = Open(Configured(mWizard, 2, vlNative));
  auto* list = Find<QListWidget>(d, "HwList");
  EXPECT_EQ(list->item(0)->text(), "AimsLab Radiotrack");
  EXPECT_TRUE(Find<QLabel>(d, "Installed")->isVisible());
  EXPECT_TRUE(Find<QCheckBox>(d, "xJapFM")->isEnabled());

  ClickRow(list, "Zoltrix Radio Plus 108");
  EXPECT_EQ(d.Values().Model(), mZoltrix);
  EXPECT_TRUE(Find<QGroupBox>(d, "gPort_030C_020C")->isVisible());
  EXPECT_FALSE(Find<QGroupBox>(d, "gPort_Serial")->isVisible());
  EXPECT_FALSE(Find<QLabel>(d, "Installed")->isVisible());
  EXPECT_FALSE(Find<QCheckBox>(d, "xJapFM")->isEnabled());
  EXPECT_TRUE(Find<QRadioButton>(d, "Port_030C")->isChecked());

  QTest::mouseClick(Find<QRadioButton>(d, "Port_020C"), Qt::LeftButton);
  EXPECT_EQ(d.Values().Port(), 2);

  // Back to the Wizard and again to the Zoltrix: each keeps its own port.
  ClickRow(list, "Gemtek Wizard Radio");
  EXPECT_EQ(d.Values().Port(), 2);
  EXPECT_TRUE(Find<QLabel>(d, "Installed")->isVisible());
  ClickRow(list, "Zoltrix Radio Plus 108");
  EXPECT_TRUE(Find<QRadioButton>(d, "Port_020C")->isChecked());
}

TEST_F(SetupDialogTest, RoutesFollowTheMixerAndTheModel) {
  FakeMixer mixer = LineInAndCd();
  tdSetup& d = Open(Configured(mRadioTrack, 1, vlCd), &mixer);
  auto* routes = Find<QListWidget>(d, "ScList");
  EXPECT_EQ(Entries(routes), (QStringList{"Radio card", "Line In", "Compact disk"}));
  EXPECT_EQ(routes->currentItem()->text(), "Compact disk");
  ClickRow(routes, "Line In");
  EXPECT_EQ(d.Values().VolumeLine(), vlLineIn);
  EXPECT_TRUE(Find<QLabel>(d, "Capability")->text().endsWith("with radio card or sound card."));

  tdSetup& silent = Open(Configured(mRadioTrack, 1, vlCd));
  EXPECT_EQ(Entries(Find<QListWidget>(silent, "ScList")), QStringList{"Radio card"});
  EXPECT_EQ(silent.Values().VolumeLine(), vlNative);
}

TEST_F(SetupDialogTest, KeyListRefusesAKeyAnotherCommandHolds) {
  tdSetup& d = Open(tConfiguration{});
  auto* volumeUp = Find<QComboBox>(d, "Cmd1");
  EXPECT_EQ(d.findChild<QComboBox*>("Cmd33"), nullptr);
  EXPECT_EQ(volumeUp->count(), 69);
  EXPECT_EQ(volumeUp->itemText(0), "Space");
  EXPECT_EQ(volumeUp->currentText(), "U");

  volumeUp->setFocus();
  QTest::keyClick(volumeUp, Qt::Key_D);  // volume down has it
  EXPECT_EQ(volumeUp->currentText(), "U");
  EXPECT_EQ(d.Values().Key(1), 'U');
  volumeUp->setCurrentIndex(volumeUp->findText("W"));
  EXPECT_EQ(volumeUp->currentText(), "W");
  EXPECT_EQ(d.Values().Key(1), 'W');

  QTest::mouseClick(Find<QPushButton>(d, "btDefault"), Qt::LeftButton);
  EXPECT_EQ(volumeUp->currentText(), "U");
  EXPECT_EQ(d.Values().KeyString(), DefaultKeyString());
}

TEST_F(SetupDialogTest, PresetRowsDisableEachOthersChoice) {
  tdSetup& d = Open(tConfiguration{});
  QTest::mouseClick(Find<QToolButton>(d, "abt3FM"), Qt::LeftButton);
  EXPECT_EQ(d.Values().ButtonColor(brPresetFM), 3);
  EXPECT_FALSE(Find<QToolButton>(d, "abt3AM")->isEnabled());
  EXPECT_FALSE(Find<QToolButton>(d, "nbt3")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>(d, "gbt3")->isEnabled());
  QTest::mouseClick(Find<QToolButton>(d, "abt6FM"), Qt::LeftButton);
  EXPECT_TRUE(Find<QToolButton>(d, "abt3AM")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>(d, "nbt3")->isEnabled());
  EXPECT_FALSE(Find<QToolButton>(d, "nbt6")->isEnabled());
}

TEST_F(SetupDialogTest, ColourChoicesRepaintThePreview) {
  tdSetup& d = Open(tConfiguration{});
  TColorPreview* preview = d.Preview();
  QTest::mouseClick(Find<QToolButton>(d, "oPanel4"), Qt::LeftButton);
  QTest::mouseClick(Find<QToolButton>(d, "oDigitOn9"), Qt::LeftButton);
  QTest::mouseClick(Find<QRadioButton>(d, "oSeg7"), Qt::LeftButton);
  EXPECT_EQ(d.Values().PanelColor(), 4);
  EXPECT_EQ(d.Values().Style(), 3);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(preview->Digit(i)->BackColor(), QColor(0, 0, 128));
    EXPECT_EQ(preview->Digit(i)->OnColor(), QColor(255, 0, 0));
    EXPECT_EQ(preview->Digit(i)->DigitStyle(), ds7Seg);
    EXPECT_EQ(preview->Digit(i)->SegWidth(), 4);
  }
  // The indicators' black surround takes the panel colour.
  for (int i = 0; i < 4; ++i) {
    const QImage indicator = preview->Indicator(i)->pixmap().toImage();
    ASSERT_FALSE(indicator.isNull());
    EXPECT_EQ(indicator.pixelColor(0, 0), QColor(0, 0, 128)) << i;
  }
  EXPECT_EQ(preview->Digit(0)->Digit(), QChar('1'));
  EXPECT_EQ(preview->Digit(3)->Digit(), QChar('6'));

  // The reception label blinks between the bright and the dim text colour.
  QTest::mouseClick(Find<QToolButton>(d, "tbt2"), Qt::LeftButton);
  const QColor first = preview->Reception()->palette().color(QPalette::WindowText);
  preview->ColorTimerTimer();
  const QColor second = preview->Reception()->palette().color(QPalette::WindowText);
  EXPECT_EQ(first, QColor(255, 0, 0));
  EXPECT_EQ(second, QColor(128, 0, 0));
  preview->ColorTimerTimer();
  EXPECT_EQ(preview->Reception()->palette().color(QPalette::WindowText), first);
}

TEST_F(SetupDialogTest, WithoutPortAccessAPortCardCannotBeConfirmed) {
  services_.PortAccessGranted = [](tModel, int32_t) { return false; };
  services_.SerialPortPresent = [](int32_t n) { return n == 2; };
  tdSetup& d = Open(Configured(mRA300, 1, vlNative));
  auto* ok = Find<QPushButton>(d, "btOk");
  EXPECT_TRUE(Find<QGroupBox>(d, "gWinNT")->isVisible());
  EXPECT_FALSE(Find<QGroupBox>(d, "gPort_030C_020C")->isVisible());
  EXPECT_FALSE(ok->isEnabled());
  ClickRow(Find<QListWidget>(d, "HwList"), "Gemtek RadioMan");
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_TRUE(Find<QGroupBox>(d, "gPort_Serial")->isVisible());
  EXPECT_EQ(Find<QComboBox>(d, "Port_Serial")->currentText(), "Com2");
}

TEST_F(SetupDialogTest, NoFreeSerialPortShowsTheWarningAndKeepsThePort) {
  services_.SerialPortPresent = [](int32_t) { return false; };
  tdSetup& d = Open(Configured(mRajikoma, 4, vlNative));
  auto* warning = Find<QGroupBox>(d, "gNoSerials");
  EXPECT_TRUE(warning->isVisible());
  EXPECT_TRUE(warning->findChild<QLabel*>()->text().startsWith("In your computer seems that"));
  EXPECT_TRUE(Find<QPushButton>(d, "btOk")->isEnabled());
  EXPECT_EQ(d.Values().Port(), 4);
}

TEST_F(SetupDialogTest, ARadioDeviceIsChosenFromTheDevicesPresent) {
  services_.RadioDevices = [] {
    return std::vector<RadioDeviceEntry>{{1, "/dev/radio0"}, {3, "/dev/radio2"}};
  };
  tdSetup& d = Open(Configured(mRadioTrack, 1, vlNative));
  ClickRow(Find<QListWidget>(d, "HwList"), "Linux V4L2 radio device");
  EXPECT_EQ(d.Values().Model(), mV4l2);
  EXPECT_TRUE(Find<QGroupBox>(d, "gPort_Device")->isVisible());
  EXPECT_FALSE(Find<QGroupBox>(d, "gPort_030C_020C")->isVisible());
  auto* devices = Find<QComboBox>(d, "Port_Device");
  EXPECT_EQ(Entries(devices), (QStringList{"/dev/radio0", "/dev/radio2"}));
  EXPECT_EQ(devices->currentText(), "/dev/radio0");
  devices->setCurrentIndex(1);
  EXPECT_EQ(d.Values().Port(), 3);
  EXPECT_TRUE(Find<QPushButton>(d, "btOk")->isEnabled());
  // Away and back: the device chosen stays.
  ClickRow(Find<QListWidget>(d, "HwList"), "Gemtek Wizard Radio");
  ClickRow(Find<QListWidget>(d, "HwList"), "Linux V4L2 radio device");
  EXPECT_EQ(devices->currentText(), "/dev/radio2");
}

TEST_F(SetupDialogTest, NoRadioDeviceShowsTheWarningAndKeepsThePort) {
  tdSetup& d = Open(Configured(mV4l2, 2, vlNative));
  auto* warning = Find<QGroupBox>(d, "gNoDevices");
  EXPECT_TRUE(warning->isVisible());
  EXPECT_TRUE(warning->findChild<QLabel*>()->text().startsWith("No radio device was found."));
  EXPECT_TRUE(Find<QPushButton>(d, "btOk")->isEnabled());
  EXPECT_EQ(d.Values().Port(), 2);
}

TEST_F(SetupDialogTest, AnSdrReceiverIsChosenByItsLabelOrNoneIsFound) {
  services_.SdrDevices = [] {
    return std::vector<SdrPortEntry>{{1, "Ondivo emulated SDR"}, {2, "Generic RTL2832U :: 7"}};
  };
  tdSetup& d = Open(Configured(mV4l2, 1, vlNative));
  ClickRow(Find<QListWidget>(d, "HwList"), "SoapySDR software radio");
  EXPECT_EQ(d.Values().Model(), mSdr);
  EXPECT_TRUE(Find<QGroupBox>(d, "gPort_Sdr")->isVisible());
  EXPECT_FALSE(Find<QGroupBox>(d, "gPort_030C_020C")->isVisible());
  auto* devices = Find<QComboBox>(d, "Port_Sdr");
  EXPECT_EQ(Entries(devices), (QStringList{"Ondivo emulated SDR", "Generic RTL2832U :: 7"}));
  devices->setCurrentIndex(1);
  EXPECT_EQ(d.Values().Port(), 2);
  EXPECT_TRUE(Find<QPushButton>(d, "btOk")->isEnabled());

  services_.SdrDevices = [] { return std::vector<SdrPortEntry>{}; };
  tdSetup& none = Open(Configured(mSdr, 3, vlNative));
  auto* warning = Find<QGroupBox>(none, "gNoSdr");
  EXPECT_TRUE(warning->isVisible());
  EXPECT_TRUE(warning->findChild<QLabel*>()->text().startsWith("No SDR receiver was found."));
  EXPECT_EQ(none.Values().Port(), 3);
}

TEST_F(SetupDialogTest, HelpAsksForItsTopic) {
  std::vector<std::string> topics;
  services_.Help = [&topics](const std::string& topic) { topics.push_back(topic); };
  tdSetup& d = Open(tConfiguration{});
  QTest::mouseClick(Find<QPushButton>(d, "btHelp"), Qt::LeftButton);
  EXPECT_EQ(topics, std::vector<std::string>{"Tuning_the_configuration"});
}

// Runs `act` on the modal settings dialog once it is up.
void WhenShown(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    act(*modal);
  });
}

TEST(SetupDialogRunTest, CancelHandsNothingBackAndOkTheEditedValues) {
  const tConfiguration settings = Configured(mRadioTrack, 1, vlNative);
  test::ScriptedPrompter prompter;
  WhenShown([](QWidget& d) {
    ClickRow(d.findChild<QListWidget*>("HwList"), "Reveal RA300");
    QTest::mouseClick(d.findChild<QPushButton*>("btCancel"), Qt::LeftButton);
  });
  EXPECT_FALSE(tdSetup::Run(nullptr, Values(settings, nullptr), {}, prompter).has_value());

  WhenShown([](QWidget& d) {
    ClickRow(d.findChild<QListWidget*>("HwList"), "Reveal RA300");
    QTest::mouseClick(d.findChild<QPushButton*>("btDefault"), Qt::LeftButton);
    QTest::mouseClick(d.findChild<QRadioButton*>("oLeave"), Qt::LeftButton);
    QTest::mouseClick(d.findChild<QCheckBox*>("oStartMuted"), Qt::LeftButton);
    QTest::mouseClick(d.findChild<QPushButton*>("btOk"), Qt::LeftButton);
  });
  const auto result = tdSetup::Run(nullptr, Values(settings, nullptr), {}, prompter);
  ASSERT_TRUE(result.has_value());
  tConfiguration out = settings;
  result->StoreInto(out);
  EXPECT_EQ(out.Hardware, HardwareIndexFromModel(mRA300));
  EXPECT_EQ(out.ShutDown, 1);
  EXPECT_TRUE(out.StartMuted);
  EXPECT_EQ(out.KeyboardCommands, DefaultKeyString());
  EXPECT_TRUE(prompter.shown.empty());
}

// COM1..COM8 all lead to the pty or nowhere, so nothing on the test machine interferes.
ComPortPaths OnlyCom3(const std::string& path) {
  ComPortPaths paths;
  for (int n = 1; n <= 8; ++n) paths.Override(n, "/nonexistent/ttyS" + std::to_string(n));
  paths.Override(3, path);
  return paths;
}

TEST_F(SetupDialogTest, APtyOnCom3AppearsInTheSerialList) {
  test::PtyPair pty;
  NullPortIo noPorts;
  test::RecordingDelay waits;
  const TRadioCard card(
      CardHardware{.Ports = noPorts, .Waits = waits, .ComPaths = OnlyCom3(pty.SlavePath())});
  services_.SerialPortPresent = [&card](int32_t n) {
    return IsSerialPortPresent(n, card.ComPaths());
  };
  tdSetup& d = Open(Configured(mRadioMan, 2, vlNative));
  auto* ports = Find<QComboBox>(d, "Port_Serial");
  EXPECT_EQ(Entries(ports), QStringList{"Com3"});
  EXPECT_EQ(ports->currentIndex(), -1);  // COM2 is remembered but not there
  ports->setCurrentIndex(0);
  EXPECT_EQ(d.Values().Port(), 3);
}

TEST(SetupSerialListTest, AHeldPortIsListedAndAnOpenOneIsNot) {
  test::PtyPair pty;
  const ComPortPaths paths = OnlyCom3(pty.SlavePath());
  const auto present = [&paths](int32_t n) { return IsSerialPortPresent(n, paths); };
  const auto held = OpenSerialDevice(pty.SlavePath());
  ASSERT_TRUE(held.Valid());
  EXPECT_TRUE(AvailableSerialPorts(present, std::nullopt).empty());
  EXPECT_EQ(AvailableSerialPorts(present, 3), std::vector<int32_t>{3});
}

TEST(SetupSerialListTest, AnUnprivilegedUserSeesTheSamePort) {
  test::PtyPair pty;
  ASSERT_EQ(::chown(pty.SlavePath().c_str(), 65534, 65534), 0);
  const ComPortPaths paths = OnlyCom3(pty.SlavePath());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    const auto present = [&paths](int32_t n) { return IsSerialPortPresent(n, paths); };
    // Twice: probing must leave the port free for the next look.
    if (AvailableSerialPorts(present, std::nullopt) != std::vector<int32_t>{3}) ::_exit(3);
    if (AvailableSerialPorts(present, std::nullopt) != std::vector<int32_t>{3}) ::_exit(4);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "3: not listed, 4: not listed the second time";
}

}  // namespace
}  // namespace ondivo
