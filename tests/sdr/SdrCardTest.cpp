// The SDR model through the card component, on the real SoapySDR path: our emulated device
// (driver=ondivo) found by enumeration or named by its arguments, the sound played on the
// emulated sound card.
#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "panel/PanelModel.h"
#include "panel/ScanStepper.h"
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "radio/RdsDecoder.h"
#include "sdr/BandPower.h"
#include "sdr/ReceptionState.h"
#include "sim/RdsGenerator.h"
#include "sim/SimulatedSdr.h"
#include "stations/PresetsBank.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/FmStationSynth.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/PlayedSoundMeasure.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

namespace ondivo {
namespace {

class SdrCardTest : public test::EmulatedSoundCardTestBase {
 protected:
  static void SetUpTestSuite() { sim::FindEmulatedSdr(); }
  void SetUp() override { StartCard(); }

  // An SDR card at port 1, volume 256 on the card; args names the device (else the first
  // one SoapySDR finds).
  void Configure(const std::string& args = "") {
    SdrDevices devices;
    if (!args.empty()) devices.Override(1, args);
    card.SetSdrDevices(devices);
    card.SetModel(mSdr);
    card.SetPort(1);
    card.SetVolumeLine(vlNative);
    card.StoreVolume(256);
  }
  // Retunes to the station a few times, so some 400 ms of its sound reach the sound card.
  void Listen(double mhz) {
    for (int i = 0; i < 3; ++i) {
      card.SetFrequency(mhz);
      ASSERT_EQ(card.GetSignal(), sStereo);
    }
  }

