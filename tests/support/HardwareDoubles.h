#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "audio/Tone.h"
#include "platform/Clock.h"
#include "platform/Delay.h"
#include "radio/CardMixer.h"
#include "radio/PortIo.h"
#include "radio/RadioCard.h"
#include "schedule/TimeOfDaySource.h"

namespace ondivo::test {

// One port access, wait or mixer write, in the order they happened.
struct BusEvent {
  enum Kind { Out, In, Wait, MixerSet } kind;
  uint16_t port = 0;  // MixerSet: the control index
  uint8_t value = 0;  // MixerSet: the channel
  int ms = 0;
  int32_t level = 0;  // MixerSet: the value written
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
inline BusEvent MixerSet(tMixerControlType control, int channel, int32_t level) {
  return {BusEvent::MixerSet, static_cast<uint16_t>(control), static_cast<uint8_t>(channel), 0,
          level};
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
  bool Grant(uint16_t base, int count) override {
    grants.emplace_back(base, count);
    return grantAnswer;
  }

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
  std::vector<std::pair<uint16_t, int>> grants;  // (base, count) of every grant asked for
  bool grantAnswer = true;
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
  void SetValue(tMixerControlType c, int ch, int32_t v) override {
    controls.at(c).value[ch] = v;
    if (log) log->push_back(MixerSet(c, ch, v));
  }
  // Another program changes a control: the value is stored and the change reported.
  void ChangeFromOutside(tMixerControlType c, int ch, int32_t v) {
    controls.at(c).value[ch] = v;
    NotifyChange(c);
  }

  std::map<tMixerControlType, Control> controls;
  std::vector<BusEvent>* log = nullptr;  // writes are recorded here too, e.g. a bus's events
};

// A clock that moves only when told to, and by step at every reading.
class ManualClock final : public MonotonicClock {
 public:
  explicit ManualClock(std::chrono::milliseconds step = std::chrono::milliseconds(0))
      : step_(step) {}
  time_point Now() const override {
    const time_point now = now_;
    now_ += step_;
    return now;
  }
  void Advance(std::chrono::milliseconds by) { now_ += by; }
  int64_t ElapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(now_ - time_point{}).count();
  }

 private:
  std::chrono::milliseconds step_;
  mutable time_point now_{};
};

// A time of day the test sets.
class SetTimeOfDay final : public TimeOfDaySource {
 public:
  tTimeOfDay Now() const override { return now; }
  void Set(int hour, int minute, int second = 0) { now = {hour, minute, second}; }
  tTimeOfDay now{12, 0, 0};
};

// Records the tones asked for.
class RecordingTone final : public Tone {
 public:
  struct Played {
    int frequency, duration;
    int64_t atMs;  // on the panel's monotonic clock
  };
  explicit RecordingTone(const ManualClock& clock) : clock_(clock) {}
  void Play(int frequencyHz, int durationMs) override {
    played.push_back({frequencyHz, durationMs, clock_.ElapsedMs()});
  }
  std::vector<Played> played;

 private:
  const ManualClock& clock_;
};

// The card wired to a recording bus (ports and waits on one timeline), with a mixer when given.
inline CardHardware BusHardware(RecordingBus& bus, std::unique_ptr<CardMixer> mixer = nullptr) {
  const bool soundCard = mixer != nullptr;
  return CardHardware{bus, bus, {}, soundCard, std::move(mixer)};
}

inline std::ostream& operator<<(std::ostream& os, const test::BusEvent& e) {
  static const char* kinds[] = {"out", "in", "wait", "mixer"};
  return os << kinds[e.kind] << "(" << std::hex << e.port << "," << int(e.value) << std::dec << ","
            << e.ms << "," << e.level << ")";
}

}  // namespace ondivo::test
