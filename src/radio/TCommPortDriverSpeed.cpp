// Kept apart from TCommPortDriver.cpp: the kernel's termios2 header clashes with <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdint>

namespace ondivo::detail {

// Sets a rate the classic termios constants lack (14400, 56000 baud).
bool SetCustomSpeed(int fd, uint32_t rate) {
  struct termios2 settings {};
  if (::ioctl(fd, TCGETS2, &settings) != 0) return false;
  settings.c_cflag &= ~CBAUD;
  settings.c_cflag |= BOTHER;
  settings.c_cflag &= ~(CBAUD << IBSHIFT);
  settings.c_cflag |= BOTHER << IBSHIFT;
  settings.c_ispeed = rate;
  settings.c_ospeed = rate;
  return ::ioctl(fd, TCSETS2, &settings) == 0;
}

}  // namespace ondivo::detail
