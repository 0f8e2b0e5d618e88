#include "sim/SimulatedSdr.h"

#include <cstdlib>

#include "platform/ProgramFiles.h"

namespace ondivo::sim {

namespace {
constexpr const char* kSearchVariable = "SOAPY_SDR_PLUGIN_PATH";
constexpr const char* kModuleFile = "libSoapyOndivo.so";
}  // namespace

std::filesystem::path EmulatedSdrModuleFolder() {
  std::error_code error;
  const auto executableDir = ExecutableDir();
  if (!executableDir.empty()) {
    for (const auto& candidate :
         {executableDir / "soapy-modules", ProgramLibDir(executableDir) / "soapy-modules"}) {
      if (std::filesystem::is_regular_file(candidate / kModuleFile, error)) return candidate;
    }
  }
  return ONDIVO_SOAPY_MODULE_DIR;
}

void FindEmulatedSdr() {
  const std::string folder = EmulatedSdrModuleFolder().string();
  const char* previous = std::getenv(kSearchVariable);
  std::string paths = previous ? previous : "";
  if (paths == folder || paths.rfind(folder + ":", 0) == 0) return;
  paths = paths.empty() ? folder : folder + ":" + paths;
  ::setenv(kSearchVariable, paths.c_str(), 1);
}

SdrDevices SimulatedSdrDevices(SdrDevices devices, const std::string& audioDevice,
                               const std::string& streamDevice) {
  FindEmulatedSdr();
  if (!devices.Named(1)) devices.Override(1, "driver=ondivo");
  if (audioDevice.empty() && !streamDevice.empty()) devices.AudioDevice = streamDevice;
  return devices;
}

}  // namespace ondivo::sim
