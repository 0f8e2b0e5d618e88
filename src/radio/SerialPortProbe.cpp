#include "radio/SerialPortProbe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace ondivo {

SerialDevice& SerialDevice::operator=(SerialDevice&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::move(other.fd_);
    exclusive_ = std::exchange(other.exclusive_, false);
  }
  return *this;
}

void SerialDevice::Close() {
  if (fd_.isValid() && exclusive_) ::ioctl(fd_.get(), TIOCNXCL);
  exclusive_ = false;
  fd_.reset();
}

SerialDevice OpenSerialDevice(const std::string& path) {
  int raw;
  do {
    // Non-blocking, or opening a real port without carrier would hang.
    raw = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  } while (raw < 0 && errno == EINTR);
  UniqueFd fd(raw);
  if (!fd.isValid() || !::isatty(fd.get())) return {};
  // A UART that is not fitted opens but refuses its settings.
  termios settings{};
  if (::tcgetattr(fd.get(), &settings) != 0) return {};
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return {};
  if (::ioctl(fd.get(), TIOCEXCL) != 0) return {};
  return SerialDevice(std::move(fd), true);
}

bool IsSerialPortPresent(int n, const ComPortPaths& paths) {
  if (n < 1) return false;
  return OpenSerialDevice(paths.PathFor(n)).Valid();
}

}  // namespace ondivo
