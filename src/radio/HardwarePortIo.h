#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"
#include "radio/PortIo.h"

namespace ondivo {

// Real I/O ports. Access needs a grant from the kernel: ioperm() for the card's ports on x86
// (per thread: ask on the thread that does the I/O), or /dev/port opened read-write. Without
// a grant every access is refused: writes are dropped and reads return FFh, as a floating ISA
// bus would, instead of faulting.
//
// The kernel's grants stay with the object until it goes, also when the card moves to other
// ports: the program drops CAP_SYS_RAWIO after start-up, and a grant given back could not be
// had again. Only the ports of the current grant are ever touched.
class HardwarePortIo final : public PortIo {
 public:
  enum class Method { None, Ioperm, DevPort };

  HardwarePortIo() = default;
  ~HardwarePortIo() override;
  HardwarePortIo(const HardwarePortIo&) = delete;
  HardwarePortIo& operator=(const HardwarePortIo&) = delete;

  // Asks for access to the ports base .. base + count - 1 and makes them the current grant;
  // true when granted, or already held from an earlier grant.
  bool Grant(uint16_t base, int count) override;
  // Whether an earlier grant covers these ports, so Grant needs no capability for them.
  bool Holds(uint16_t base, int count) const;
  // Whether such a grant could be had, without taking one for the calling thread.
  static bool Probe(uint16_t base, int count);
  // Ends the current grant: no port is touched until the next Grant.
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
  struct Range {
    uint16_t Base;
    int Count;
  };
  bool IopermHolds(uint16_t base, int count) const;

  Method method_ = Method::None;
  uint16_t base_ = 0;
  int count_ = 0;
  std::vector<Range> ioperm_;  // ranges the kernel granted to this thread
  UniqueFd devPort_;
  long refused_ = 0;
  std::string lastError_;
};

}  // namespace ondivo
