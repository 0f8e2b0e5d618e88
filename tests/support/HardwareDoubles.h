#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Delay.h"
#include "radio/CardMixer.h"
#include "radio/PortIo.h"

namespace ondivo::test {

// One port access or wait, in the order they happened.
struct BusEvent {
  enum Kind { Out, In, Wait } kind;
  uint16_t port = 0;
  uint8_t value = 0;
  int ms = 0;
  bool operator==(const BusEvent&) const = default;
};

inline BusEvent Out(uint16_t port, uint8_t value) {
  return {BusEvent::Out, port, value, 0};
}
inline BusEvent In(uint16_t port) {
  return {BusEvent::In, port, 0, 0};
}
inline BusEvent Wait(int ms) {
  return {BusEvent::Wait, 0, 0, ms};
}

// Records port traffic and waits on one timeline; reads answer from a queue (FFh when empty).
class RecordingBus final : public PortIo, public Delay {
 public:
  void PortOut(uint16_t port, uint8_t value) override { events.push_back(Out(port, value)); }
  uint8_t PortIn(uint16_t port) override {
    events.push_back(In(port));
    if (replies.empty()) return 0xFF;
    const uint8_t value = replies.front();
    replies.pop_front();
    return value;
  }
  void Wait(int ms) override { events.push_back(test::Wait(ms)); }

  std::vector<uint8_t> Written() const {
    std::vector<uint8_t> bytes;
    for (const auto& e : events)
      if (e.kind == BusEvent::Out) bytes.push_back(e.value);
    return bytes;
  }
  int TotalWaitMs() const {
    int total = 0;
    for (const auto& e : events)
      if (e.kind == BusEvent::Wait) total += e.ms;
    return total;
  }
  void Clear() { events.clear(); }

  std::vector<BusEvent> events;
  std::deque<uint8_t> replies;
};

// A mixer with any set of controls, each with two channels.
class FakeMixer final : public CardMixer {
 public:
  struct Control {
    int32_t min = 0;
    int32_t max = 65535;
    int32_t value[2] = {0, 0};
  };
  bool HasControl(tMixerControlType c) const override { return controls.count(c) != 0; }
  int32_t Minimum(tMixerControlType c) const override { return controls.at(c).min; }
  int32_t Maximum(tMixerControlType c) const override { return controls.at(c).max; }
  int32_t Value(tMixerControlType c, int ch) const override { return controls.at(c).value[ch]; }
  void SetValue(tMixerControlType c, int ch, int32_t v) override { controls.at(c).value[ch] = v; }

  std::map<tMixerControlType, Control> controls;
};

inline std::ostream& operator<<(std::ostream& os, const test::BusEvent& e) {
  static const char* kinds[] = {"out", "in", "wait"};
  return os << kinds[e.kind] << "(" << std::hex << e.port << "," << int(e.value) << std::dec << ","
            << e.ms << ")";
}

}  // namespace ondivo::test
