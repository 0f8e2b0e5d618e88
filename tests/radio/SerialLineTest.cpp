#include <gtest/gtest.h>
#include <sys/file.h>
#include <termios.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "radio/TCommPortDriver.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/PtyPair.h"

namespace ondivo {
namespace {

using test::Bytes;
using test::ManualClock;
using test::PtyPair;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

ComPortPaths PathsWith(int n, const std::string& path) {
  ComPortPaths paths;
  paths.Override(n, path);
  return paths;
}

int64_t MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(SerialLineTest, DefaultsAreTheRadiosLineSettings) {
  TCommPortDriver line;
  EXPECT_EQ(line.ComPort(), pnCOM2);
  EXPECT_EQ(line.ComPortSpeed(), br9600);
  EXPECT_EQ(BaudRateValue(line.ComPortSpeed()), 9600u);
  EXPECT_EQ(line.ComPortDataBits(), db8BITS);
  EXPECT_EQ(line.ComPortStopBits(), sb1BITS);
  EXPECT_EQ(line.ComPortParity(), ptNONE);
  EXPECT_EQ(line.ComPortHwHandshaking(), hhNONERTSON);
  EXPECT_EQ(line.ComPortSwHandshaking(), shNONE);
  EXPECT_EQ(line.ComPortInBufSize(), 2048);
  EXPECT_EQ(line.ComPortOutBufSize(), 2048);
  EXPECT_EQ(line.PacketSize(), -1);
  EXPECT_EQ(line.PacketTimeout(), -1);
  EXPECT_EQ(line.PacketMode(), pmDiscard);
  EXPECT_EQ(line.ComPortPollingDelay(), 50);
  EXPECT_TRUE(line.EnableDTROnOpen());
  EXPECT_EQ(line.OutputTimeout(), 500);
  EXPECT_EQ(line.InputTimeout(), 200);
  EXPECT_FALSE(line.CheckLineStatus());
  EXPECT_FALSE(line.Connected());
  EXPECT_EQ(line.DevicePath(), "/dev/ttyS1");
}

TEST(SerialLineTest, ConnectOpensThePortsPathRawAt9600And8N1WithDtrAndRtsUp) {
  PtyPair pty;
  TCommPortDriver line(PathsWith(3, pty.SlavePath()));
  line.SetComPort(pnCOM3);
  ASSERT_TRUE(line.Connect());
  EXPECT_TRUE(line.Connected());
  EXPECT_TRUE(line.Connect());  // already open
  EXPECT_TRUE(line.DTR());
  EXPECT_TRUE(line.RTS());

  // The settings live with the terminal; read them through a second descriptor.
  const UniqueFd probe(::open(pty.SlavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK));
  if (probe.isValid()) {  // TIOCEXCL keeps everyone but root out
    termios t{};
    ASSERT_EQ(::tcgetattr(probe.get(), &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
  }

  line.SetComPort(pnCOM5);  // ignored while open
  EXPECT_EQ(line.ComPort(), pnCOM3);
  line.ToggleRTS(false);
  EXPECT_FALSE(line.RTS());
  line.Disconnect();
  EXPECT_FALSE(line.Connected());
  EXPECT_FALSE(line.DTR());
  line.ToggleDTR(true);  // nothing when closed
  EXPECT_FALSE(line.DTR());
  line.SetComPort(pnCOM5);
  EXPECT_EQ(line.ComPort(), pnCOM5);
  EXPECT_EQ(line.DevicePath(), "/dev/ttyS4");
}

TEST(SerialLineTest, BusyMissingOrNonTerminalDevicesDoNotOpen) {
  PtyPair pty;
  const ComPortPaths paths = PathsWith(1, pty.SlavePath());
  EXPECT_TRUE(IsSerialPortPresent(1, paths));

  TCommPortDriver first(paths);
  first.SetComPort(pnCOM1);
  ASSERT_TRUE(first.Connect());
  TCommPortDriver second(paths);
  second.SetComPort(pnCOM1);
  EXPECT_FALSE(second.Connect());
  EXPECT_FALSE(IsSerialPortPresent(1, paths));
  first.Disconnect();
  EXPECT_TRUE(IsSerialPortPresent(1, paths));
  EXPECT_TRUE(second.Connect());
  second.Disconnect();

  // Another program holding the port with a lock of its own.
  {
    const UniqueFd other(::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    ASSERT_TRUE(other.isValid());
    ASSERT_EQ(::flock(other.get(), LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(second.Connect());
    EXPECT_FALSE(IsSerialPortPresent(1, paths));
  }

  const auto dir = std::filesystem::temp_directory_path() / "ondivo_serial_line_test";
  std::filesystem::create_directories(dir);
  const auto plain = dir / "not_a_tty";
  std::ofstream(plain) << "x";
  ComPortPaths odd = PathsWith(1, (dir / "missing").string());
  odd.Override(2, plain.string());
  EXPECT_FALSE(IsSerialPortPresent(1, odd));
  EXPECT_FALSE(IsSerialPortPresent(2, odd));
  EXPECT_FALSE(IsSerialPortPresent(0, odd));
  TCommPortDriver missing(odd);
  missing.SetComPort(pnCOM1);
  EXPECT_FALSE(missing.Connect());
  missing.SetComPort(pnCOM2);
  EXPECT_FALSE(missing.Connect());
  std::filesystem::remove_all(dir);
}

TEST(SerialLineUnprivilegedTest, APortClosedByTheProgramOpensAgainForAnOrdinaryUser) {
  const std::string report = test::RunUnprivileged([]() -> std::string {
    PtyPair pty;  // made by the user, as a USB adapter's node is the user's to open
    const ComPortPaths paths = PathsWith(1, pty.SlavePath());
    TCommPortDriver line(paths);
    line.SetComPort(pnCOM1);
    if (!line.Connect()) return "first open failed";
    // While the program holds it, nobody else may open the port.
    if (UniqueFd(::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)).isValid()) {
      return "a second program could open the held port";
    }
    line.Disconnect();
    if (!line.Connect()) return "open after close failed";
    line.Disconnect();
    // The setup dialog's probe closes the port again, and the radio must still get it.
    for (int i = 0; i < 3; ++i) {
      if (!IsSerialPortPresent(1, paths)) return "probe " + std::to_string(i) + " failed";
    }
    if (!line.Connect()) return "open after the probe failed";
    if (IsSerialPortPresent(1, paths)) return "the probe found a held port free";
    line.Disconnect();
    return {};
  });
  EXPECT_EQ(report, "");
}

TEST(SerialLineTest, BytesTravelBothWays) {
  PtyPair pty;
  TCommPortDriver line(PathsWith(2, pty.SlavePath()));
  ASSERT_TRUE(line.Connect());
  const Bytes frame = {0x1D, 0x23, 0x00, 0x0A, 0x0D, 0xFF};  // raw: no newline translation
  EXPECT_EQ(line.SendData(frame), frame.size());
  EXPECT_EQ(pty.Read(frame.size()), frame);

  pty.Write({0x00, 0x0D, 0x11});
  uint8_t byte = 0;
  ASSERT_TRUE(line.ReadByte(byte));
  EXPECT_EQ(byte, 0x00);
  ASSERT_TRUE(line.ReadByte(byte));
  EXPECT_EQ(byte, 0x0D);
  ASSERT_TRUE(line.ReadByte(byte));
  EXPECT_EQ(byte, 0x11);  // XON passes: no software handshaking
}

TEST(SerialLineTest, AReadGivesUpWhenTheClockPassesTheInputTimeout) {
  PtyPair pty;
  // Every reading of the clock moves it 250 ms, past the input time-out at once: the read ends
  // by the clock it was given, long before 200 real milliseconds.
  const ManualClock clock(milliseconds(250));
  TCommPortDriver line(PathsWith(2, pty.SlavePath()), clock);
  ASSERT_TRUE(line.Connect());
  const auto start = Clock::now();
  uint8_t byte = 0;
  EXPECT_FALSE(line.ReadByte(byte));
  EXPECT_LT(MillisecondsSince(start), 150);
  pty.Write({0x42});
  EXPECT_TRUE(line.ReadByte(byte));
  EXPECT_EQ(byte, 0x42);
}

TEST(SerialLineTest, WriterGivesUpAfterTheOutputTimeoutWhenTheFarEndNeverReads) {
  PtyPair pty;
  // Past the output time-out at every reading: the writer stops as soon as the queue is full.
  const ManualClock clock(milliseconds(600));
  TCommPortDriver line(PathsWith(2, pty.SlavePath()), clock);
  ASSERT_TRUE(line.Connect());
  const Bytes big(1 << 20, 'x');
  const auto start = Clock::now();
  const size_t written = line.SendData(big);
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, big.size());
  EXPECT_LT(MillisecondsSince(start), 300);  // the clock, not real time, ran out
  EXPECT_EQ(pty.Read().size(), written);     // the count is what really went out
}

TEST(SerialLineTest, PollingHandsQueuedBytesOnOrDropsThem) {
  PtyPair pty;
  TCommPortDriver line(PathsWith(2, pty.SlavePath()));
  ASSERT_TRUE(line.Connect());
  Bytes seen;
  line.OnReceiveData = [&](std::span<const uint8_t> data) {
    seen.insert(seen.end(), data.begin(), data.end());
  };
  pty.Write({1, 2, 3});
  line.Poll();
  EXPECT_EQ(seen, (Bytes{1, 2, 3}));

  // Without a listener, bytes that came in outside a read are gone before the next write.
  line.OnReceiveData = nullptr;
  pty.Write({0x1D, 0x23, 0x04, 0x23});
  line.SendData(Bytes{0x42});
  uint8_t byte = 0;
  EXPECT_FALSE(line.ReadByte(byte));
}

TEST(SerialLineTest, PacketsAreDeliveredWholeAndPartialOnesByMode) {
  PtyPair pty;
  ManualClock clock;
  TCommPortDriver line(PathsWith(2, pty.SlavePath()), clock);
  line.SetPacketSize(3);
  line.SetPacketTimeout(100);
  ASSERT_TRUE(line.Connect());
  std::vector<Bytes> packets;
  line.OnReceivePacket = [&](std::span<const uint8_t> p) {
    packets.emplace_back(p.begin(), p.end());
  };

  pty.Write({1, 2, 3, 4, 5, 6, 7});
  line.Poll();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[1], (Bytes{4, 5, 6}));
  clock.Advance(milliseconds(99));
  line.Poll();
  EXPECT_EQ(packets.size(), 2u);
  clock.Advance(milliseconds(1));
  line.Poll();  // pmDiscard: the partial packet is dropped
  EXPECT_EQ(packets.size(), 2u);

  line.SetPacketMode(pmPass);
  pty.Write({8, 9});
  line.Poll();
  clock.Advance(milliseconds(100));
  line.Poll();
  ASSERT_EQ(packets.size(), 3u);
  EXPECT_EQ(packets[2], (Bytes{8, 9}));
}

TEST(SerialLineTest, AFarEndThatDisappearsEndsReadsAndWritesAtOnce) {
  PtyPair pty;
  TCommPortDriver line(PathsWith(2, pty.SlavePath()));
  ASSERT_TRUE(line.Connect());
  pty.CloseMaster();
  const auto start = Clock::now();
  uint8_t byte = 0;
  EXPECT_FALSE(line.ReadByte(byte));
  EXPECT_EQ(line.SendData(Bytes(64, 'x')), 0u);
  line.FlushBuffers(true, true);
  line.Poll();
  EXPECT_LT(MillisecondsSince(start), 150);
  line.Disconnect();
}

}  // namespace
}  // namespace ondivo
