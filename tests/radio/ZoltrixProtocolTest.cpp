#include "radio/ZoltrixProtocol.h"

#include <gtest/gtest.h>

#include <string>

#include "radio/RadioCard.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo {
namespace {

using test::BusEvent;
using test::In;
using test::Out;
using test::RecordingBus;
using test::Wait;

constexpr uint16_t kBase = 0x20C;

struct Zoltrix {
  RecordingBus bus;
  TRadioCard card{test::BusHardware(bus)};
  explicit Zoltrix(bool mutedStart = false) {
    card.SetMutedStartup(mutedStart);
    card.SetModel(mZoltrix);
    card.SetPort(2);
    card.SetVolumeLine(vlNative);
    card.SwitchOn();
  }
};

std::string FirstPositions(uint64_t frame, int count = 45) {
  std::string bits;
  for (int p = 1; p <= count; ++p) bits += ((frame >> (64 - p)) & 1) ? '1' : '0';
  return bits;
}

TEST(ZoltrixFrameTest, FrequencyValues) {
  EXPECT_EQ(ZoltrixProtocol::FrequencyValue(87.0), 19530);
  EXPECT_EQ(ZoltrixProtocol::FrequencyValue(88.05), 19740);
  EXPECT_EQ(ZoltrixProtocol::FrequencyValue(100.0), 22130);
  EXPECT_EQ(ZoltrixProtocol::FrequencyValue(108.0), 23730);
  EXPECT_EQ(ZoltrixProtocol::FrequencyValue(88.055), 19741);
}

TEST(ZoltrixFrameTest, ValueBytesAndStereoBitLandOnTheirPositions) {
  const std::string mono = FirstPositions(ZoltrixProtocol::Frame(88.05, false));
  EXPECT_EQ(mono.substr(9, 8), "00011100");   // positions 10..17: low byte 1Ch
  EXPECT_EQ(mono.substr(18, 8), "01001101");  // positions 19..26: high byte 4Dh
  EXPECT_EQ(mono,
            "110001001"
            "00011100"
            "1"
            "01001101"
            "101100"
            "0"
            "001"
            "00000000"
            "1");
  const std::string stereo = FirstPositions(ZoltrixProtocol::Frame(88.05, true));
  EXPECT_EQ(stereo[32], '1');
  EXPECT_EQ(stereo.substr(0, 32), mono.substr(0, 32));
  EXPECT_EQ(stereo.substr(33), mono.substr(33));
  // Nothing beyond position 45 is set.
  EXPECT_EQ(ZoltrixProtocol::Frame(108.0, true) & ((1ull << 19) - 1), 0u);
}

TEST(ZoltrixTrafficTest, TuneSendsTheFrameAndRestoresTheLevel) {
  Zoltrix z;
  z.card.StoreVolume(128);
  z.card.SetStereo(false);
  z.bus.Clear();
  z.card.SetFrequency(88.05);
  std::vector<BusEvent> expected = {Out(kBase, 0x00), Out(kBase, 0x00), In(kBase + 3),
                                    Out(kBase, 0x40), Out(kBase, 0xC0)};
  for (char bit : FirstPositions(ZoltrixProtocol::Frame(88.05, false))) {
    if (bit == '1') {
      for (uint8_t b : {0x80, 0x00, 0x80}) expected.push_back(Out(kBase, b));
    } else {
      for (uint8_t b : {0xC0, 0x40, 0xC0}) expected.push_back(Out(kBase, b));
    }
  }
  for (uint8_t b : {0x80, 0xC0, 0x40}) expected.push_back(Out(kBase, b));
  expected.push_back(Out(kBase, 7));  // 128 / 16 - 1
  expected.push_back(In(kBase + 2));
  EXPECT_EQ(z.bus.events, expected);
  EXPECT_EQ(z.bus.Written().size(), 143u);
}

TEST(ZoltrixTrafficTest, TuneWhileMutedLeavesAudioOff) {
  Zoltrix z(true);
  z.bus.Clear();
  z.card.SetFrequency(100.0);
  EXPECT_EQ(z.bus.events.size(), 143u);  // 142 writes and the read that resets the frame
  EXPECT_EQ(z.bus.events.back(), Out(kBase, 0x40));
}

TEST(ZoltrixTrafficTest, ReceptionDependsOnTheStereoRequest) {
  Zoltrix z;
  z.card.StoreVolume(256);
  z.card.SetFrequency(100.0);
  struct Case {
    bool stereo;
    uint8_t first, second;
    tSignal expected;
  } cases[] = {{true, 0xEF, 0xEF, sTuned},  {true, 0xEF, 0xDF, sNone},  {true, 0xDF, 0xDF, sNone},
               {false, 0xDF, 0xDF, sTuned}, {false, 0xEF, 0xEF, sNone}, {false, 0xFF, 0xFF, sNone}};
  for (const Case& c : cases) {
    z.card.SetStereo(c.stereo);
    z.bus.Clear();
    z.bus.replies = {c.first, c.second};
    EXPECT_EQ(z.card.GetSignal(), c.expected) << c.stereo << " " << int(c.first);
    EXPECT_EQ(z.bus.events,
              (std::vector<BusEvent>{Out(kBase, 0x00), Out(kBase, 15), Wait(10), In(kBase), Wait(1),
                                     In(kBase), Out(kBase, 15), In(kBase + 2)}));
  }
}

TEST(ZoltrixTrafficTest, ReceptionQueryWhileMuted) {
  Zoltrix z(true);
  z.bus.Clear();
  z.card.GetSignal();
  EXPECT_EQ(z.bus.events,
            (std::vector<BusEvent>{Out(kBase, 0x00), Out(kBase, 0x00), Wait(10), In(kBase), Wait(1),
                                   In(kBase), Out(kBase, 0x00), Out(kBase, 0x00), In(kBase + 3)}));
}

TEST(ZoltrixTrafficTest, SwitchOnAndOff) {
  Zoltrix on;
  EXPECT_EQ(on.bus.events, (std::vector<BusEvent>{Out(kBase, 0x00), In(kBase + 2)}));
  on.bus.Clear();
  on.card.SwitchOff();
  EXPECT_EQ(on.bus.events,
            (std::vector<BusEvent>{Out(kBase, 0x00), Out(kBase, 0x00), In(kBase + 3)}));
  EXPECT_TRUE(on.card.Muted());
  Zoltrix muted(true);
  EXPECT_EQ(muted.bus.events,
            (std::vector<BusEvent>{Out(kBase, 0x00), Out(kBase, 0x00), In(kBase + 3)}));
}

TEST(ZoltrixTrafficTest, UnmuteAtVolumeZeroWritesNothing) {
  Zoltrix z(true);
  z.card.StoreVolume(0);
  z.bus.Clear();
  z.card.Unmute();
  EXPECT_TRUE(z.bus.events.empty());
  EXPECT_TRUE(z.card.Muted());
  EXPECT_FALSE(z.card.StartMuted());
  z.card.StoreVolume(100);  // snapped to 96 on unmute
  z.card.Unmute();
  EXPECT_EQ(z.card.Volume(), 96);
  EXPECT_EQ(z.bus.events, (std::vector<BusEvent>{Out(kBase, 0x00), Out(kBase, 5), In(kBase + 2)}));
  EXPECT_FALSE(z.card.Muted());
}

TEST(ZoltrixTrafficTest, VolumeStepsAndSet) {
  Zoltrix z;
  z.card.StoreVolume(16);
  z.bus.Clear();
  z.card.VolumeUp();
  EXPECT_EQ(z.card.Volume(), 32);
  z.card.VolumeDown();
  z.card.VolumeDown();  // reaches 0: audio off
  EXPECT_TRUE(z.card.Muted());
  EXPECT_EQ(z.bus.events,
            (std::vector<BusEvent>{Out(kBase, 1), In(kBase), Out(kBase, 0), In(kBase),
                                   Out(kBase, 0x00), Out(kBase, 0x00), In(kBase + 3)}));
  z.bus.Clear();
  z.card.SetVolume(200);  // 12.5 steps round to 12; muted: audio on first, then level 11
  EXPECT_EQ(z.card.Volume(), 192);
  EXPECT_EQ(z.bus.events, (std::vector<BusEvent>{Out(kBase, 0x00), Wait(10), In(kBase + 2),
                                                 Out(kBase, 11), In(kBase)}));
  EXPECT_FALSE(z.card.Muted());
  z.bus.Clear();
  z.card.VolumeToZero();
  EXPECT_EQ(z.bus.events,
            (std::vector<BusEvent>{Out(kBase, 0x00), Out(kBase, 0x00), In(kBase + 3)}));
  EXPECT_EQ(z.card.Volume(), 0);
}

TEST(ZoltrixTrafficTest, VolumeZeroIsSilenceAndTheNativeLevelKeepsToFourBits) {
  Zoltrix z;  // not muted
  ASSERT_FALSE(z.card.Muted());
  z.card.StoreVolume(0);
  z.bus.Clear();
  z.card.SetFrequency(100.0);
  // Level "-1" is audio off, not the quietest audible step with base + 2 read.
  const std::vector<BusEvent> off = {Out(kBase, 0x00), Out(kBase, 0x00), In(kBase + 3)};
  std::vector<BusEvent> tail(z.bus.events.end() - 3, z.bus.events.end());
  EXPECT_EQ(tail, off);
  z.bus.Clear();
  z.card.GetSignal();
  tail.assign(z.bus.events.end() - 3, z.bus.events.end());
  EXPECT_EQ(tail, off);
  EXPECT_EQ(z.bus.events[1], Out(kBase, 0x00));

  // However far off the scale the stored volume was, the card is sent level 15 at most.
  z.card.StoreVolume(100000);
  z.bus.Clear();
  z.card.SetFrequency(100.0);
  EXPECT_EQ(z.bus.events[z.bus.events.size() - 2], Out(kBase, 15));
  EXPECT_EQ(z.bus.events.back(), In(kBase + 2));

  CardState state;
  state.Cap = DefaultDevCaps()[static_cast<size_t>(mZoltrix)];
  state.VolumeLine = vlNative;
  state.VolumeStep = 16;
  state.Volume = 100000;
  EXPECT_EQ(ZoltrixProtocol::Level(state), 15);
  state.Volume = 15;
  EXPECT_EQ(ZoltrixProtocol::Level(state), -1);
  // On a mixer line the level follows the line's scale, as the card is sent Volume - 1 there.
  state.VolumeLine = vlLineIn;
  state.VolumeStep = 1;
  state.Volume = 256;
  EXPECT_EQ(ZoltrixProtocol::Level(state), 255);
}

}  // namespace
}  // namespace ondivo
