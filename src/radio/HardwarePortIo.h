#pragma once

#include <cstdint>
#include <string>

#include "platform/UniqueFd.h"
#include "radio/PortIo.h"

namespace ondivo {

// Real I/O ports. Access needs a grant from the kernel: ioperm() for the card's ports on x86
// (per thread: ask on the thread that does the I/O), or /dev/port opened read-write. Without
// a grant every access is refused: writes are dropped and reads return FFh, as a floating ISA
// bus would, instead of faulting.
class HardwarePortIo final : public PortIo {
 public:
  enum class Method { None, Ioperm, DevPort };

  HardwarePortIo() = default;
  ~HardwarePortIo() override;
  HardwarePortIo(const HardwarePortIo&) = delete;
  HardwarePortIo& operator=(const HardwarePortIo&) = delete;

  // Asks for access to the ports base .. base + count - 1; true when granted.
  bool Grant(uint16_t base, int count) override;
  // Whether such a grant could be had, without taking one for the calling thread.
  static bool Probe(uint16_t base, int count);
  void Release();
  bool Granted(uint16_t port) const;
  Method GrantMethod() const { return method_; }
  // Why the last grant failed, for the message shown to the user.
  const std::string& LastError() const { return lastError_; }
  // Accesses refused for want of a grant.
  long RefusedAccesses() const { return refused_; }

  void PortOut(uint16_t port, uint8_t value) override;
  uint8_t PortIn(uint16_t port) override;

 private:
  Method method_ = Method::None;
  uint16_t base_ = 0;
  int count_ = 0;
  UniqueFd devPort_;
  long refused_ = 0;
  std::string lastError_;
};

}  // namespace ondivo
