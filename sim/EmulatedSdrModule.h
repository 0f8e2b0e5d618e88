#pragma once

#include <filesystem>

namespace ondivo::sim {

// The folder holding the emulated SDR's SoapySDR module (driver=ondivo), for
// SOAPY_SDR_PLUGIN_PATH under --simulate: the installed one beside the program's other plugins,
// else the one in the build tree.
std::filesystem::path EmulatedSdrModuleDir();

}  // namespace ondivo::sim
