#pragma once

#include <chrono>

#include "platform/Clock.h"

namespace ondivo {

using tMonotonic = MonotonicClock::time_point;

// The sleep function: a countdown that mutes the radio. It keeps its deadline on the monotonic
// clock, so a timer that fires early (the event loop rounds long intervals) only waits longer.
class SleepTimer {
 public:
  enum class tExpiry {
    NotYet,  // before the deadline: wait Remaining()
    Held,    // in programming mode: it comes back one full interval later
    Mute,    // the radio goes quiet; the countdown is over
  };

  bool On() const { return on_; }
  // The last delay chosen (SleepMinutes); 20 until one was chosen.
  int Minutes() const { return minutes_; }
  void Start(int minutes, tMonotonic now);
  void Stop() { on_ = false; }
  tExpiry Expire(tMonotonic now, bool programmingMode);
  // Time left until the deadline, never below zero.
  std::chrono::milliseconds Remaining(tMonotonic now) const;

 private:
  bool on_ = false;
  int minutes_ = 20;
  tMonotonic deadline_{};
};

// The tones of a script's beep action: the first one second after the action, one per second,
// and the tick after the last one ends it. The tones sound only while programming mode lasts.
class BeepSequence {
 public:
  static constexpr std::chrono::milliseconds kInterval{1000};
  enum class tStep {
    Wait,   // before the next tick: wait Remaining()
    Sound,  // one tone of Frequency() Hz for Duration() ms; the next tick follows
    Stop,   // the sequence is over
  };

  bool Running() const { return running_; }
  // Replaces a sequence that is already running.
  void Start(int count, int frequency, int duration, tMonotonic now);
  tStep Tick(tMonotonic now, bool programmingMode);
  std::chrono::milliseconds Remaining(tMonotonic now) const;

  int Index() const { return index_; }  // BeepIndex: number of the next tone
  int Count() const { return count_; }
  int Frequency() const { return frequency_; }
  int Duration() const { return duration_; }

 private:
  bool running_ = false;
  int index_ = 0, count_ = 0, frequency_ = 0, duration_ = 0;
  tMonotonic next_{};
};

}  // namespace ondivo
