#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "radio/SerialPortProbe.h"
#include "sim/EmulatedSerialRadio.h"
#include "tests/support/PtyPair.h"

namespace ondivo::sim {
namespace {

using test::Bytes;
using test::Concat;
using test::Frame;
using namespace std::chrono_literals;

const Bytes kTunedReply = Frame(0x04);

// The program's end of the line, opened raw as the serial driver does.
class ProgramEnd {
 public:
  explicit ProgramEnd(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    termios t{};
    ::tcgetattr(fd_.get(), &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_.get(), TCSANOW, &t);
  }
  void Send(const Bytes& bytes) const {
    [[maybe_unused]] auto n = ::write(fd_.get(), bytes.data(), bytes.size());
  }
  // Waits up to firstMs for the first bytes, then takes more until none came for 50 ms.
  Bytes Receive(int firstMs = 50) const {
    Bytes out;
    for (;;) {
      pollfd p{fd_.get(), POLLIN, 0};
      if (::poll(&p, 1, out.empty() ? firstMs : 50) <= 0 || !(p.revents & POLLIN)) return out;
      uint8_t buffer[256];
      const ssize_t n = ::read(fd_.get(), buffer, sizeof buffer);
      if (n <= 0) return out;
      out.insert(out.end(), buffer, buffer + n);
    }
  }
  void Close() { fd_.reset(); }

