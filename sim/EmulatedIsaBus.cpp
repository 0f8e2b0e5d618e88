#include "sim/EmulatedIsaBus.h"

#include <algorithm>

namespace ondivo::sim {

EmulatedIsaBus::EmulatedIsaBus(Delay* paced) {
  clock_.paced = paced;
}
EmulatedIsaBus::~EmulatedIsaBus() = default;

void EmulatedIsaBus::BusClock::Wait(int ms) {
  if (ms <= 0) return;
  now += ms;
  if (paced) paced->Wait(ms);
}

EmulatedIsaCard& EmulatedIsaBus::Plug(uint16_t base, std::unique_ptr<EmulatedIsaCard> card) {
  const int span = card->PortSpan();
  std::erase_if(slots_, [&](const Slot& slot) {
    const int end = slot.base + slot.card->PortSpan();
    return slot.base < base + span && base < end;
  });
  slots_.push_back({base, std::move(card)});
  return *slots_.back().card;
}

void EmulatedIsaBus::Unplug(uint16_t base) {
  std::erase_if(slots_, [&](const Slot& slot) { return slot.base == base; });
}

EmulatedIsaCard* EmulatedIsaBus::CardAt(uint16_t base) const {
  for (const auto& slot : slots_) {
    if (slot.base == base) return slot.card.get();
  }
  return nullptr;
}

EmulatedIsaBus::Slot* EmulatedIsaBus::Decode(uint16_t port, int& offset) {
  for (auto& slot : slots_) {
    offset = port - slot.base;
    if (offset >= 0 && offset < slot.card->PortSpan()) return &slot;
  }
  return nullptr;
}

void EmulatedIsaBus::PortOut(uint16_t port, uint8_t value) {
  ++accesses_;
  int offset = 0;
  if (Slot* slot = Decode(port, offset)) slot->card->Write(offset, value, clock_.now);
}

uint8_t EmulatedIsaBus::PortIn(uint16_t port) {
  ++accesses_;
  int offset = 0;
  if (Slot* slot = Decode(port, offset)) return slot->card->Read(offset, clock_.now);
  return 0xFF;
}

}  // namespace ondivo::sim
