// The card component on the V4L2 model, driving the emulated radio device through the real
// protocol: what the device decodes and what the panel reads back.
#include <linux/videodev2.h>

#include <gtest/gtest.h>

#include <cmath>

#include "radio/PlatformCheck.h"
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "radio/RdsDecoder.h"
#include "radio/RdsLabel.h"
#include "sim/EmulatedV4l2Radio.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/V4l2Rig.h"

namespace ondivo {
namespace {

using sim::EmulatedV4l2Radio;
using Seek = EmulatedV4l2Radio::Seek;

class V4l2CardTest : public ::testing::Test {
 protected:
  TRadioCard& Card(EmulatedV4l2Radio::Options options = {}, bool mixer = false,
                   tVolumeLine line = vlNative,
                   sim::StationLandscape landscape = sim::StationLandscape()) {
    TRadioCard& card = rig_.Build({std::move(options), mixer, line, landscape});
    device_ = rig_.Device;
    mixer_ = rig_.Mixer;
    return card;
  }
  uint32_t Units(double mhz) const {
    const auto& o = device_->Settings();
    return static_cast<uint32_t>(std::llround(mhz * (o.OneHzUnits ? 1e6
                                                     : o.LowUnits ? 16000
                                                                  : 16)));
  }

  test::V4l2Rig rig_;
  int64_t& nowMs_ = rig_.NowMs;
  EmulatedV4l2Radio* device_ = nullptr;
  test::FakeMixer* mixer_ = nullptr;
};

TEST_F(V4l2CardTest, BeforeOpeningTheModelListShowsTheDefaults) {
  test::RecordingBus bus;
  TRadioCard card(test::BusHardware(bus));
  EXPECT_EQ(TRadioCard::ModelCount(), 9);
  const tDevCap cap = card.GetDevCap(mV4l2);
  EXPECT_EQ(cap.Maker, "Linux");
  EXPECT_EQ(cap.Name, "V4L2 radio device");
  EXPECT_EQ(cap.FMMin, 87.5);
  EXPECT_EQ(cap.FMMax, 108.0);
  EXPECT_EQ(cap.FMStep, 0.05);
  EXPECT_FALSE(cap.HasAM);
  EXPECT_FALSE(cap.CanVolume);
  EXPECT_EQ(cap.PortCount, 8);
  EXPECT_EQ(ModelFromHardwareIndex(8), mV4l2);
  EXPECT_FALSE(IsModelOnPort(8)) << "no port grant is needed";
}

TEST_F(V4l2CardTest, StoredSettingsAppliedBeforeOpeningMeetTheDevice) {
  // The panel's start-up order: settings first, then the switch-on.
  for (bool reaches76 : {true, false}) {
    EmulatedV4l2Radio::Options options;
    options.Bands = {{reaches76 ? 76.0 : 87.5, 108.0}};
    test::V4l2Rig rig;
    test::V4l2Rig::Setup setup;
    setup.Device = options;
    TRadioCard& card = rig.Build(setup);
    card.SwitchOff();
    card.SetJapaneseFM(true);
    card.SetStereo(true);
    card.SwitchOn();
    EXPECT_EQ(card.JapaneseFM(), reaches76);
    EXPECT_EQ(card.FMMin(), reaches76 ? 76.0 : 87.5);
    EXPECT_TRUE(card.Stereo());
  }
}

TEST_F(V4l2CardTest, SwitchingOnAdoptsTheDevicesRecord) {
  EmulatedV4l2Radio::Options options;
  options.Card = "USB FM Stick";
  options.Bands = {{76.0, 108.0}, {0.52, 1.71, true}};
  TRadioCard& card = Card(options);
  const tDevCap cap = card.GetDevCap(mV4l2);
  EXPECT_EQ(cap.Name, "USB FM Stick");
  EXPECT_EQ(cap.Maker, "Linux");
  EXPECT_EQ(cap.FMMin, 87.0);
  EXPECT_EQ(cap.FMMax, 108.0);
  EXPECT_TRUE(cap.HasJapaneseFM);
  EXPECT_TRUE(cap.HasAM);
  EXPECT_EQ(cap.AMStep, 0.009);
  EXPECT_TRUE(cap.CanVolume);
  EXPECT_TRUE(cap.CanMute);
  EXPECT_TRUE(cap.StereoSwitch);
  card.SetJapaneseFM(true);
  EXPECT_EQ(card.FMMin(), 76.0);
  EXPECT_EQ(card.FMMax(), 91.0);
}

TEST_F(V4l2CardTest, EveryBandLimitAndGridPointRoundTripsInDriverUnits) {
  struct Case {
    bool lowUnits;
    bool oneHz;       // 1 Hz units, which win over the low ones
    bool bandsOneHz;  // the bands' own capability gives their ranges in 1 Hz
    bool listsBands;
    double step;
  } cases[] = {{true, false, false, true, 0.05},  {false, false, false, true, 0.0625},
               {true, false, false, false, 0.05}, {true, true, false, true, 0.05},
               {false, true, false, false, 0.05}, {true, false, true, true, 0.05}};
  for (const Case& c : cases) {
    EmulatedV4l2Radio::Options options;
    options.LowUnits = c.lowUnits;
    options.OneHzUnits = c.oneHz;
    options.ListsBands = c.listsBands;
    // Without a band list the tuner's one range is taken as FM.
    options.Bands = {{87.5, 108.0, false, c.bandsOneHz}};
    if (c.listsBands) options.Bands.push_back({0.52, 1.71, true, c.bandsOneHz});
    TRadioCard& card = Card(options);
    SCOPED_TRACE(testing::Message()
                 << "low units " << c.lowUnits << ", 1 Hz " << c.oneHz << ", bands in 1 Hz "
                 << c.bandsOneHz << ", bands " << c.listsBands);
    ASSERT_EQ(card.FMMin(), 87.5);
    ASSERT_EQ(card.GetDevCap(mV4l2).HasAM, c.listsBands && (c.lowUnits || c.oneHz));
    ASSERT_EQ(card.BandStep(), c.step);
    const int points = static_cast<int>(std::lround((card.FMMax() - card.FMMin()) / c.step));
    for (int n = 0; n <= points; ++n) {
      card.SetFrequency(card.FMMin() + n * c.step + c.step / 5);
      const double f = card.Frequency();
      ASSERT_EQ(device_->FrequencyUnits(), Units(f)) << n;
      ASSERT_EQ(device_->FrequencyMHz(), f) << n;
    }
    card.SetFrequency(200.0);
    EXPECT_EQ(device_->FrequencyMHz(), 108.0);
    card.SetFrequency(10.0);
    EXPECT_EQ(device_->FrequencyMHz(), 87.5);
    if (card.GetDevCap(mV4l2).HasAM) {
      card.SetBand(bAM);
      for (int n = 0; n <= 121; ++n) {
        card.SetFrequency(0.531 + n * 0.009);
        ASSERT_EQ(device_->FrequencyUnits(), Units(card.Frequency())) << "AM " << n;
      }
      EXPECT_DOUBLE_EQ(card.Frequency(), 1.62);
    }
  }
}

TEST_F(V4l2CardTest, AMNeedsFineUnitsAndTheWholeBand) {
  EmulatedV4l2Radio::Options coarse;
  coarse.LowUnits = false;
  EXPECT_FALSE(Card(coarse).GetDevCap(mV4l2).HasAM);
  EmulatedV4l2Radio::Options narrow;
  narrow.Bands = {{87.5, 108.0}, {0.6, 1.6, true}};
  EXPECT_FALSE(Card(narrow).GetDevCap(mV4l2).HasAM);
}

TEST_F(V4l2CardTest, ReceptionMapsOntoThePanelStates) {
  TRadioCard& card = Card();
  card.SetFrequency(88.1);  // Classic 88, stereo
  EXPECT_EQ(card.GetSignal(), sStereo);
  card.SetFrequency(88.9);  // City Talk, mono
  EXPECT_EQ(card.GetSignal(), sMono);
  card.SetFrequency(88.5);  // noise
  EXPECT_EQ(card.GetSignal(), sNone);
  // The stereo switch off: the device is set to mono and the panel says so.
  card.Tune(false, bFM, 88.1);
  EXPECT_FALSE(device_->StereoMode());
  EXPECT_EQ(card.GetSignal(), sMono);
  card.Tune(true, bFM, 88.1);
  EXPECT_TRUE(device_->StereoMode());

  EmulatedV4l2Radio::Options noStereo;
  noStereo.Stereo = false;
  TRadioCard& plain = Card(noStereo);
  plain.SetFrequency(88.1);
  EXPECT_EQ(plain.GetSignal(), sTuned);
  EXPECT_FALSE(plain.Stereo());
}

TEST_F(V4l2CardTest, AMissingVolumeControlKeepsTheUsersRoute) {
  EmulatedV4l2Radio::Options options;
  options.Volume = false;
  TRadioCard& card = Card(options, true, vlNative);
  EXPECT_FALSE(card.GetDevCap(mV4l2).CanVolume);
  // Its sound does not arrive on the line in: nothing moves the route there.
  EXPECT_EQ(card.VolumeLine(), vlNative);
  const int32_t lineBefore = mixer_->controls[mcLineInVolume].value[0];
  card.SetVolume(128);
  EXPECT_EQ(mixer_->controls[mcLineInVolume].value[0], lineBefore);
  card.Mute();
  EXPECT_TRUE(device_->Muted());

  // With the control the native route drives the device.
  TRadioCard& native = Card({}, true, vlNative);
  EXPECT_EQ(native.VolumeLine(), vlNative);
  native.SetVolume(128);
  EXPECT_EQ(device_->VolumeLevel(), 8);
  native.SetVolume(0);
  EXPECT_TRUE(device_->Muted());
  EXPECT_TRUE(native.Muted());
  native.SetVolume(256);
  EXPECT_EQ(device_->VolumeLevel(), 15);
  EXPECT_FALSE(device_->Muted());
}

TEST_F(V4l2CardTest, UnplugMidSessionSaysSoOnceAndLeavesAUsableCard) {
  TRadioCard& card = Card({}, true, vlLineIn);
  card.SetFrequency(98.0);
  device_->Unplug();
  EXPECT_THROW(card.SetFrequency(99.0), eDeviceLost);
  EXPECT_TRUE(card.DeviceLost());
  EXPECT_FALSE(device_->IsOpen()) << "the dead handle is released at once";
  // Nothing freezes or throws again; the panel keeps working on the mixer line.
  EXPECT_NO_THROW(card.SetFrequency(100.3));
  EXPECT_EQ(card.GetSignal(), sNone);
  EXPECT_FALSE(card.HandleRdsEvents());
  EXPECT_EQ(card.RdsDescriptor(), -1);
  EXPECT_EQ(card.Rds(), nullptr);
  EXPECT_FALSE(card.CanHardwareSeek());
  EXPECT_NO_THROW(card.SetVolume(64));
  EXPECT_NO_THROW(card.Mute());
  EXPECT_NO_THROW(card.SwitchOff());
  EXPECT_FALSE(card.On());
  // Switching on again while it is still gone is the usual open failure.
  EXPECT_THROW(card.SwitchOn(), ePortAlreayOpen);
}

TEST_F(V4l2CardTest, UnplugWhileReadingRds) {
  TRadioCard& card = Card();
  card.SetFrequency(88.1);
  device_->Unplug();
  EXPECT_THROW(card.HandleRdsEvents(), eDeviceLost);
  EXPECT_FALSE(card.HandleRdsEvents());
  EXPECT_TRUE(card.DeviceLost());
}

TEST_F(V4l2CardTest, RdsIsReadFromTheNodeOnlyWhenTheTunerDeliversBlocksThere) {
  EmulatedV4l2Radio::Options controlsOnly;
  controlsOnly.RdsBlockIo = false;  // RDS through controls: read() is not for it
  TRadioCard& card = Card(controlsOnly);
  card.SetFrequency(88.1);  // Classic 88 sends RDS
  nowMs_ += 4000;
  EXPECT_EQ(card.RdsDescriptor(), -1);
  EXPECT_FALSE(card.HandleRdsEvents());
  card.SetFrequency(97.1);
  EXPECT_EQ(device_->Reads(), 0);

  TRadioCard& blocks = Card();
  blocks.SetFrequency(88.1);
  nowMs_ += 4000;
  EXPECT_GE(blocks.RdsDescriptor(), 0);
  EXPECT_TRUE(blocks.HandleRdsEvents());
}

TEST_F(V4l2CardTest, BusyAndRefusedRequests) {
  EmulatedV4l2Radio::Options options;
  TRadioCard& card = Card(options);
  card.SwitchOff();
  device_->SetBusy(true);
  EXPECT_THROW(card.SwitchOn(), eDeviceBusy);
  EXPECT_TRUE(card.DeviceLost()) << "on, but nothing open: Setup opens it again";
  card.SwitchOff();
  device_->SetBusy(false);
  card.SwitchOn();
  device_->FailNext(VIDIOC_S_FREQUENCY, EBUSY);
  EXPECT_THROW(card.SetFrequency(90.4), eDeviceBusy);
  EXPECT_FALSE(card.DeviceLost());
  device_->FailNext(VIDIOC_S_CTRL, EINVAL);
  EXPECT_NO_THROW(card.SetVolume(64));
  card.SetFrequency(90.4);
  EXPECT_EQ(device_->FrequencyMHz(), 90.4);
  // A port index whose node does not exist.
  card.SwitchOff();
  card.SetPort(2);
  EXPECT_THROW(card.SwitchOn(), ePortAlreayOpen);
}

TEST_F(V4l2CardTest, HardwareSeekStopsOnStationsAndEndsAtTheBandEdge) {
  TRadioCard& card = Card();
  ASSERT_TRUE(card.CanHardwareSeek());
  card.SetFrequency(87.5);
  EXPECT_TRUE(card.SeekStep(true));
  EXPECT_EQ(card.Frequency(), 87.6);
  EXPECT_TRUE(card.SeekStep(true));
  EXPECT_EQ(card.Frequency(), 88.1);
  card.SetFrequency(87.55);
  EXPECT_FALSE(card.SeekStep(false));
  EXPECT_EQ(card.Frequency(), 87.5) << "nothing below: the scan ends at the edge";
  card.SetFrequency(107.6);
  EXPECT_TRUE(card.SeekStep(true));
  EXPECT_EQ(card.Frequency(), 108.0);
  card.SetBand(bAM);
  EXPECT_FALSE(card.CanHardwareSeek()) << "no scanning in AM";
}

constexpr sim::LandscapeStation kTwoStations[] = {
    {bFM, 90.0, true, "Ninety"},
    {bFM, 95.0, false, "Ninety-five"},
};

TEST_F(V4l2CardTest, SeekWithProgrammableLimitsGoesAWindowAtATime) {
  EmulatedV4l2Radio::Options options;
  options.HardwareSeek = Seek::BoundedLimits;
  TRadioCard& card = Card(options, false, vlNative, sim::StationLandscape(kTwoStations));
  card.SetFrequency(90.0);
  int steps = 0;
  while (!card.SeekStep(true) && steps < 10) ++steps;
  EXPECT_EQ(steps, 4) << "four empty windows of 1 MHz before 95.0";
  EXPECT_EQ(card.Frequency(), 95.0);
}

TEST_F(V4l2CardTest, WrappingSeekNeverWrapsTheScan) {
  EmulatedV4l2Radio::Options options;
  options.HardwareSeek = Seek::Wrap;
  TRadioCard& card = Card(options, false, vlNative, sim::StationLandscape(kTwoStations));
  card.SetFrequency(91.0);
  EXPECT_TRUE(card.SeekStep(true));
  EXPECT_EQ(card.Frequency(), 95.0);
  EXPECT_FALSE(card.SeekStep(true));
  EXPECT_EQ(card.Frequency(), 108.0);
}

TEST_F(V4l2CardTest, SeekFallsBackToSteppingWhenTheDriverRefuses) {
  TRadioCard& card = Card();
  card.SetFrequency(92.0);
  device_->FailNext(VIDIOC_S_HW_FREQ_SEEK, EAGAIN);
  EXPECT_FALSE(card.SeekStep(true));
  EXPECT_EQ(card.Frequency(), 92.05);
  EXPECT_FALSE(card.CanHardwareSeek());

  EmulatedV4l2Radio::Options none;
  none.HardwareSeek = Seek::None;
  EXPECT_FALSE(Card(none).CanHardwareSeek());
}

TEST_F(V4l2CardTest, RdsNameAndTextOfTheTunedStation) {
  TRadioCard& card = Card();
  card.SetFrequency(88.1);  // Classic 88
  ASSERT_GE(card.RdsDescriptor(), 0);
  EXPECT_FALSE(card.HandleRdsEvents()) << "nothing has arrived yet";
  nowMs_ += 4000;
  EXPECT_TRUE(card.HandleRdsEvents());
  ASSERT_NE(card.Rds(), nullptr);
  EXPECT_EQ(card.Rds()->ProgramService(), "CLASSIC ");
  EXPECT_EQ(StationNameToShow("", card.Rds()), "CLASSIC");
  EXPECT_EQ(StationNameToShow("My Classic", card.Rds()), "My Classic");
  EXPECT_EQ(SuggestedPresetName(card.Rds()), "CLASSIC");
  EXPECT_EQ(PresetNameToOffer("Old name", card.Rds()), "CLASSIC");
  EXPECT_EQ(PresetNameToOffer("Old name", nullptr), "Old name");
  nowMs_ += 20000;
  card.HandleRdsEvents();
  EXPECT_EQ(StationHintToShow(card.Rds()), "You are listening to Classic 88 on 88.10 MHz");

  card.SetFrequency(88.9);  // a mono station without RDS
  nowMs_ += 4000;
  card.HandleRdsEvents();
  EXPECT_EQ(StationNameToShow("", card.Rds()), "") << "the old name must go with the station";
}

}  // namespace
}  // namespace ondivo