  test::RecordingBus bus;
  TRadioCard card{CardHardware{.Ports = bus, .Waits = bus, .SoundCard = true}};
};

TEST_F(SdrCardTest, TheFirstDeviceFoundTunesOnItsGridAndTellsTheReception) {
  EXPECT_EQ(ModelFromHardwareIndex(9), mSdr);
  Configure();
  card.SwitchOn();
  ASSERT_FALSE(card.DeviceLost());

  card.SetFrequency(88.104);  // 88.1 MHz: stereo, 1 kHz left and 3 kHz right
  EXPECT_DOUBLE_EQ(card.Frequency(), 88.1);
  EXPECT_EQ(card.GetSignal(), sStereo);
  card.Tune(false, bFM, 88.1);  // forced mono
  EXPECT_EQ(card.GetSignal(), sMono);
  card.SetFrequency(88.5);  // between stations
  EXPECT_EQ(card.GetSignal(), sNone);
  card.Tune(true, bFM, 88.9);  // a mono station
  EXPECT_EQ(card.GetSignal(), sMono);

  card.SwitchOff();
  card.SetJapaneseFM(true);
  card.SwitchOn();
  card.Tune(true, bFM, 76.1);
  EXPECT_DOUBLE_EQ(card.Frequency(), 76.1);
  EXPECT_EQ(card.GetSignal(), sStereo);
}

TEST_F(SdrCardTest, VolumeAndMuteAreHeardOnTheSoundCard) {
  Configure("driver=ondivo");
  card.SwitchOn();
  Listen(88.1);
  card.SwitchOff();

  card.SwitchOn();
  card.SetVolume(64);
  Listen(88.1);
  card.SwitchOff();

  card.SwitchOn();
  card.Mute();
  EXPECT_TRUE(card.Muted());
  Listen(88.1);
  card.SwitchOff();

  const auto played = soundCard->Played();
  ASSERT_EQ(played.size(), 3u);
  const auto peak = [](const sim::PlayedSound& s) { return test::Peak(s, 0, s.Samples.size()); };
  ASSERT_GT(peak(played[0]), 3000);
  // Gain goes with the square of the volume: a quarter of the scale is 24 dB down.
  EXPECT_NEAR(static_cast<double>(peak(played[1])) / peak(played[0]), 1.0 / 16, 0.02);
  EXPECT_LT(peak(played[2]), 30);
}

TEST_F(SdrCardTest, ADeviceThatFailsIsToldOnceAndTheCardGoesOn) {
  // It fails before the first measurement could be told.
  Configure("driver=ondivo,pace=0,failafter=50000");
  card.SwitchOn();
  card.SetFrequency(88.1);
  EXPECT_THROW(card.GetSignal(), eDeviceLost);
  EXPECT_TRUE(card.DeviceLost());
  EXPECT_EQ(card.GetSignal(), sNone);
  card.SetFrequency(88.9);
  card.SetVolume(100);
  card.Mute();
  EXPECT_DOUBLE_EQ(card.Frequency(), 88.9);

  card.SwitchOff();
  card.SetSdrDevices({});
  card.SwitchOn();
  EXPECT_FALSE(card.DeviceLost());
  card.SetFrequency(88.1);
  EXPECT_EQ(card.GetSignal(), sStereo);
}

// CI runs as root: an ordinary user opens the device, receives and hears the station on the
// emulated card's stream output, which is private to that user.
TEST_F(SdrCardTest, AnOrdinaryUserReceivesAndHearsTheStation) {
  test::UnprivilegedCopies copies;
  if (!copies.Reachable()) GTEST_SKIP() << "cannot run as uid 65534 in " << copies.Path();
  sim::EmulatedSoundCardOptions options;
  options.PluginPath = copies.Add(sim::EmulatedSoundCardPlugin());
  // The build tree may be private to root: the user loads the device module from the copies.
  ASSERT_FALSE(copies.Add(sim::EmulatedSdrModuleFolder() / "libSoapyOndivo.so").empty());
  test::TempDir own;  // the fixture's card is root's
  test::GiveToUnprivilegedUser(own.Path());
  EXPECT_TRUE(test::RunAsUnprivilegedUser([this, &options, &own, &copies] {
    ::setenv("SOAPY_SDR_PLUGIN_PATH", copies.Path().c_str(), 1);
    try {
      const auto mine = sim::StartEmulatedSoundCard(own.Path(), options);
      Configure("driver=ondivo,pace=0");
      SdrDevices devices = card.Sdr();
      devices.AudioDevice = mine->StreamDeviceName();
      card.SetSdrDevices(devices);
      card.SwitchOn();
      card.SetFrequency(88.1);
      const bool stereo = card.GetSignal() == sStereo;
      card.SwitchOff();
      const auto heard = mine->Streamed();
      return stereo && heard && test::Peak(*heard, 0, heard->Samples.size()) > 3000;
    } catch (const std::exception&) {
      return false;
    }
  }));
  const auto perms = std::filesystem::status(own / "stream.ring").permissions();
  EXPECT_EQ(perms & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(SdrCardTest, RdsFromTheMultiplexReachesTheDecoderAsFromARadioDevice) {
  Configure("driver=ondivo,pace=0");
  int closing = 0;
  card.OnDeviceClosing = [&] { ++closing; };
  card.SwitchOn();
  card.SetFrequency(88.1);
  const sim::StationLandscape landscape;
  const auto sent = sim::LandscapeRds(*landscape.StationAt(bFM, 88.1));
  // Reads as the panel's notifier does, until name and text are whole (the text takes some
  // 6 s of signal; the device delivers faster than that here).
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd fd{card.RdsDescriptor(), POLLIN, 0};
    ASSERT_GE(fd.fd, 0);
    if (poll(&fd, 1, 100) == 1) card.HandleRdsEvents();
    if (!card.Rds()->RadioText().empty()) break;
  }
  EXPECT_EQ(card.Rds()->ProgramService(), sent.ProgramService);
  EXPECT_EQ(card.Rds()->RadioText(), sent.RadioText);
  EXPECT_EQ(card.Rds()->PI(), sent.PI);

  card.SetFrequency(88.9);  // mono, no RDS: the old station is forgotten
  EXPECT_EQ(card.GetSignal(), sMono);
  card.HandleRdsEvents();
  EXPECT_FALSE(card.Rds()->HasPI());
  card.SwitchOff();
  EXPECT_EQ(closing, 1);
  EXPECT_EQ(card.RdsDescriptor(), -1);
  EXPECT_EQ(card.Rds(), nullptr);
}

TEST_F(SdrCardTest, ASeekScanStopsOnEveryStationInTurnAndOnNothingElse) {
  Configure("driver=ondivo,rate=2.4e6");
  card.SwitchOn();
  ASSERT_TRUE(card.CanHardwareSeek());
  card.SetFrequency(87.0);
  EXPECT_EQ(card.SeekSpectrum(), nullptr);
  std::vector<double> expected, found;
  for (const auto& s : sim::StationLandscape().Stations())
    if (s.Band == bFM && s.Frequency >= 87.0) expected.push_back(s.Frequency);
  int looks = 0;
  while (card.Frequency() < card.BandMax() && looks < 100) {
    ++looks;
    if (card.SeekStep(true)) {
      found.push_back(card.Frequency());
      EXPECT_NE(card.GetSignal(), sNone);
      // The look the station was found in is there to be drawn.
      const sdr::Spectrum* look = card.SeekSpectrum();
      ASSERT_NE(look, nullptr);
      const double hz = card.Frequency() * 1e6;
      const auto there =
          sdr::BandPower::Stations(*look, hz - 25e3, hz + 25e3, sdr::kStationMarginDb);
      ASSERT_EQ(there.size(), 1u);
      EXPECT_NEAR(there[0], hz, 1);
    }
  }
  EXPECT_EQ(found, expected);
  card.SwitchOff();
  EXPECT_EQ(card.SeekSpectrum(), nullptr);
}

TEST_F(SdrCardTest, ASeekOverAnEmptyBandWalksToTheEdgeALookAtATime) {
  const test::TempDir dir;
  test::WriteBytes(dir / "noise.cu8", test::NoiseCaptureCu8());
  Configure("driver=ondivo,file=" + (dir / "noise.cu8").string() +
            ",format=cu8,rate=2.4e6,center=97.5e6");
  card.SwitchOn();
  card.SetFrequency(87.0);
  {
    // The panel's scan takes a look per step: a stop asked for meanwhile ends it there.
    PresetsBank bank;
    tConfiguration settings;
    tPanelState panel;
    LocaleFormat locale;
    PanelModel model{card, bank, settings, panel, locale};
    ScanStepper up(model, tScanDirection::Up);
    up.Begin();
    EXPECT_EQ(up.Step(), tScanStep::Continue);
    const double reached = card.Frequency();
    EXPECT_GT(reached, 88.0);
    panel.StopRequested = true;
    EXPECT_EQ(up.Step(), tScanStep::Stopped);
    EXPECT_DOUBLE_EQ(card.Frequency(), reached);
    up.End();
  }
  card.SetFrequency(87.0);
  int looks = 0, found = 0;
  while (card.Frequency() < card.BandMax() && looks < 100) {
    ++looks;
    found += card.SeekStep(true);
  }
  EXPECT_EQ(found, 0);
  EXPECT_DOUBLE_EQ(card.Frequency(), card.BandMax());
  EXPECT_LE(looks, 13);  // about 1.75 MHz decided per look
  card.SwitchOff();
}

TEST_F(SdrCardTest, APortWithoutADeviceCannotBeSwitchedOn) {
  Configure();
  card.SetPort(8);
  EXPECT_THROW(card.SwitchOn(), ePortAlreayOpen);
  EXPECT_EQ(card.SdrFailure(), "No SDR device was found at port 8.");
  EXPECT_EQ(card.GetSignal(), sNone);
  card.SwitchOff();
}

}  // namespace
}  // namespace ondivo
