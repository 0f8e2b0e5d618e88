#pragma once

#include <cstdint>

namespace ondivo {

// Byte access to I/O ports. Each call is one unpaced bus access; any pacing a card needs is
// explicit in its protocol. Real cards, the emulated ISA bus and test recorders implement it.
class PortIo {
 public:
  virtual ~PortIo() = default;
  virtual void PortOut(uint16_t port, uint8_t value) = 0;
  virtual uint8_t PortIn(uint16_t port) = 0;
  // Asks for access to the ports base .. base + count - 1, replacing an earlier grant; true
  // when they may be used. Only real ports need a grant from the kernel; the emulated bus and
  // the recorders always answer true.
  virtual bool Grant(uint16_t /*base*/, int /*count*/) { return true; }
};

// The ports of a machine without port cards, e.g. when only serial radios are driven: nothing
// is decoded, reads float at FFh, and no grant is ever given.
class NullPortIo final : public PortIo {
 public:
  void PortOut(uint16_t, uint8_t) override {}
  uint8_t PortIn(uint16_t) override { return 0xFF; }
  bool Grant(uint16_t, int) override { return false; }
};

}  // namespace ondivo
