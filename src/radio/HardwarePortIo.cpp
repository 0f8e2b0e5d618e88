#include "radio/HardwarePortIo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define ONDIVO_HAVE_IOPERM 1
#endif

namespace ondivo {

HardwarePortIo::~HardwarePortIo() {
#ifdef ONDIVO_HAVE_IOPERM
  for (const Range& r : ioperm_) ioperm(r.Base, static_cast<unsigned long>(r.Count), 0);
#endif
}

bool HardwarePortIo::IopermHolds(uint16_t base, int count) const {
  for (const Range& r : ioperm_) {
    if (base >= r.Base && base + count <= r.Base + r.Count) return true;
  }
  return false;
}

bool HardwarePortIo::Holds(uint16_t base, int count) const {
  return devPort_.isValid() || IopermHolds(base, count);
}

bool HardwarePortIo::Grant(uint16_t base, int count) {
  Release();
  if (count <= 0 || base + count > 0x10000) {
    lastError_ = "invalid port range";
    return false;
  }
  const auto take = [&](Method method) {
    method_ = method;
    base_ = base;
    count_ = count;
    lastError_.clear();
    return true;
  };
  if (IopermHolds(base, count)) return take(Method::Ioperm);
  if (devPort_) return take(Method::DevPort);
#ifdef ONDIVO_HAVE_IOPERM
  if (ioperm(base, static_cast<unsigned long>(count), 1) == 0) {
    ioperm_.push_back({base, count});
    return take(Method::Ioperm);
  }
  std::string iopermError = std::strerror(errno);
#else
  std::string iopermError = "not available on this processor";
#endif
  UniqueFd fd(::open("/dev/port", O_RDWR | O_CLOEXEC));
  if (fd) {
    devPort_ = std::move(fd);
    return take(Method::DevPort);
  }
  lastError_ = "ioperm: " + iopermError + "; /dev/port: " + std::strerror(errno);
  return false;
}

void HardwarePortIo::Release() {
  method_ = Method::None;
  count_ = 0;
}

bool HardwarePortIo::Probe(uint16_t base, int count) {
  if (count <= 0 || base + count > 0x10000) return false;
#ifdef ONDIVO_HAVE_IOPERM
  // ioperm is per thread: a grant taken on a thread of its own ends with that thread and
  // leaves the caller's grants as they were.
  bool granted = false;
  std::thread([&] { granted = ioperm(base, static_cast<unsigned long>(count), 1) == 0; }).join();
  if (granted) return true;
#endif
  return UniqueFd(::open("/dev/port", O_RDWR | O_CLOEXEC)).isValid();
}

bool HardwarePortIo::Granted(uint16_t port) const {
  return method_ != Method::None && port >= base_ && port < base_ + count_;
}

void HardwarePortIo::PortOut(uint16_t port, uint8_t value) {
  if (!Granted(port)) {
    ++refused_;
    return;
  }
#ifdef ONDIVO_HAVE_IOPERM
  if (method_ == Method::Ioperm) {
    outb(value, port);
    return;
  }
#endif
  if (::pwrite(devPort_.get(), &value, 1, port) != 1) ++refused_;
}

uint8_t HardwarePortIo::PortIn(uint16_t port) {
  if (!Granted(port)) {
    ++refused_;
    return 0xFF;
  }
#ifdef ONDIVO_HAVE_IOPERM
  if (method_ == Method::Ioperm) return inb(port);
#endif
  uint8_t value = 0xFF;
  if (::pread(devPort_.get(), &value, 1, port) != 1) {
    ++refused_;
    return 0xFF;
  }
  return value;
}

}  // namespace ondivo