 private:
  UniqueFd fd_;
};

// Pumps the radio until it has decoded frames frames in all.
bool PumpUntilFrames(EmulatedSerialRadio& radio, uint64_t frames) {
  for (int i = 0; i < 50 && radio.Status().Frames < frames; ++i) radio.ServiceOnce(100);
  return radio.Status().Frames >= frames;
}

TEST(EmulatedSerialRadioTest, IsPoweredWhileTheLineIsHeldAndForgetsItsTuningWhenItDrops) {
  EmulatedSerialRadio radio(mRadioMan, StationLandscape());
  radio.ServiceOnce(0);
  EXPECT_FALSE(radio.Status().Powered);

  ProgramEnd program(radio.SlavePath());
  radio.ServiceOnce(0);
  EXPECT_TRUE(radio.Status().Powered);
  // Noise, then a tuning frame in two writes as the driver sends it.
  program.Send({0x00, 0x23, 0x1D});
  program.Send(Frame(0x05));
  program.Send({'2', '4', '2'});
  ASSERT_TRUE(PumpUntilFrames(radio, 1));
  SerialRadioStatus status = radio.Status();
  EXPECT_TRUE(status.Tuned);
  EXPECT_EQ(status.Band, bFM);
  EXPECT_EQ(status.Channel, 242);
  EXPECT_DOUBLE_EQ(status.Frequency, 88.1);

  program.Close();
  radio.ServiceOnce(100);
  status = radio.Status();
  EXPECT_FALSE(status.Powered);
  EXPECT_FALSE(status.Tuned);
}

TEST(EmulatedSerialRadioTest, DecodesMuteAMAndBrokenFrames) {
  EmulatedSerialRadio radio(mWizard, StationLandscape());
  ProgramEnd program(radio.SlavePath());
  program.Send(Concat(Frame(0x05), "300"));
  program.Send(Concat(Frame(0x09), "052"));  // the Wizard has no AM
  program.Send(Frame(0x02));
  ASSERT_TRUE(PumpUntilFrames(radio, 3));
  EXPECT_EQ(radio.Status().Band, bFM);
  EXPECT_DOUBLE_EQ(radio.Status().Frequency, 91.0);
  EXPECT_TRUE(radio.Status().Muted);

  radio.SetModel(mRajikoma);
  program.Send(Concat(Frame(0x05), "2x4"));  // broken digits: dropped
  program.Send(Concat(Frame(0x09), "052"));
  program.Send(Frame(0x01));
  ASSERT_TRUE(PumpUntilFrames(radio, 5));  // the broken one is not a frame
  const SerialRadioStatus status = radio.Status();
  EXPECT_EQ(status.Band, bAM);
  EXPECT_EQ(status.Channel, 52);
  EXPECT_NEAR(status.Frequency, 0.999, 1e-9);
  EXPECT_FALSE(status.Muted);
}

TEST(EmulatedSerialRadioTest, AnswersTheQueryOnlyOnAStationWithStrayBytesNowAndThen) {
  EmulatedSerialRadio radio(mRadionMaru, StationLandscape());
  ProgramEnd program(radio.SlavePath());
  program.Send(Frame(0x08));  // not tuned yet: silence
  ASSERT_TRUE(PumpUntilFrames(radio, 1));
  EXPECT_TRUE(program.Receive().empty());

  program.Send(Concat(Frame(0x05), "242"));  // 88.1 MHz, "Classic 88"
  bool strayBefore = false;
  bool strayAfter = false;
  for (uint64_t i = 0; i < 20; ++i) {
    program.Send(Frame(0x08));
    ASSERT_TRUE(PumpUntilFrames(radio, 3 + i));
    const Bytes reply = program.Receive();
    ASSERT_NE(std::search(reply.begin(), reply.end(), kTunedReply.begin(), kTunedReply.end()),
              reply.end());
    ASSERT_LE(reply.size(), 5u);
    strayBefore |= reply.front() != 0x1D;
    strayAfter |= reply.back() != 0x23;
  }
  EXPECT_TRUE(strayBefore);
  EXPECT_TRUE(strayAfter);

  program.Send(Concat(Frame(0x05), "246"));  // 88.3 MHz: noise
  program.Send(Frame(0x08));
  ASSERT_TRUE(PumpUntilFrames(radio, 24));
  EXPECT_TRUE(program.Receive().empty());
  EXPECT_EQ(radio.Status().Replies, 20u);
}

TEST(EmulatedSerialRadioTest, RunsOnItsOwnThreadUntilUnplugged) {
  EmulatedSerialRadio radio(mRadioMan, StationLandscape(), {.StrayBytes = false, .Seed = 1});
  radio.Start();
  ProgramEnd program(radio.SlavePath());
  program.Send(Concat(Frame(0x05), "220"));
  program.Send(Frame(0x08));
  ASSERT_TRUE(radio.WaitUntil([](const auto& s) { return s.Frames >= 2; }, 5s));
  EXPECT_DOUBLE_EQ(radio.Status().Frequency, 87.0);
  EXPECT_TRUE(program.Receive().empty());    // nothing on 87.0
  program.Send(Concat(Frame(0x05), "232"));  // 87.6
  program.Send(Frame(0x08));
  EXPECT_EQ(program.Receive(2000), kTunedReply);
  Bytes expected = Concat(Frame(0x05), "220");
  for (const Bytes& part : {Frame(0x08), Concat(Frame(0x05), "232"), Frame(0x08)}) {
    expected.insert(expected.end(), part.begin(), part.end());
  }
  EXPECT_EQ(radio.Received(), expected);
  radio.Unplug();
  EXPECT_TRUE(radio.Status().Unplugged);
  EXPECT_TRUE(program.Receive().empty());
}

TEST(EmulatedSerialRadioTest, SimulationPutsARadioBehindEveryComPort) {
  ComPortPaths paths;
  auto radios = StartSerialRadios(mRajikoma, StationLandscape(), paths);
  ASSERT_EQ(radios.size(), 8u);
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(paths.PathFor(n), radios[static_cast<size_t>(n - 1)]->SlavePath());
    EXPECT_TRUE(IsSerialPortPresent(n, paths));
  }
  ProgramEnd program(paths.PathFor(5));
  program.Send(Concat(Frame(0x09), "121"));
  ASSERT_TRUE(radios[4]->WaitUntil([](const auto& s) { return s.Frames >= 1; }, 5s));
  EXPECT_NEAR(radios[4]->Status().Frequency, 1.62, 1e-9);
}

}  // namespace
}  // namespace ondivo::sim
