#pragma once

namespace ondivo {

// What the panel tells the user about the exceptions of the kernel radio devices.
inline constexpr const char* kDeviceLostMessage =
    "The radio device has been disconnected. Connect it again and open Setup to switch it on.";
inline constexpr const char* kDeviceBusyMessage =
    "The radio device is busy. Another program may be using it.";

}  // namespace ondivo
