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
};

}  // namespace ondivo
