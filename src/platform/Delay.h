#pragma once

namespace ondivo {

// Every blocking wait of a hardware protocol goes through this, so tests can count the waits
// and the emulated hardware can measure how long a line was held.
class Delay {
 public:
  virtual ~Delay() = default;
  virtual void Wait(int ms) = 0;
};

// Really blocks the calling thread.
class SleepingDelay final : public Delay {
 public:
  void Wait(int ms) override;
};

}  // namespace ondivo
