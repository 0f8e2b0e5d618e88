#pragma once

#include <chrono>

namespace ondivo {

// Where time-outs and deadlines read the time, beside Delay: tests hand in a clock they move
// themselves, so no deadline needs a real wait to be checked.
class MonotonicClock {
 public:
  using time_point = std::chrono::steady_clock::time_point;
  virtual ~MonotonicClock() = default;
  virtual time_point Now() const = 0;
};

// The system's monotonic clock.
class SteadyClock final : public MonotonicClock {
 public:
  time_point Now() const override { return std::chrono::steady_clock::now(); }
};

// One shared steady clock for the places that take no other; it has no state.
inline const MonotonicClock& SystemSteadyClock() {
  static const SteadyClock clock;
  return clock;
}

}  // namespace ondivo
