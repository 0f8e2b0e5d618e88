#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "radio/RadioDevicePaths.h"
#include "remote/RemoteCommand.h"
#include "sdr/SdrDevices.h"

namespace ondivo {

// The options of the ondivo command.
struct tCommandLine {
  bool Simulate = false;
  std::string ConfigDir;                // empty: the usual rule
  std::map<int, std::string> ComPaths;  // COMn -> device path
  RadioDevicePaths RadioPaths;          // port index n of the V4L2 model -> device node
  SdrDevices Sdr;                       // port index n of the SDR model -> SoapySDR arguments
  std::string AudioDevice;              // the ALSA device the SDR sound plays on; empty: default
  bool Configure = false;               // --configure or "\CONFIGURE" in any case
  bool Help = false;
  bool Version = false;
  bool PrintTitle = false;           // prints the window title once the panel shows (for scripts)
  std::optional<tSendRequest> Send;  // --send: a request for the running copy, no panel
  std::string Error;                 // not empty: what was wrong, for the usage message
};

tCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text --help prints.
std::string UsageText();

}  // namespace ondivo
