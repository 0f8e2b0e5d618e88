// The panel built through the executable's wiring, on a private session bus, driven by the
// desktop tools users have: playerctl for MPRIS2, busctl and gdbus for our own interface.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>

#include "app/PanelWiring.h"
#include "remote/RemoteControl.h"
#include "sim/EmulatedRadioTrack.h"
#include "sim/EmulatedV4l2Radio.h"
#include "sim/SimulatedRig.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPanelWiring.h"

namespace ondivo {
namespace {

constexpr int kToolMs = 20000;  // a loaded machine starts a tool slowly
const char* const kConnection = "PanelRemoteTest";

struct tToolRun {
  int Exit = -1;
  QString Out, Err;
};

class PanelRemoteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Open(
        "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n"
        "[Presets]\nCurrent=3\nList=3,5,\nStation03=M 101.100 Sports Call\n"
        "Station05=M 098.000 Forum\n");
    radio = dynamic_cast<sim::EmulatedRadioTrack*>(rig.Bus().CardAt(0x30C));
    ASSERT_NE(radio, nullptr);
  }
  void Open(const std::string& ini) {
    test::WriteBytes(dir / "Ondivo.ini", ini);
    tPanelWiring wiring = test::EmulatedPanelWiring(card, prompts, dir.Path(), &rig);
    panel = std::make_unique<tdMain>(PanelServices(wiring));
    ASSERT_TRUE(panel->Create());
  }
  void TearDown() override {
    remote.reset();
    QDBusConnection::disconnectFromBus(kConnection);
  }

  // The panel on the private bus, as the executable puts it on the session bus.
  bool Connect() {
    if (bus.Address().empty()) return false;
    const QDBusConnection connection =
        QDBusConnection::connectToBus(QString::fromStdString(bus.Address()), kConnection);
    remote =
        RemoteControl::Start(*panel, connection, [this](const QString& line) { logged << line; });
    return remote != nullptr;
  }

  QProcess* StartTool(const QStringList& command) {
    auto* tool = new QProcess(panel.get());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString(bus.Address()));
    tool->setProcessEnvironment(env);
    tool->start(command.first(), command.mid(1));
    return tool;
  }
  // Runs a tool to its end with the event loop turning, so the panel answers it meanwhile.
  tToolRun Tool(const QStringList& command) {
    QProcess* tool = StartTool(command);
    QSignalSpy finished(tool, &QProcess::finished);
    tToolRun run;
    if (tool->state() != QProcess::NotRunning && finished.wait(kToolMs))
      run.Exit = tool->exitCode();
    run.Out = QString::fromUtf8(tool->readAllStandardOutput()).trimmed();
    run.Err = QString::fromUtf8(tool->readAllStandardError()).trimmed();
    delete tool;
    return run;
  }
  tToolRun Playerctl(const QStringList& args) {
    return Tool(QStringList{"playerctl", "--player=ondivo"} + args);
  }
  tToolRun Radio(const QStringList& args) {
    return Tool(QStringList{"busctl", "--user", "call", "org.ondivo.Radio", "/org/ondivo/Radio",
                            "org.ondivo.Radio1"} +
                args);
  }
  double CardFrequency() const { return radio->TunedFrequency().value_or(0); }
  bool SoundOffShown() const {
    return panel->windowIcon().cacheKey() == panel->SoundOffIcon().cacheKey() &&
           panel->Action(cmMuteOnOff)->isChecked();
  }

  test::PrivateSessionBus bus;
  test::TempDir dir;
  sim::SimulatedRig rig{mRadioTrack, false};
  TRadioCard card{rig.Hardware()};
  test::ScriptedPrompter prompts;
  std::unique_ptr<tdMain> panel;
  sim::EmulatedRadioTrack* radio = nullptr;
  std::unique_ptr<RemoteControl> remote;
  QStringList logged;
};

