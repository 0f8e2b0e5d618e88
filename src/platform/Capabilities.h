#pragma once

#include <string>

namespace ondivo {

// Gives up every capability this thread holds: effective, permitted and inheritable, the
// ambient set, and the bounding set where that is allowed (it needs CAP_SETPCAP, which root has
// and a binary with only cap_sys_rawio does not). Capabilities belong to threads, so this runs
// before the program starts any. Empty when done, else what failed.
std::string DropCapabilities();

}  // namespace ondivo
