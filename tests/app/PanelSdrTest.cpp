// The front panel on an SDR receiver as `ondivo --simulate` builds it: AppHardware's emulated
// hardware (the emulated SoapySDR device at port 1, its sound on the emulated card's stream
// output) and the panel's services from the executable's wiring. The device runs in real time.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <filesystem>

#include "app/AppHardware.h"
#include "app/PanelWiring.h"
#include "panel/tdMain.h"
#include "radio/DeviceMessages.h"
#include "radio/HardwarePortIo.h"
#include "sim/EmulatedSoundCard.h"
#include "sim/EmulatedStream.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToneAnalysis.h"

namespace ondivo {
namespace {

std::string SdrIni() {
  return "[Audio]\nVolume=256\n"
         "[Configuration]\nHardware=9\nPort=1\nVolumeLine=1\nShutDown=0\n"
         "[Frequency]\nFrequency=M 088.100\nTuneStep=10\n"
         "[Presets]\nCurrent=0\nList=1,2,\nStation01=M 088.100\nStation02=M 097.100\n";
}

size_t Threads() {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                           std::filesystem::directory_iterator()));
}

// Left and right of a stretch of played sound, as floats.
struct Heard {
  std::vector<float> Left, Right;
};

class PanelSdrTest : public ::testing::Test {
 protected:
  // The panel of `ondivo --simulate [more]` on a configuration folder holding SdrIni().
  bool Start(std::vector<std::string> more = {}) {
    std::vector<std::string> arguments{"--simulate"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    test::WriteBytes(dir / "Ondivo.ini", SdrIni());
    hardware =
        std::make_unique<AppHardware>(ParseCommandLine(arguments), arguments, mSdr, ports, prompts);
    tPanelWiring wiring;
    wiring.Card = &hardware->Card();
    wiring.Mixer = hardware->Mixer();
    wiring.MixerDevice = hardware->MixerDevice();
    wiring.Prompts = &prompts;
    wiring.ConfigDir = dir.Path();
    wiring.PortGrantNeeded = false;
    panel = std::make_unique<tdMain>(PanelServices(wiring));
    return panel->Create();
  }
  TRadioCard& Card() { return hardware->Card(); }
  std::string Status() const { return panel->StatusLabel()->text().toStdString(); }
  // The last 100 ms of what the stream output played, once 300 ms more than now have played.
  Heard Listen() {
    const auto path = hardware->EmulatedCard()->StreamPath();
    const uint64_t until = sim::StreamedFrames(path) + 14400;
    QDeadlineTimer deadline(5000);
    while (sim::StreamedFrames(path) < until && !deadline.hasExpired())
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    Heard heard;
    if (const auto sound = sim::ReadStreamedSound(path); sound && sound->Samples.size() >= 9600) {
      for (size_t i = sound->Samples.size() - 9600; i < sound->Samples.size(); i += 2) {
        heard.Left.push_back(sound->Samples[i] / 32768.0f);
        heard.Right.push_back(sound->Samples[i + 1] / 32768.0f);
      }
    }
    return heard;
  }

  test::TempDir dir;
  test::ScriptedPrompter prompts;
  HardwarePortIo ports;  // none taken: emulated hardware
  std::unique_ptr<AppHardware> hardware;
  std::unique_ptr<tdMain> panel;
};

TEST_F(PanelSdrTest, PresetsFineTuningAndScanPlayTheTunedStationAndOffJoinsTheThreads) {
  ASSERT_TRUE(Start());
  const size_t threadsOn = Threads();
  EXPECT_EQ(Card().Model(), mSdr);
  EXPECT_EQ(Status(), "Stereo");

  // 88.1 MHz: 1 kHz on the left, 3 kHz on the right.
  Heard heard = Listen();
  ASSERT_EQ(heard.Left.size(), 4800u);
  const test::ToneSpectrum left(heard.Left, 48000), right(heard.Right, 48000);
  EXPECT_GT(left.ToneDb(1000) - left.ToneDb(3000), 30);
  EXPECT_GT(right.ToneDb(3000) - right.ToneDb(1000), 30);

  panel->btRadioClick(2);
  EXPECT_DOUBLE_EQ(Card().Frequency(), 97.1);
  EXPECT_EQ(Status(), "Stereo");
  panel->btRadioClick(1);
  for (int i = 0; i < 4; ++i) panel->Run(cmIncFreq);  // 88.5: between stations
  EXPECT_DOUBLE_EQ(Card().Frequency(), 88.5);
  EXPECT_EQ(Status(), "?????");
  heard = Listen();
  ASSERT_EQ(heard.Left.size(), 4800u);
  const test::ToneSpectrum quiet(heard.Left, 48000);
  // Hiss, evenly: neither tone stands above its neighbourhood.
  EXPECT_LT(quiet.ToneDb(1000) - quiet.ToneDb(1500), 10);
  EXPECT_LT(quiet.ToneDb(3000) - quiet.ToneDb(2500), 10);

  int steps = 0;
  panel->OnScanStep = [&] { ++steps; };
  panel->Run(cmScanRight);
  // The receiver's seek judges a window of channels per look, where a step scan takes four.
  EXPECT_GE(steps, 1);
  EXPECT_LT(steps, 4);
  EXPECT_DOUBLE_EQ(Card().Frequency(), 88.9);  // City Talk, mono: both tones on both channels
  EXPECT_EQ(Status(), "Mono");
  heard = Listen();
  ASSERT_EQ(heard.Left.size(), 4800u);
  const test::ToneSpectrum monoLeft(heard.Left, 48000), monoRight(heard.Right, 48000);
  EXPECT_NEAR(monoLeft.ToneDb(1000), monoRight.ToneDb(1000), 0.5);
  EXPECT_NEAR(monoLeft.ToneDb(3000), monoRight.ToneDb(3000), 0.5);
  EXPECT_GT(monoLeft.ToneDb(3000) - monoLeft.ToneDb(2500), 30);

  panel->close();  // ShutDown=0: the radio goes off
  EXPECT_EQ(Threads(), threadsOn - 2) << "switching off joins the receiver and the playback";
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(PanelSdrTest, TheStationsRdsNameAndRadioTextReachTheDisplay) {
  ASSERT_TRUE(Start());
  QLabel* name = panel->StationLabel();
  // Decoded from the multiplex in real time: the name takes about a second, the text longer.
  QDeadlineTimer deadline(15000);
  while ((name->text() != "CLASSIC" || name->toolTip().startsWith("Name")) &&
         !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  EXPECT_EQ(name->text(), "CLASSIC");
  EXPECT_EQ(name->toolTip(), "You are listening to Classic 88 on 88.10 MHz");
  EXPECT_EQ(panel->NameToStore(3), "CLASSIC");

  panel->btRadioClick(2);  // 97.1: the old name goes with the retune
  EXPECT_EQ(name->text(), "");
}

TEST_F(PanelSdrTest, ADeviceThatFailsIsToldOnceAndThePanelGoesOn) {
  // The stick fails some 50 ms after it is switched on, before the first reception is known.
  ASSERT_TRUE(Start({"--sdr", "1=driver=ondivo,failafter=50000"}));
  QCoreApplication::processEvents();
  EXPECT_EQ(prompts.Messages(), (std::vector<std::string>{kDeviceLostMessage}));
  EXPECT_TRUE(Card().DeviceLost());
  EXPECT_EQ(Status(), "?????");

  panel->btRadioClick(2);
  panel->Run(cmIncFreq);
  EXPECT_DOUBLE_EQ(Card().Frequency(), 97.2);
  panel->Run(cmScanRight);
  panel->Run(cmMuteOnOff);
  QCoreApplication::processEvents();
  EXPECT_FALSE(panel->State().Scanning);
  EXPECT_EQ(prompts.Messages().size(), 1u);
}

}  // namespace
}  // namespace ondivo
