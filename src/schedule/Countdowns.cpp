#include "schedule/Countdowns.h"

#include <algorithm>

namespace ondivo {

namespace {

std::chrono::milliseconds Until(tMonotonic deadline, tMonotonic now) {
  return std::max(std::chrono::milliseconds(0),
                  std::chrono::ceil<std::chrono::milliseconds>(deadline - now));
}

}  // namespace

void SleepTimer::Start(int minutes, tMonotonic now) {
  minutes_ = minutes;
  deadline_ = now + std::chrono::minutes(minutes);
  on_ = true;
}

SleepTimer::tExpiry SleepTimer::Expire(tMonotonic now, bool programmingMode) {
  if (!on_ || now < deadline_) return tExpiry::NotYet;
  if (programmingMode) {
    // Comes back after another full interval, as often as it takes to lie ahead again.
    while (deadline_ <= now) deadline_ += std::chrono::minutes(minutes_);
    return tExpiry::Held;
  }
  on_ = false;
  return tExpiry::Mute;
}

std::chrono::milliseconds SleepTimer::Remaining(tMonotonic now) const {
  return Until(deadline_, now);
}

void BeepSequence::Start(int count, int frequency, int duration, tMonotonic now) {
  count_ = count;
  frequency_ = frequency;
  duration_ = duration;
  index_ = 1;
  next_ = now + kInterval;
  running_ = true;
}

BeepSequence::tStep BeepSequence::Tick(tMonotonic now, bool programmingMode) {
  if (!running_) return tStep::Stop;
  if (now < next_) return tStep::Wait;
  next_ += kInterval;
  if (next_ <= now) next_ = now + kInterval;  // a late tick does not bunch up the tones
  if (programmingMode && index_ <= count_) {
    ++index_;
    return tStep::Sound;
  }
  running_ = false;
  return tStep::Stop;
}

std::chrono::milliseconds BeepSequence::Remaining(tMonotonic now) const {
  return Until(next_, now);
}

}  // namespace ondivo
