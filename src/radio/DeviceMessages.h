#pragma once

#include <string>

namespace ondivo {

// What the panel tells the user about the exceptions of the kernel radio devices.
inline constexpr const char* kDeviceLostMessage =
    "The radio device has been disconnected. Connect it again and open Setup to switch it on.";
inline constexpr const char* kDeviceBusyMessage =
    "The radio device is busy. Another program may be using it.";
// The device node of the configured port could not be opened as a radio tuner.
inline std::string DeviceOpenMessage(const std::string& path) {
  return "The radio device " + path +
         " cannot be opened. Connect the receiver, choose its device in Setup, and check that "
         "you may use it (usually membership of the \"video\" group, or a session at the "
         "computer's own seat).";
}

// The SDR device of the configured port could not be switched on; reason says why.
inline std::string SdrOpenMessage(int port, const std::string& reason) {
  return "The SDR receiver " + std::to_string(port) +
         " cannot be switched on. Connect it, choose it in Setup, and check that you may use "
         "it.\r\r" +
         reason;
}

}  // namespace ondivo
