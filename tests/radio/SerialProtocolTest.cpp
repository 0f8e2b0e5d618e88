#include <gtest/gtest.h>
#include <sys/file.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "radio/SerialRadioProtocol.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/PtyPair.h"

namespace ondivo {
namespace {

using test::Bytes;
using test::Concat;
using test::Frame;
using test::PtyPair;
using Clock = std::chrono::steady_clock;

const Bytes kQuery = Frame(0x08);
const Bytes kTunedReply = Frame(0x04);

// A serial radio model on COM3, which is the test's pty.
class SerialProtocolTest : public ::testing::Test {
 protected:
  SerialProtocolTest() : protocol_(delay_, Paths()) { Select(mRadioMan); }

  ComPortPaths Paths() const {
    ComPortPaths paths;
    paths.Override(3, pty_.SlavePath());
    paths.Override(4, "/nonexistent/ttyNone");
    return paths;
  }
  void Select(tModel model, int port = 3) {
    state_.Model = model;
    state_.Cap = DefaultDevCaps()[static_cast<size_t>(model)];
    state_.Port = port;
  }
  // Answers the next query with reply, from another thread as the radio would.
  std::thread Answer(Bytes reply) {
    return std::thread([this, reply] {
      if (pty_.Read(kQuery.size(), 2000) == kQuery) pty_.Write(reply);
    });
  }
  int64_t TimedSignal(tSignal& signal) {
    const auto start = Clock::now();
    signal = protocol_.GetSignal(state_);
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  }

