#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Delay.h"
#include "radio/PortIo.h"

namespace ondivo::sim {

// A card on the emulated bus. It decodes the bytes written to its ports as the hardware would
// and answers reads; it learns the time only from the bus clock.
class EmulatedIsaCard {
 public:
  virtual ~EmulatedIsaCard() = default;
  // Number of consecutive ports decoded from the base address.
  virtual int PortSpan() const = 0;
  virtual void Write(int offset, uint8_t value, int64_t nowMs) = 0;
  virtual uint8_t Read(int offset, int64_t nowMs) = 0;
};

// An ISA bus with cards plugged at base addresses. Time on the bus moves only through its
// clock, the Delay the protocols wait on, so a held volume line or a settling PLL is measured
// exactly however fast the emulation runs. Ports no card decodes read FFh.
class EmulatedIsaBus final : public PortIo {
 public:
  // paced: the Delay the clock passes waits on after advancing, e.g. a real sleep for
  // interactive use; nullptr for tests and benchmarks, where time is free.
  explicit EmulatedIsaBus(Delay* paced = nullptr);
  ~EmulatedIsaBus() override;

  // Plugs a card at base; a card already decoding any of those ports is unplugged first.
  EmulatedIsaCard& Plug(uint16_t base, std::unique_ptr<EmulatedIsaCard> card);
  void Unplug(uint16_t base);
  EmulatedIsaCard* CardAt(uint16_t base) const;

  void PortOut(uint16_t port, uint8_t value) override;
  uint8_t PortIn(uint16_t port) override;

  Delay& Clock() { return clock_; }
  int64_t NowMs() const { return clock_.now; }
  uint64_t Accesses() const { return accesses_; }

 private:
  struct Slot {
    uint16_t base;
    std::unique_ptr<EmulatedIsaCard> card;
  };
  struct BusClock final : Delay {
    void Wait(int ms) override;
    int64_t now = 0;
    Delay* paced = nullptr;
  };
  Slot* Decode(uint16_t port, int& offset);

  std::vector<Slot> slots_;
  BusClock clock_;
  uint64_t accesses_ = 0;
};

}  // namespace ondivo::sim
