#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace ondivo {

// The calls the V4L2 radio family makes on a kernel radio device, and nothing more, so that
// the family runs unchanged on /dev/radioN, on the emulated device of --simulate and on test
// doubles. Errors come back as errno values in the result, never through the global errno, so a
// double never has to fake it.
//
// One object stands for one device node at a time: Open may be called again after Close (for
// the same or another path). Every call on a closed device returns EBADF.
class V4l2Device {
 public:
  virtual ~V4l2Device() = default;

  // Opens path read-write and non-blocking. 0 or an errno value (ENOENT, EACCES, EBUSY...).
  virtual int Open(const std::string& path) = 0;
  // Closes the device; harmless when it is not open.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // ioctl(request, arg) with the kernel's request codes and structures (linux/videodev2.h).
  // 0 or an errno value: ENODEV after the device was unplugged, EINVAL for what the driver does
  // not support, EBUSY while another call holds the tuner. VIDIOC_S_HW_FREQ_SEEK is the one
  // request that may take a while: the kernel refuses it on a non-blocking descriptor, so it runs
  // blocking (bounded by the driver's own seek time-out).
  virtual int Ioctl(unsigned long request, void* arg) = 0;

  // Non-blocking read (RDS blocks, struct v4l2_rds_data). Bytes read, or minus an errno value:
  // -EAGAIN when nothing is waiting, -ENODEV after an unplug.
  virtual ssize_t Read(void* buffer, size_t size) = 0;

  // Waits up to timeoutMs (0 = just look) for data to read. 1 readable, 0 nothing, or minus an
  // errno value (-ENODEV when the device hung up).
  virtual int Poll(int timeoutMs) = 0;

  // A descriptor that becomes readable when Read has something (for a socket notifier), or -1
  // while closed. Owned by the device; valid until Close.
  virtual int Descriptor() const = 0;
};

}  // namespace ondivo