TEST_F(PanelRemoteTest, PlayerctlReadsTheStationAndMutesStepsPresetsAndSetsTheVolume) {
  ASSERT_TRUE(Connect());
  panel->TuneTo(bFM, false, 101.1);
  EXPECT_EQ(Playerctl({"metadata", "xesam:title"}).Out, "Sports Call (101.1 MHz)");

  const qint64 indicatorOn = panel->SoundIndicator()->pixmap().cacheKey();
  EXPECT_EQ(Playerctl({"play-pause"}).Exit, 0);
  EXPECT_TRUE(panel->State().Muted);
  EXPECT_FALSE(radio->AudioOn());
  EXPECT_TRUE(SoundOffShown());
  EXPECT_NE(panel->SoundIndicator()->pixmap().cacheKey(), indicatorOn);
  EXPECT_EQ(Playerctl({"status"}).Out, "Paused");
  EXPECT_EQ(Playerctl({"play-pause"}).Exit, 0);
  EXPECT_FALSE(panel->State().Muted);
  EXPECT_TRUE(radio->AudioOn());
  EXPECT_FALSE(SoundOffShown());

  // The assigned presets in turn, round from the last to the first.
  EXPECT_EQ(Playerctl({"next"}).Exit, 0);
  EXPECT_DOUBLE_EQ(CardFrequency(), 98.0);
  EXPECT_EQ(panel->State().CurrentPreset, 5);
  EXPECT_EQ(Playerctl({"next"}).Exit, 0);
  EXPECT_DOUBLE_EQ(CardFrequency(), 101.1);
  EXPECT_EQ(Playerctl({"previous"}).Exit, 0);
  EXPECT_EQ(panel->State().CurrentPreset, 5);

  EXPECT_EQ(Playerctl({"volume", "0.25"}).Exit, 0);
  EXPECT_EQ(panel->VolumeSlider()->value(), panel->VolumeSlider()->maximum() / 4);
  EXPECT_EQ(radio->Volume(), 64);
  EXPECT_EQ(Playerctl({"volume"}).Out.toDouble(), 0.25);

  panel->Do_Hide();
  EXPECT_EQ(Tool({"busctl", "--user", "call", "org.mpris.MediaPlayer2.ondivo",
                  "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2", "Raise"})
                .Exit,
            0);
  EXPECT_FALSE(panel->State().Hidden);
}

// A radio device that sends RDS: its RadioText is the track's artist.
class PanelRemoteRdsTest : public PanelRemoteTest {
 protected:
  void SetUp() override {
    sim::EmulatedV4l2Radio::Options options;
    options.NowMs = [this] { return nowMs; };
    sim::PlugSimulatedV4l2Radio(card, {}, {}, options);
    Open("[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Frequency]\nFrequency=M 097.100\n");
  }
  int64_t nowMs = 1000;
};

