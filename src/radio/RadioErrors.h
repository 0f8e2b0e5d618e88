#pragma once

#include <exception>

namespace ondivo {

// The card layer raises these without words; the caller decides what to tell the user.
struct eRadioCardError : std::exception {
  const char* what() const noexcept override { return ""; }
};
// Model or port changed while the card is switched on.
struct eCantSetup : eRadioCardError {};
// Port index outside 0..PortCount of the model.
struct ePortNotFound : eRadioCardError {};
// The serial port of a serial radio could not be opened.
struct ePortAlreayOpen : eRadioCardError {};

}  // namespace ondivo

namespace ondivo {

// The kernel radio device disappeared (a USB receiver pulled out) while it was in use.
struct eDeviceLost : eRadioCardError {};
// The kernel radio device refused a request because it is busy.
struct eDeviceBusy : eRadioCardError {};

}  // namespace ondivo
