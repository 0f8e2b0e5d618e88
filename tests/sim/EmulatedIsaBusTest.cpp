#include <gtest/gtest.h>

#include <cmath>

#include "radio/RadioCard.h"
#include "sim/EmulatedIsaBus.h"
#include "sim/EmulatedRadioTrack.h"
#include "sim/EmulatedZoltrix.h"

namespace ondivo {
namespace {

using sim::EmulatedIsaBus;
using sim::EmulatedRadioTrack;
using sim::EmulatedZoltrix;
using sim::StationLandscape;

constexpr uint16_t kPrimary = 0x30C;
constexpr uint16_t kAlternate = 0x20C;

// A card component driving an emulated card through the emulated bus.
template <typename Emulated>
struct Rig {
  StationLandscape landscape;
  EmulatedIsaBus bus;
  Emulated* emulated;
  TRadioCard card{CardHardware{bus, bus.Clock()}};

  Rig(tModel model, uint16_t base, int portIndex) {
    emulated = static_cast<Emulated*>(&bus.Plug(base, std::make_unique<Emulated>(landscape)));
    card.SetModel(model);
    card.SetPort(portIndex);
    card.SetVolumeLine(vlNative);
    card.SwitchOn();
  }
};

TEST(EmulatedIsaTest, EveryFMGridPointRoundTripsOnTheRadioTrackFamily) {
  for (tModel model : {mRadioTrack, mRA300}) {
    for (auto [base, index] : {std::pair{kPrimary, 1}, std::pair{kAlternate, 2}}) {
      Rig<EmulatedRadioTrack> rig(model, base, index);
      for (int n = 0; n <= 840; ++n) {
        rig.card.SetFrequency(87.0 + 0.025 * n);
        ASSERT_TRUE(rig.emulated->TunedFrequency()) << n;
        ASSERT_NEAR(*rig.emulated->TunedFrequency(), rig.card.Frequency(), 1e-9) << n;
      }
      EXPECT_EQ(rig.emulated->WordsLatched(), 841);
      EXPECT_NEAR(rig.card.Frequency(), 108.0, 1e-9);
    }
  }
}

TEST(EmulatedIsaTest, EveryFMGridPointRoundTripsOnTheZoltrix) {
  for (auto [base, index] : {std::pair{kPrimary, 1}, std::pair{kAlternate, 2}}) {
    Rig<EmulatedZoltrix> rig(mZoltrix, base, index);
    for (bool stereo : {false, true}) {
      rig.card.SetStereo(stereo);
      for (int n = 0; n <= 4200; ++n) {
        rig.card.SetFrequency(87.0 + 0.005 * n);
        ASSERT_TRUE(rig.emulated->TunedFrequency()) << n;
        ASSERT_NEAR(*rig.emulated->TunedFrequency(), rig.card.Frequency(), 1e-9) << n;
        ASSERT_EQ(rig.emulated->StereoRequested(), stereo);
      }
    }
    EXPECT_EQ(rig.emulated->BadFrames(), 0);
  }
}

TEST(EmulatedIsaTest, ACardOnTheOtherPortHearsNothing) {
  Rig<EmulatedRadioTrack> rig(mRadioTrack, kAlternate, 1);  // card at 20Ch, component on 30Ch
  rig.card.SetFrequency(100.3);
  EXPECT_FALSE(rig.emulated->TunedFrequency());
  EXPECT_EQ(rig.card.GetSignal(), sNone);
}

TEST(EmulatedIsaTest, ReceptionFollowsTheLandscape) {
  Rig<EmulatedRadioTrack> rt(mRadioTrack, kPrimary, 1);
  rt.card.SetFrequency(100.3);  // stereo station
  EXPECT_EQ(rt.card.GetSignal(), sStereo);
  rt.card.SetFrequency(101.1);  // mono station
  EXPECT_EQ(rt.card.GetSignal(), sMono);
  rt.card.SetFrequency(100.7);  // nothing there
  EXPECT_EQ(rt.card.GetSignal(), sNone);

  Rig<EmulatedZoltrix> z(mZoltrix, kPrimary, 1);
  z.card.SetFrequency(100.3);
  EXPECT_EQ(z.card.GetSignal(), sTuned);  // stereo requested, pilot present
  z.card.SetFrequency(101.1);
  EXPECT_EQ(z.card.GetSignal(), sNone);  // mono station while stereo is requested
  z.card.SetStereo(false);
  z.card.SetFrequency(101.1);
  EXPECT_EQ(z.card.GetSignal(), sTuned);
  z.card.SetFrequency(100.7);
  EXPECT_EQ(z.card.GetSignal(), sNone);
}

TEST(EmulatedIsaTest, ReceptionNeedsTheSettlingWait) {
  // Reading the detector without the bus clock moving gets no answer from the card.
  Rig<EmulatedRadioTrack> rig(mRadioTrack, kPrimary, 1);
  rig.card.SetFrequency(100.3);
  rig.bus.PortOut(kPrimary, 0xF8);
  EXPECT_EQ(rig.bus.PortIn(kPrimary), 0xFF);
  rig.bus.Clock().Wait(149);
  EXPECT_EQ(rig.bus.PortIn(kPrimary), 0xFF);
  rig.bus.Clock().Wait(1);
  EXPECT_EQ(rig.bus.PortIn(kPrimary), 0xFD);
}

// The card's audio state as the component reports it, checked against the emulated card.
void ExpectRadioTrackAgrees(const TRadioCard& card, const EmulatedRadioTrack& emulated) {
  EXPECT_EQ(emulated.Volume(), card.Volume());
  EXPECT_EQ(emulated.Audible(), !card.Muted());
}

TEST(EmulatedIsaTest, RadioTrackVolumeAndMuteStayInStep) {
  Rig<EmulatedRadioTrack> rig(mRadioTrack, kPrimary, 1);
  rig.card.VolumeToZero();  // the panel starts by sweeping to a known position
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  rig.card.SetVolume(128);
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  rig.card.VolumeUp();
  rig.card.VolumeUp();
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  rig.card.Mute();
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  rig.card.Unmute();
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  rig.card.SetVolume(256);
  rig.card.VolumeUp();
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  for (int i = 0; i < 20; ++i) rig.card.VolumeDown();
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  rig.card.SetVolume(48);
  rig.card.SetFrequency(95.5);
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  rig.card.VolumeToZero();
  ExpectRadioTrackAgrees(rig.card, *rig.emulated);
  rig.card.SwitchOff();
  EXPECT_FALSE(rig.emulated->AudioOn());
}

TEST(EmulatedIsaTest, ZoltrixVolumeAndMuteStayInStep) {
  Rig<EmulatedZoltrix> rig(mZoltrix, kAlternate, 2);
  auto agrees = [&] {
    EXPECT_EQ(rig.emulated->AudioOn(), !rig.card.Muted());
    if (!rig.card.Muted()) {
      EXPECT_EQ(rig.emulated->Volume(), rig.card.Volume());
    }
  };
  rig.card.SetVolume(128);
  agrees();
  rig.card.VolumeUp();
  agrees();
  rig.card.Mute();
  agrees();
  rig.card.Unmute();
  agrees();
  rig.card.SetFrequency(93.0);
  agrees();
  rig.card.GetSignal();
  agrees();
  for (int i = 0; i < 20; ++i) rig.card.VolumeDown();
  agrees();
  rig.card.SetVolume(256);
  agrees();
  rig.card.VolumeToZero();
  agrees();
  rig.card.SetVolume(16);
  agrees();
  rig.card.SwitchOff();
  EXPECT_FALSE(rig.emulated->AudioOn());
}

TEST(EmulatedIsaTest, PortZeroPutsNothingOnTheBus) {
  Rig<EmulatedRadioTrack> rig(mRadioTrack, kPrimary, 1);
  rig.card.SwitchOff();
  rig.card.SetPort(0);
  const auto before = rig.bus.Accesses();
  rig.card.SwitchOn();
  rig.card.SetFrequency(100.0);
  rig.card.GetSignal();
  rig.card.SetVolume(100);
  rig.card.SwitchOff();
  EXPECT_EQ(rig.bus.Accesses(), before);
}

}  // namespace
}  // namespace ondivo
