#pragma once

#include <string>

#include "platform/UniqueFd.h"
#include "radio/ComPortPaths.h"

namespace ondivo {

// A terminal device this program holds alone. TIOCEXCL keeps other programs out while it is
// open, and it is cleared again before every close: a pty slave keeps the flag for as long as
// its master lives, so a port closed with it set could never be opened again by anyone but root.
class SerialDevice {
 public:
  SerialDevice() = default;
  explicit SerialDevice(UniqueFd fd, bool exclusive) : fd_(std::move(fd)), exclusive_(exclusive) {}
  SerialDevice(SerialDevice&& other) noexcept = default;
  SerialDevice& operator=(SerialDevice&& other) noexcept;
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;
  ~SerialDevice() { Close(); }

  int Fd() const { return fd_.get(); }
  bool Valid() const { return fd_.isValid(); }
  // Gives up exclusive use, then closes.
  void Close();

 private:
  UniqueFd fd_;
  bool exclusive_ = false;
};

// Opens an existing terminal device for reading and writing, non-blocking, for this program
// alone: TIOCEXCL keeps other programs out (except root), and a non-blocking flock makes a
// device that another program already holds count as busy. Invalid on any failure, including a
// path that is not a terminal.
SerialDevice OpenSerialDevice(const std::string& path);

// COMn exists and nobody else holds it. The device is closed again at once.
bool IsSerialPortPresent(int n, const ComPortPaths& paths = {});

}  // namespace ondivo
