#include "radio/TCommPortDriver.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>

namespace ondivo {

namespace detail {
bool SetCustomSpeed(int fd, uint32_t rate);
}

namespace {

constexpr uint8_t kXon = 0x11;
constexpr uint8_t kXoff = 0x13;

speed_t StandardSpeed(TComPortBaudRate rate) {
  switch (rate) {
    case br110:
      return B110;
    case br300:
      return B300;
    case br600:
      return B600;
    case br1200:
      return B1200;
    case br2400:
      return B2400;
    case br4800:
      return B4800;
    case br9600:
      return B9600;
    case br19200:
      return B19200;
    case br38400:
      return B38400;
    case br57600:
      return B57600;
    case br115200:
      return B115200;
    case br14400:
    case br56000:
      break;
  }
  return B0;  // no constant: set through termios2
}

}  // namespace

uint32_t BaudRateValue(TComPortBaudRate rate) {
  static constexpr std::array<uint32_t, 13> kRates = {
      110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200};
  return kRates[static_cast<size_t>(rate)];
}

TCommPortDriver::TCommPortDriver(ComPortPaths paths, const MonotonicClock& clock)
    : paths_(std::move(paths)), clock_(clock) {}
TCommPortDriver::~TCommPortDriver() {
  Disconnect();
}

void TCommPortDriver::SetComPort(TComPortNumber port) {
  if (!Connected()) comPort_ = port;
}

int TCommPortDriver::MillisecondsUntil(MonotonicClock::time_point deadline) const {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock_.Now());
  return static_cast<int>(std::clamp<int64_t>(left.count(), 0, INT32_MAX));
}

void TCommPortDriver::SetPacketSize(int16_t value) {
  packetSize_ = value;
  packet_.clear();
}

std::string TCommPortDriver::DevicePath() const {
  return paths_.PathFor(static_cast<int>(comPort_) + 1);
}

bool TCommPortDriver::Connect() {
  if (Connected()) return true;
  fd_ = OpenSerialDevice(DevicePath());
  if (!fd_.Valid()) return false;
  ApplySettings();
  return true;
}

void TCommPortDriver::Disconnect() {
  fd_.Close();  // HUPCL drops DTR and RTS with the close
  dtr_ = false;
  rts_ = false;
  packet_.clear();
}

void TCommPortDriver::ApplySettings() {
  const int fd = fd_.Fd();
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return;
  ::cfmakeraw(&t);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CREAD | CLOCAL | HUPCL;
  static constexpr std::array<tcflag_t, 4> kSizes = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSizes[static_cast<size_t>(dataBits_)];
  switch (parity_) {
    case ptNONE:
      break;
    case ptODD:
      t.c_cflag |= PARENB | PARODD;
      break;
    case ptEVEN:
      t.c_cflag |= PARENB;
      break;
    case ptMARK:
      t.c_cflag |= PARENB | PARODD | CMSPAR;
      break;
    case ptSPACE:
      t.c_cflag |= PARENB | CMSPAR;
      break;
  }
  // A UART sends 1.5 stop bits for the two-stop-bit setting at five data bits.
  if (stopBits_ != sb1BITS) t.c_cflag |= CSTOPB;
  if (hwHandshaking_ == hhRTSCTS) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (swHandshaking_ == shXONXOFF) t.c_iflag |= IXON | IXOFF;
  t.c_cc[VSTART] = kXon;
  t.c_cc[VSTOP] = kXoff;
  t.c_cc[VMIN] = 0;  // poll() does the waiting
  t.c_cc[VTIME] = 0;
  const speed_t speed = StandardSpeed(speed_);
  if (speed != B0) ::cfsetspeed(&t, speed);
  ::tcsetattr(fd, TCSANOW, &t);
  if (speed == B0) detail::SetCustomSpeed(fd, BaudRateValue(speed_));
  SetModemLine(TIOCM_DTR, enableDTROnOpen_);
  SetModemLine(TIOCM_RTS, hwHandshaking_ != hhNONE);
  ::tcflush(fd, TCIOFLUSH);
  packet_.clear();
}

void TCommPortDriver::SetModemLine(int bit, bool on) {
  // Ptys refuse modem-line requests; the state is remembered all the same.
  ::ioctl(fd_.Fd(), on ? TIOCMBIS : TIOCMBIC, &bit);
  (bit == TIOCM_DTR ? dtr_ : rts_) = on;
}

