// Runs inside the test virtual machine, against the kernel's vivid radio receiver, through the
// program's own V4L2 family (V4l2Protocol on V4l2KernelDevice): opens and probes the device,
// tunes, reads the tuner back and decodes RDS until the service name and the RadioText are
// there. Prints one line for the host to check:
//   VIVID-RESULT card="..." fm=LOW-HIGH range=MIN-MAX tuned=F readback=F signal=N
//                reception=stereo|mono|tuned|none pi=XXXX ps="..." rt="..."
// (fm: the device's FM band; range: the FM limits of the record the family made from it), or
//   VIVID-RESULT error="..."
// when something fails before that. With --unprivileged it first becomes user and group 65534
// and tags its line VIVID-UNPRIVILEGED: the device node is root's, so opening it must fail
// cleanly. Linked statically: the machine has busybox and nothing else.
#include <grp.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

#include "radio/RadioDevicePaths.h"
#include "radio/RadioErrors.h"
#include "radio/V4l2KernelDevice.h"
#include "radio/V4l2Protocol.h"
#include "radio/V4l2Record.h"

namespace {

using namespace ondivo;

const char* ReceptionName(tSignal signal) {
  switch (signal) {
    case sStereo:
      return "stereo";
    case sMono:
      return "mono";
    case sTuned:
      return "tuned";
    case sNone:
      break;
  }
  return "none";
}

// The line is split on quotes: keep them out of the driver's texts.
std::string Quotable(std::string text) {
  for (char& c : text)
    if (c == '"') c = '\'';
  return text;
}

const char* tag = "VIVID-RESULT";

int Report(const char* error) {
  std::printf("%s error=\"%s\"\n", tag, error);
  std::fflush(stdout);
  return 1;
}

int Run(const std::string& path, double station) {
  V4l2KernelDevice device;
  RadioDevicePaths paths;
  paths.Override(1, path);
  V4l2Protocol radio(device, paths);

  CardState state;
  state.Model = mV4l2;
  state.Cap = V4l2StaticRecord();
  state.Port = 1;
  state.Stereo = true;
  radio.SwitchOn(state);

  const V4l2Probe& probe = radio.Probed();
  const V4l2Band* fm = nullptr;
  for (const V4l2Band& band : probe.Bands)
    if (!band.Am) fm = &band;
  if (fm == nullptr) return Report("the device lists no FM band");
  const double perMHz = probe.UnitsPerMHz();

  radio.Tune(state, bFM, station);
  const double readback = radio.ReadFrequency();
  const uint32_t signal = radio.SignalStrength();
  const tSignal reception = radio.GetSignal(state);

  // vivid sends a whole RDS cycle (service name three times, RadioText twice) in about five
  // seconds. Its device is readable at all times, so a short pause between reads lets blocks
  // gather instead of spinning on EAGAIN.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline &&
         (radio.Rds().ProgramService().empty() || radio.Rds().RadioText().empty())) {
    if (radio.Poll(200) < 0) return Report("poll on the device failed");
    radio.HandleRdsEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  std::printf(
      "%s card=\"%s\" fm=%.3f-%.3f range=%.3f-%.3f tuned=%.3f readback=%.3f "
      "signal=%u reception=%s pi=%04X ps=\"%s\" rt=\"%s\"\n",
      tag, Quotable(probe.Card).c_str(), fm->Low / perMHz, fm->High / perMHz, state.Cap.FMMin,
      state.Cap.FMMax, station, readback, signal, ReceptionName(reception),
      radio.Rds().HasPI() ? radio.Rds().PI() : 0, Quotable(radio.Rds().ProgramService()).c_str(),
      Quotable(radio.Rds().RadioText()).c_str());
  std::fflush(stdout);
  radio.SwitchOff(state);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int next = 1;
  if (argc > next && std::string(argv[next]) == "--unprivileged") {
    ++next;
    tag = "VIVID-UNPRIVILEGED";
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
      return Report("cannot become user 65534");
  }
  const std::string path = argc > next ? argv[next] : "/dev/radio0";
  // vivid places a station every 1 MHz of its FM band.
  const double station = argc > next + 1 ? std::atof(argv[next + 1]) : 99.0;
  try {
    return Run(path, station);
  } catch (const ePortAlreayOpen&) {
    return Report(("cannot open " + path).c_str());
  } catch (const eDeviceLost&) {
    return Report("the device went away");
  } catch (const eDeviceBusy&) {
    return Report("the device is busy");
  } catch (const std::exception& e) {
    return Report(e.what());
  }
}
