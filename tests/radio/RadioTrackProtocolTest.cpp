#include "radio/RadioTrackProtocol.h"

#include <gtest/gtest.h>

#include <climits>

#include "radio/RadioCard.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo {
namespace {

using test::BusEvent;
using test::In;
using test::Out;
using test::RecordingBus;
using test::Wait;

constexpr uint16_t kBase = 0x30C;

// A RadioTrack on 30Ch, switched on and unmuted, with the switch-on traffic cleared.
struct RadioTrack {
  RecordingBus bus;
  TRadioCard card{test::BusHardware(bus)};
  explicit RadioTrack(tModel model = mRadioTrack, bool mutedStart = false) {
    card.SetMutedStartup(mutedStart);
    card.SetModel(model);
    card.SetPort(1);
    card.SetVolumeLine(vlNative);
    card.SwitchOn();
  }
};

std::vector<uint8_t> WordBytes(uint32_t word) {
  std::vector<uint8_t> bytes;
  for (int bit = 0; bit < 24; ++bit) {
    const bool one = (word >> bit) & 1;
    for (uint8_t b : {0x01, 0x01, 0x03, 0x03}) bytes.push_back(b | (one ? 0x04 : 0));
  }
  return bytes;
}

TEST(RadioTrackWordTest, MatchesTheKnownWords) {
  EXPECT_EQ(RadioTrackProtocol::TuningWord(87.0), 0xA00F44u);
  EXPECT_EQ(RadioTrackProtocol::TuningWord(100.0), 0xA0114Cu);
  EXPECT_EQ(RadioTrackProtocol::TuningWord(108.0), 0xA0128Cu);
  // 87.025 * 40 is 3480.9999... in binary: the step count must be rounded, not truncated.
  EXPECT_EQ(RadioTrackProtocol::TuningWord(87.025), 0xA00F45u);
}

TEST(RadioTrackTrafficTest, SwitchOnWritesTheIdlePatternForTheStartState) {
  RadioTrack on;
  EXPECT_EQ(on.bus.Written(), (std::vector<uint8_t>{0x00, 0xD8}));
  RadioTrack muted(mRA300, true);
  EXPECT_EQ(muted.bus.Written(), (std::vector<uint8_t>{0x00, 0xD0}));
  EXPECT_TRUE(muted.card.Muted());
}

TEST(RadioTrackTrafficTest, Tune87MHzClocksA00F44hLsbFirst) {
  RadioTrack r;
  r.bus.Clear();
  r.card.SetFrequency(87.0);
  std::vector<uint8_t> expected = WordBytes(0xA00F44);
  ASSERT_EQ(std::vector<uint8_t>(expected.begin(), expected.begin() + 4),
            (std::vector<uint8_t>{0x01, 0x01, 0x03, 0x03}));
  expected.push_back(0x00);
  expected.push_back(0xD8);
  EXPECT_EQ(r.bus.Written(), expected);
  for (const auto& e : r.bus.events) EXPECT_EQ(e.port, kBase);
  EXPECT_EQ(r.bus.TotalWaitMs(), 0);
}

TEST(RadioTrackTrafficTest, TuningWhileMutedEndsMuted) {
  RadioTrack r;
  r.card.Mute();
  r.bus.Clear();
  r.card.SetFrequency(100.0);
  EXPECT_EQ(r.bus.Written().size(), 98u);
  EXPECT_EQ(r.bus.Written().back(), 0xD0);
}

TEST(RadioTrackTrafficTest, ReceptionQuery) {
  RadioTrack r;
  r.card.SetFrequency(100.0);
  const std::pair<uint8_t, tSignal> cases[] = {
      {0xFF, sNone}, {0xFD, sStereo}, {0xFE, sMono}, {0x00, sMono}};
  for (auto [reading, signal] : cases) {
    r.bus.Clear();
    r.bus.replies.push_back(reading);
    EXPECT_EQ(r.card.GetSignal(), signal) << int(reading);
    EXPECT_EQ(r.bus.events,
              (std::vector<BusEvent>{Out(kBase, 0xF8), Out(kBase, 0x00), Out(kBase, 0xD8),
                                     Wait(150), In(kBase), Wait(10), Out(kBase, 0xE8),
                                     Out(kBase, 0x00), Out(kBase, 0xD8)}));
  }
}

TEST(RadioTrackTrafficTest, MuteAndUnmute) {
  RadioTrack r;
  r.card.StoreVolume(64);
  r.bus.Clear();
  r.card.Mute();
  EXPECT_TRUE(r.card.Muted());
  r.card.Unmute();
  EXPECT_FALSE(r.card.Muted());
  EXPECT_EQ(r.bus.Written(), (std::vector<uint8_t>{0x00, 0xD0, 0x00, 0xD8}));
  // Unmuting at volume 0 turns the audio on but the card stays reported muted.
  r.card.StoreVolume(0);
  r.card.Unmute();
  EXPECT_TRUE(r.card.Muted());
}

TEST(RadioTrackTrafficTest, VolumeStepsHoldALineFor125ms) {
  RadioTrack r;
  r.card.StoreVolume(0);
  r.bus.Clear();
  r.card.VolumeUp();
  EXPECT_EQ(r.card.Volume(), 16);
  EXPECT_FALSE(r.card.Muted());
  r.card.VolumeDown();
  EXPECT_EQ(r.card.Volume(), 0);
  EXPECT_TRUE(r.card.Muted());
  EXPECT_EQ(r.bus.events, (std::vector<BusEvent>{Out(kBase, 0x88), Wait(125), Out(kBase, 0xC8),
                                                 Out(kBase, 0x48), Wait(125), Out(kBase, 0xC8)}));
  // At the bottom nothing is sent, and the card stays reported muted.
  r.bus.Clear();
  r.card.VolumeDown();
  EXPECT_TRUE(r.bus.events.empty());
  EXPECT_TRUE(r.card.Muted());
}

TEST(RadioTrackTrafficTest, VolumeUpAtTheTopOnlyClearsTheMute) {
  RadioTrack r;
  r.card.StoreVolume(256);
  r.card.Mute();
  r.bus.Clear();
  r.card.VolumeUp();
  EXPECT_TRUE(r.bus.events.empty());
  EXPECT_FALSE(r.card.Muted());
  EXPECT_EQ(r.card.Volume(), 256);
}

TEST(RadioTrackTrafficTest, VolumeUpFromAnOffGridVolumeStopsAtTheTop) {
  RadioTrack r;
  r.card.StoreVolume(250);
  r.card.VolumeUp();
  EXPECT_EQ(r.card.Volume(), 256);
}

TEST(RadioTrackTrafficTest, SetVolumeHoldsTheLineOnceForTheWholeDistance) {
  RadioTrack r;
  r.card.StoreVolume(256);
  r.bus.Clear();
  r.card.SetVolume(0);
  EXPECT_EQ(r.bus.events, (std::vector<BusEvent>{Out(kBase, 0x48), Wait(2000), Out(kBase, 0xC8)}));
  EXPECT_TRUE(r.card.Muted());
  r.bus.Clear();
  r.card.SetVolume(100);  // nearest multiple of 16 is 96: six steps up
  EXPECT_EQ(r.card.Volume(), 96);
  EXPECT_EQ(r.bus.events, (std::vector<BusEvent>{Out(kBase, 0x88), Wait(750), Out(kBase, 0xC8)}));
  EXPECT_FALSE(r.card.Muted());
  r.bus.Clear();
  r.card.SetVolume(90);  // still 96: nothing to do
  EXPECT_TRUE(r.bus.events.empty());
  r.card.SetVolume(1000);  // clamped to 256
  EXPECT_EQ(r.card.Volume(), 256);
}

TEST(RadioTrackTrafficTest, AnOffScaleStoredVolumeNeverHoldsALineBeyondTheFullSweep) {
  for (const int32_t stored : {100000, INT32_MAX, -100000, INT32_MIN}) {
    RadioTrack r;
    r.card.StoreVolume(stored);
    EXPECT_EQ(r.card.Volume(), stored > 0 ? 256 : 0) << stored;
    r.bus.Clear();
    r.card.SetVolume(stored > 0 ? 0 : 256);
    EXPECT_EQ(r.bus.TotalWaitMs(), 2000) << stored;
  }
  // The protocol on its own, told of a volume far off the scale, holds no longer either.
  RecordingBus bus;
  RadioTrackProtocol protocol(bus, bus);
  CardState state;
  state.Cap = DefaultDevCaps()[static_cast<size_t>(mRadioTrack)];
  state.Port = 1;
  state.Volume = 100000;
  protocol.SetVolume(state, 0);
  EXPECT_EQ(bus.TotalWaitMs(), 2000);
}

TEST(RadioTrackTrafficTest, VolumeToZeroSweepsTwoSeconds) {
  RadioTrack r;
  r.card.StoreVolume(128);
  r.bus.Clear();
  r.card.VolumeToZero();
  EXPECT_EQ(r.bus.events, (std::vector<BusEvent>{Out(kBase, 0x48), Wait(2000), Out(kBase, 0xC8)}));
  EXPECT_EQ(r.card.Volume(), 0);
  EXPECT_TRUE(r.card.Muted());
}

TEST(RadioTrackTrafficTest, SwitchOffLeavesTheCardMuted) {
  RadioTrack r;
  r.bus.Clear();
  r.card.SwitchOff();
  EXPECT_EQ(r.bus.Written(), (std::vector<uint8_t>{0x00, 0xD0}));
  EXPECT_TRUE(r.card.Muted());
  EXPECT_FALSE(r.card.On());
  r.bus.Clear();
  r.card.Mute();
  r.card.SetFrequency(99.0);
  EXPECT_TRUE(r.bus.events.empty());
}

TEST(RadioTrackTrafficTest, NoVolumeLineMeansNoVolumeOrMuteTraffic) {
  RadioTrack r;
  r.card.SwitchOff();
  r.card.SetVolumeLine(vlNone);
  r.card.SwitchOn();
  r.bus.Clear();
  r.card.Mute();
  r.card.VolumeUp();
  r.card.SetVolume(64);
  r.card.VolumeToZero();
  r.card.Unmute();
  EXPECT_TRUE(r.bus.events.empty());
}

}  // namespace
}  // namespace ondivo
