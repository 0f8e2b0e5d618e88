#pragma once
// --simulate's SDR receiver: the emulated SoapySDR device (driver=ondivo) at port index 1, its
// sound on the emulated sound card's stream output.
#include <filesystem>
#include <string>

#include "sdr/SdrDevices.h"

namespace ondivo::sim {

// The folder of the emulated SDR's SoapySDR module: soapy-modules beside the running
// executable or lib/ondivo/soapy-modules beside its folder (an installed or copied program
// brings its own), else the one the build made.
std::filesystem::path EmulatedSdrModuleFolder();

// Lets SoapySDR find the emulated SDR, in this process and the programs it starts, by naming
// its module's folder first in SOAPY_SDR_PLUGIN_PATH. SoapySDR loads its modules once, at the
// first enumeration or open: call this before.
void FindEmulatedSdr();

// The devices --simulate offers: the emulated SDR at port 1 unless the user named another there,
// and the sound on streamDevice (when there is one) unless the user chose an output
// (audioDevice not empty).
SdrDevices SimulatedSdrDevices(SdrDevices devices, const std::string& audioDevice,
                               const std::string& streamDevice);

}  // namespace ondivo::sim
