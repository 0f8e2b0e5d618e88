#include "radio/V4l2KernelDevice.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace ondivo {

namespace {

int IoctlRetrying(int fd, unsigned long request, void* arg) {
  int result;
  do {
    result = ::ioctl(fd, request, arg);
  } while (result < 0 && errno == EINTR);
  return result < 0 ? errno : 0;
}

}  // namespace

int V4l2KernelDevice::Open(const std::string& path) {
  fd_.reset(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
  return fd_ ? 0 : errno;
}

int V4l2KernelDevice::Ioctl(unsigned long request, void* arg) {
  if (!fd_) return EBADF;
  if (request != VIDIOC_S_HW_FREQ_SEEK) return IoctlRetrying(fd_.get(), request, arg);
  // The kernel answers EAGAIN to a seek on a non-blocking descriptor; the flag belongs to the
  // open file, so it is dropped for this one call and put back afterwards.
  const int flags = ::fcntl(fd_.get(), F_GETFL);
  if (flags < 0) return errno;
  ::fcntl(fd_.get(), F_SETFL, flags & ~O_NONBLOCK);
  const int result = IoctlRetrying(fd_.get(), request, arg);
  ::fcntl(fd_.get(), F_SETFL, flags);
  return result;
}

ssize_t V4l2KernelDevice::Read(void* buffer, size_t size) {
  if (!fd_) return -EBADF;
  ssize_t n;
  do {
    n = ::read(fd_.get(), buffer, size);
  } while (n < 0 && errno == EINTR);
  return n < 0 ? -errno : n;
}

int V4l2KernelDevice::Poll(int timeoutMs) {
  if (!fd_) return -EBADF;
  pollfd p{fd_.get(), POLLIN, 0};
  int n;
  do {
    n = ::poll(&p, 1, timeoutMs);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return -errno;
  if (n == 0) return 0;
  if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) return -ENODEV;
  return 1;
}

}  // namespace ondivo
