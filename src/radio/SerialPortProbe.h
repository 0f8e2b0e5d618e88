#pragma once

#include <string>

#include "radio/ComPortPaths.h"

namespace ondivo {

// An open serial device; closes it when it goes.
class SerialFd {
 public:
  SerialFd() = default;
  explicit SerialFd(int fd) : fd_(fd) {}
  SerialFd(SerialFd&& other) noexcept : fd_(other.Release()) {}
  SerialFd& operator=(SerialFd&& other) noexcept;
  SerialFd(const SerialFd&) = delete;
  SerialFd& operator=(const SerialFd&) = delete;
  ~SerialFd() { Reset(); }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release();
  void Reset();

 private:
  int fd_ = -1;
};

// Opens an existing terminal device for reading and writing, non-blocking, for this program
// alone: TIOCEXCL keeps other programs out (except root), and a non-blocking flock makes a
// device that another program already holds count as busy. Invalid on any failure, including a
// path that is not a terminal.
SerialFd OpenSerialDevice(const std::string& path);

// COMn exists and nobody else holds it. The device is closed again at once.
bool IsSerialPortPresent(int n, const ComPortPaths& paths = {});

}  // namespace ondivo
