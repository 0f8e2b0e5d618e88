#include "platform/Delay.h"

#include <chrono>
#include <thread>

namespace ondivo {

void SleepingDelay::Wait(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace ondivo
