#include "radio/SerialPortProbe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace ondivo {

SerialFd& SerialFd::operator=(SerialFd&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = other.Release();
  }
  return *this;
}

int SerialFd::Release() {
  return std::exchange(fd_, -1);
}

void SerialFd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

SerialFd OpenSerialDevice(const std::string& path) {
  int raw;
  do {
    // Non-blocking, or opening a real port without carrier would hang.
    raw = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  } while (raw < 0 && errno == EINTR);
  SerialFd fd(raw);
  if (!fd.Valid() || !::isatty(fd.Get())) return {};
  // A UART that is not fitted opens but refuses its settings.
  termios settings{};
  if (::tcgetattr(fd.Get(), &settings) != 0) return {};
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) return {};
  if (::ioctl(fd.Get(), TIOCEXCL) != 0) return {};
  return fd;
}

bool IsSerialPortPresent(int n, const ComPortPaths& paths) {
  if (n < 1) return false;
  return OpenSerialDevice(paths.PathFor(n)).Valid();
}

}  // namespace ondivo