void TCommPortDriver::ToggleDTR(bool on) {
  if (Connected()) SetModemLine(TIOCM_DTR, on);
}

void TCommPortDriver::ToggleRTS(bool on) {
  if (Connected()) SetModemLine(TIOCM_RTS, on);
}

size_t TCommPortDriver::SendData(std::span<const uint8_t> data) {
  if (!Connected()) return 0;
  Poll();
  const auto timeout = std::chrono::milliseconds(outputTimeout_);
  auto deadline = clock_.Now() + timeout;
  size_t written = 0;
  while (written < data.size()) {
    pollfd p{fd_.Fd(), POLLOUT, 0};
    const int ready = ::poll(&p, 1, MillisecondsUntil(deadline));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) {
      if (clock_.Now() >= deadline) break;  // no progress for OutputTimeout
      continue;
    }
    // A far end that went away (pty closed, adapter unplugged) never drains: stop now.
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) break;
    if (checkLineStatus_) {
      int lines = 0;
      if (::ioctl(fd_.Fd(), TIOCMGET, &lines) != 0) break;
      if ((lines & (TIOCM_CTS | TIOCM_DSR | TIOCM_RI | TIOCM_CD)) == 0) break;
    }
    const size_t chunk =
        std::min<size_t>(data.size() - written, std::max<uint16_t>(outBufSize_, 1));
    const ssize_t n = ::write(fd_.Fd(), data.data() + written, chunk);
    if (n > 0) {
      written += static_cast<size_t>(n);
      deadline = clock_.Now() + timeout;
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      break;
    }
  }
  return written;
}

bool TCommPortDriver::ReadByte(uint8_t& byte) {
  if (!Connected()) return false;
  reading_ = true;
  const auto deadline = clock_.Now() + std::chrono::milliseconds(inputTimeout_);
  bool got = false;
  for (;;) {
    pollfd p{fd_.Fd(), POLLIN, 0};
    const int ready = ::poll(&p, 1, MillisecondsUntil(deadline));
    if (ready < 0 && errno != EINTR) break;
    if (ready > 0 && (p.revents & POLLIN)) {
      const ssize_t n = ::read(fd_.Fd(), &byte, 1);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      got = n == 1;  // 0 or an error: the far end hung up
      break;
    }
    if (ready > 0) break;  // hung up or an error on the line
    if (clock_.Now() >= deadline) break;
  }
  reading_ = false;
  return got;
}

void TCommPortDriver::FlushBuffers(bool input, bool output) {
  if (Connected()) {
    if (input && output) {
      ::tcflush(fd_.Fd(), TCIOFLUSH);
    } else if (input) {
      ::tcflush(fd_.Fd(), TCIFLUSH);
    } else if (output) {
      ::tcflush(fd_.Fd(), TCOFLUSH);
    }
  }
  packet_.clear();
}

void TCommPortDriver::Poll() {
  if (!Connected() || reading_) return;
  const bool packets = packetSize_ > 0;
  if ((packets && !OnReceivePacket) || (!packets && !OnReceiveData)) {
    ::tcflush(fd_.Fd(), TCIFLUSH);  // nobody listens: drop what came in
    packet_.clear();
    return;
  }
  std::vector<uint8_t> buffer(std::max<uint16_t>(inBufSize_, 1));
  // One buffer per tick, as a polling timer takes it; a babbling far end cannot hold us here.
  const ssize_t n = ::read(fd_.Fd(), buffer.data(), buffer.size());
  if (n > 0) {
    const std::span<const uint8_t> data(buffer.data(), static_cast<size_t>(n));
    if (packets) {
      DeliverPackets(data);
    } else {
      OnReceiveData(data);
    }
  }
  if (packets && !packet_.empty() && packetTimeout_ > 0 &&
      clock_.Now() - packetStart_ >= std::chrono::milliseconds(packetTimeout_)) {
    if (packetMode_ == pmPass) OnReceivePacket(packet_);
    packet_.clear();
  }
}

void TCommPortDriver::DeliverPackets(std::span<const uint8_t> data) {
  for (const uint8_t byte : data) {
    if (packet_.empty()) packetStart_ = clock_.Now();
    packet_.push_back(byte);
    if (packet_.size() == static_cast<size_t>(packetSize_)) {
      OnReceivePacket(packet_);
      packet_.clear();
    }
  }
}

}  // namespace ondivo
