#pragma once

#include "platform/UniqueFd.h"
#include "radio/V4l2Device.h"

namespace ondivo {

// The real device: a kernel radio node (/dev/radioN) opened with O_RDWR | O_NONBLOCK.
class V4l2KernelDevice final : public V4l2Device {
 public:
  int Open(const std::string& path) override;
  void Close() override { fd_.reset(); }
  bool IsOpen() const override { return fd_.isValid(); }
  int Ioctl(unsigned long request, void* arg) override;
  ssize_t Read(void* buffer, size_t size) override;
  int Poll(int timeoutMs) override;
  int Descriptor() const override { return fd_.get(); }

 private:
  UniqueFd fd_;
};

}  // namespace ondivo