TEST_F(PanelRemoteRdsTest, TheRadioTextIsTheArtist) {
  ASSERT_TRUE(Connect());
  EXPECT_EQ(Playerctl({"metadata", "xesam:artist"}).Out, "");
  QDeadlineTimer deadline(kToolMs);
  while (panel->Readout().StationHint.empty() && !deadline.hasExpired()) {
    nowMs += 500;  // broadcast time goes on while the event loop turns
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  EXPECT_EQ(Playerctl({"metadata", "xesam:artist"}).Out,
            "You are listening to Chill Out on 97.10 MHz");
}

// What the user does at the panel reaches a following client as it happens.
TEST_F(PanelRemoteTest, AFollowingClientHearsOfEveryStationMuteAndVolumeChange) {
  ASSERT_TRUE(Connect());
  QProcess* follow = StartTool({"playerctl", "--player=ondivo", "--follow", "metadata", "--format",
                                "{{status}} {{volume}} {{xesam:title}}"});
  QStringList lines;
  const auto waitFor = [&](const QString& line) {
    QElapsedTimer bound;
    bound.start();
    while (!lines.contains(line) && bound.elapsed() < kToolMs) {
      QSignalSpy more(follow, &QProcess::readyReadStandardOutput);
      if (!follow->canReadLine()) more.wait(kToolMs - static_cast<int>(bound.elapsed()));
      while (follow->canReadLine()) lines << QString::fromUtf8(follow->readLine()).trimmed();
    }
    return lines.contains(line);
  };
  ASSERT_TRUE(waitFor("Playing 0.5 Sports Call (101.1 MHz)")) << lines.join('\n').toStdString();
  panel->Run(cmIncFreq);
  EXPECT_TRUE(waitFor("Playing 0.5 101.125 MHz")) << lines.join('\n').toStdString();
  panel->Run(cmMuteOnOff);
  EXPECT_TRUE(waitFor("Paused 0.5 101.125 MHz")) << lines.join('\n').toStdString();
  panel->Run(cmVolumeUp);
  EXPECT_TRUE(waitFor("Playing 0.5625 101.125 MHz")) << lines.join('\n').toStdString();
  follow->kill();
  follow->waitForFinished();
}

TEST_F(PanelRemoteTest, OurInterfaceTunesRecallsAndReportsThroughBusctlAndGdbus) {
  ASSERT_TRUE(Connect());
  EXPECT_EQ(Radio({"Tune", "sd", "FM", "98.8"}).Exit, 0);
  EXPECT_DOUBLE_EQ(CardFrequency(), 98.8);
  EXPECT_EQ(Tool({"busctl", "--user", "get-property", "org.ondivo.Radio", "/org/ondivo/Radio",
                  "org.ondivo.Radio1", "Frequency"})
                .Out,
            "d 98.8");
  EXPECT_EQ(Tool({"gdbus", "call", "--session", "-d", "org.ondivo.Radio", "-o", "/org/ondivo/Radio",
                  "-m", "org.ondivo.Radio1.RecallPreset", "3"})
                .Exit,
            0);
  EXPECT_DOUBLE_EQ(CardFrequency(), 101.1);
  EXPECT_EQ(Tool({"gdbus", "call", "--session", "-d", "org.ondivo.Radio", "-o", "/org/ondivo/Radio",
                  "-m", "org.freedesktop.DBus.Properties.Get", "org.ondivo.Radio1", "Station"})
                .Out,
            "(<'Sports Call'>,)");

  const tToolRun outside = Radio({"Tune", "sd", "FM", "120"});
  EXPECT_NE(outside.Exit, 0);
  EXPECT_TRUE(outside.Err.contains("120. MHz is outside the band")) << outside.Err.toStdString();
  const tToolRun empty = Radio({"RecallPreset", "i", "4"});
  EXPECT_TRUE(empty.Err.contains("Preset 4 is empty")) << empty.Err.toStdString();
  EXPECT_DOUBLE_EQ(CardFrequency(), 101.1);
}

TEST_F(PanelRemoteTest, ATuneDuringAScanIsRefusedWithWhy) {
  ASSERT_TRUE(Connect());
  tToolRun during;
  // The call arrives while the scan loop turns, as a script's would.
  panel->OnScanStep = [&] {
    if (during.Exit == -1) during = Radio({"Tune", "sd", "FM", "90"});
    panel->MutableState().StopRequested = true;
  };
  panel->TuneTo(bFM, false, 88.0);
  panel->Run(cmScanRight);
  EXPECT_EQ(during.Exit, 1);
  EXPECT_TRUE(during.Err.contains("Ondivo is scanning: tuning is refused until the scan stops"))
      << during.Err.toStdString();
  EXPECT_NE(CardFrequency(), 90.0);
  EXPECT_EQ(Radio({"Tune", "sd", "FM", "90"}).Exit, 0);  // once it stopped
  EXPECT_DOUBLE_EQ(CardFrequency(), 90.0);
}

TEST_F(PanelRemoteTest, NothingChangesUnderAnOpenDialogAndARadioAtVolumeZeroDoesNotPlay) {
  ASSERT_TRUE(Connect());
  tToolRun underDialog;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    underDialog = Radio({"Tune", "sd", "FM", "90"});
    dialog->close();
  });
  panel->Run(cmJump);
  EXPECT_TRUE(underDialog.Err.contains("A dialog is open in Ondivo: close it first"))
      << underDialog.Err.toStdString();
  EXPECT_NE(CardFrequency(), 90.0);

  panel->Run(cmVolumeTo0);
  const tToolRun silent = Playerctl({"play"});
  EXPECT_NE(silent.Exit, 0);
  EXPECT_TRUE(silent.Err.contains("The volume is at 0: turn it up first"))
      << silent.Err.toStdString();
}

TEST_F(PanelRemoteTest, WithoutASessionBusThePanelRunsOnAndTheLogSaysSoOnce) {
  const QDBusConnection none =
      QDBusConnection::connectToBus("unix:path=/nonexistent/ondivo-bus", "NoBus");
  remote = RemoteControl::Start(*panel, none, [this](const QString& line) { logged << line; });
  QDBusConnection::disconnectFromBus("NoBus");
  EXPECT_EQ(remote, nullptr);
  ASSERT_EQ(logged.size(), 1);
  EXPECT_TRUE(logged[0].startsWith("no session bus")) << logged[0].toStdString();
  EXPECT_FALSE(panel->OnShownChange);
  panel->Run(cmIncFreq);
  EXPECT_GT(CardFrequency(), 101.1);
}

}  // namespace
}  // namespace ondivo