  PtyPair pty_;
  test::RecordingDelay delay_;
  SerialRadioProtocol protocol_;
  CardState state_;
};

TEST_F(SerialProtocolTest, SwitchOnOpensWaitsThenRaisesTheLinesAndTakesTheStartMuteState) {
  bool openDuringWait = false;
  delay_.OnWait = [&](int) { openDuringWait = protocol_.Line().Connected(); };
  state_.StartMuted = true;
  state_.Muted = false;
  protocol_.SwitchOn(state_);
  EXPECT_EQ(delay_.Waits, std::vector<int>{200});
  EXPECT_TRUE(openDuringWait);
  EXPECT_TRUE(protocol_.Line().DTR());
  EXPECT_TRUE(protocol_.Line().RTS());
  EXPECT_TRUE(state_.Muted);
  EXPECT_TRUE(pty_.Read().empty());  // no frame at switch-on

  protocol_.SwitchOff(state_);
  EXPECT_FALSE(protocol_.Line().Connected());
  protocol_.SwitchOff(state_);  // closing nothing is harmless

  state_.StartMuted = false;
  protocol_.SwitchOn(state_);
  EXPECT_FALSE(state_.Muted);
}

TEST_F(SerialProtocolTest, APortThatCannotBeOpenedThrowsWithoutWaiting) {
  Select(mWizard, 4);  // no such device
  EXPECT_THROW(protocol_.SwitchOn(state_), ePortAlreayOpen);
  Select(mWizard, 5);  // /dev/ttyS4: absent or not ours in a test run
  if (!IsSerialPortPresent(5)) {
    EXPECT_THROW(protocol_.SwitchOn(state_), ePortAlreayOpen);
  }

  Select(mWizard, 3);
  const UniqueFd other(::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
  ASSERT_EQ(::flock(other.get(), LOCK_EX | LOCK_NB), 0);  // another program holds COM3
  EXPECT_THROW(protocol_.SwitchOn(state_), ePortAlreayOpen);
  EXPECT_TRUE(delay_.Waits.empty());
}

TEST_F(SerialProtocolTest, TuningSendsTheFrameAndThreeChannelDigits) {
  protocol_.SwitchOn(state_);
  const struct {
    bool japanese;
    tBand band;
    double frequency;
    uint8_t command;
    const char* digits;
  } cases[] = {
      {false, bFM, 88.1, 0x05, "242"},  {false, bFM, 88.05, 0x05, "241"},
      {false, bFM, 87.5, 0x05, "230"},  {false, bFM, 108.0, 0x05, "640"},
      {true, bFM, 76.0, 0x05, "000"},   {true, bFM, 95.0, 0x05, "300"},  // clamped to 91.0
      {false, bFM, 70.0, 0x05, "220"},  {false, bAM, 0.999, 0x09, "052"},
      {false, bAM, 0.531, 0x09, "000"}, {false, bAM, 1.62, 0x09, "121"},
  };
  for (const auto& c : cases) {
    state_.JapaneseFM = c.japanese;
    protocol_.Tune(state_, c.band, c.frequency);
    EXPECT_EQ(pty_.Read(7), Concat(Frame(c.command), c.digits)) << c.frequency;
  }
}

TEST_F(SerialProtocolTest, MuteAndUnmuteSendTheirFramesAndKeepTheState) {
  protocol_.SwitchOn(state_);
  state_.StartMuted = true;
  protocol_.Unmute(state_);
  EXPECT_EQ(pty_.Read(4), Frame(0x01));
  EXPECT_FALSE(state_.Muted);
  EXPECT_FALSE(state_.StartMuted);
  protocol_.Mute(state_);
  EXPECT_EQ(pty_.Read(4), Frame(0x02));
  EXPECT_TRUE(state_.Muted);
}

TEST_F(SerialProtocolTest, TheTunedReplyCountsWhereverItSitsInWhatComesBack) {
  protocol_.SwitchOn(state_);
  for (const Bytes& reply : {Bytes{0x00, 0x1D, 0x23, 0x04, 0x23, 0x0D}, kTunedReply,
                             Bytes{0x1D, 0x1D, 0x23, 0x04, 0x23}}) {
    std::thread radio = Answer(reply);
    tSignal signal = sNone;
    TimedSignal(signal);
    radio.join();
    EXPECT_EQ(signal, sTuned);
  }
  for (const Bytes& reply : {Frame(0x03), Bytes{0x1D, 0x23, 0x04}, Bytes{0x23, 0x04, 0x23}}) {
    std::thread radio = Answer(reply);
    tSignal signal = sTuned;
    TimedSignal(signal);
    radio.join();
    EXPECT_EQ(signal, sNone);
  }
}

TEST_F(SerialProtocolTest, NoReplyMeansNoSignalAfterTheInputTimeout) {
  protocol_.SwitchOn(state_);
  // A "tuned" that arrived before the query is stale and must not count.
  pty_.Write(kTunedReply);
  tSignal signal = sTuned;
  const auto waited = TimedSignal(signal);
  EXPECT_EQ(signal, sNone);
  EXPECT_EQ(pty_.Read(4), kQuery);
  EXPECT_GE(waited, 190);
  EXPECT_LT(waited, 2000);
}

TEST_F(SerialProtocolTest, AFarEndThatNeverStopsTalkingCannotHoldTheQuery) {
  protocol_.SwitchOn(state_);
  std::atomic<bool> stop = false;
  std::thread babbler([&] {
    const Bytes noise(256, 0x55);
    while (!stop) {
      pty_.Write(noise);
      pty_.Read(SIZE_MAX, 1);
    }
  });
  tSignal signal = sTuned;
  const auto waited = TimedSignal(signal);
  stop = true;
  babbler.join();
  EXPECT_EQ(signal, sNone);
  EXPECT_LT(waited, SerialRadioProtocol::kReplyDeadlineMs + 1000);
}

TEST_F(SerialProtocolTest, ASlowTalkerIsCutOffAtTheReplyDeadline) {
  // Each reading of the clock moves it 50 ms: with three readings a byte, every byte of the
  // reply comes 150 ms after the last, always inside the 200 ms of quiet.
  test::ManualClock clock(std::chrono::milliseconds(50));
  SerialRadioProtocol slow(delay_, Paths(), clock);
  slow.SwitchOn(state_);
  for (const bool late : {false, true}) {
    Bytes reply = late ? Bytes(40, 0x55) : Bytes{};
    reply.insert(reply.end(), kTunedReply.begin(), kTunedReply.end());
    std::thread radio = Answer(reply);
    const int64_t before = clock.ElapsedMs();
    const tSignal signal = slow.GetSignal(state_);
    const int64_t took = clock.ElapsedMs() - before;
    radio.join();
    EXPECT_EQ(signal, late ? sNone : sTuned) << late;
    EXPECT_LE(took, SerialRadioProtocol::kReplyDeadlineMs + 400) << late;
  }
}

TEST_F(SerialProtocolTest, AFarEndThatDisappearsLeavesNoSignalAndNoHang) {
  protocol_.SwitchOn(state_);
  pty_.CloseMaster();  // the USB adapter is pulled out
  const auto start = Clock::now();
  protocol_.Tune(state_, bFM, 100.0);
  protocol_.Mute(state_);
  protocol_.Unmute(state_);
  EXPECT_EQ(protocol_.GetSignal(state_), sNone);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
  protocol_.SwitchOff(state_);
}

// The card hands over grid points min + step x n computed in long double and stored as double.
double GridPoint(double min, double step, int n) {
  return static_cast<double>(static_cast<long double>(min) + static_cast<long double>(step) * n);
}

TEST(SerialChannelsTest, AreTheNearestIntegerOnEveryGridPoint) {
  int truncatedWrong = 0;
  for (int n = 0; n <= 640; ++n) {
    const double f = GridPoint(kJapaneseFMMin, 0.05, n);
    EXPECT_EQ(SerialFMChannel(f), n) << f;
    if (static_cast<int>((f - 76.0) * 20) != n) ++truncatedWrong;
  }
  for (int n = 0; n <= 420; ++n) {
    EXPECT_EQ(SerialFMChannel(GridPoint(kFMMin, 0.05, n)), 220 + n) << n;
  }
  for (int n = 0; n <= 121; ++n) {
    const double f = GridPoint(kAMMin, 0.009, n);
    EXPECT_EQ(SerialAMChannel(f, 0.009), n) << f;
    if (static_cast<int>((f - kAMMin) / 0.009) != n) ++truncatedWrong;
  }
  EXPECT_GT(truncatedWrong, 100);  // the walk does catch a truncating implementation
  EXPECT_EQ(SerialFMChannel(76.05), 1);
  EXPECT_EQ(SerialChannelDigits(7), "007");
  EXPECT_EQ(SerialChannelDigits(42), "042");
  EXPECT_EQ(SerialChannelDigits(230), "230");
}

}  // namespace
}  // namespace ondivo
