#include "panel/CommandLine.h"

#include <optional>

#include "platform/TextConvert.h"

namespace ondivo {

namespace {

bool IsConfigureSwitch(const std::string& argument) {
  return UpperCaseAscii(argument) == "\\CONFIGURE";
}

// "N=PATH" with N in 1..8.
bool ParseComOption(const std::string& value, tCommandLine& out) {
  const auto equals = value.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 >= value.size()) return false;
  const std::string number = value.substr(0, equals);
  if (number.size() != 1 || number[0] < '1' || number[0] > '8') return false;
  out.ComPaths[number[0] - '0'] = value.substr(equals + 1);
  return true;
}

}  // namespace

tCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  tCommandLine out;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const auto value = [&](const std::string& option) -> std::optional<std::string> {
      const std::string prefix = option + "=";
      if (a.rfind(prefix, 0) == 0) return a.substr(prefix.size());
      if (a == option && i + 1 < arguments.size()) return arguments[++i];
      if (a == option) out.Error = option + " needs a value";
      return std::nullopt;
    };
    const auto is = [&](const std::string& option) {
      return a == option || a.rfind(option + "=", 0) == 0;
    };
    if (a == "--send") {
      // The rest of the line is the command for the running copy.
      tSendRequest request =
          ParseSendCommand(std::vector<std::string>(arguments.begin() + i + 1, arguments.end()));
      out.Error = request.Error;
      out.Send = std::move(request);
      break;
    }
    if (a == "--simulate") {
      out.Simulate = true;
    } else if (a == "--configure" || IsConfigureSwitch(a)) {
      out.Configure = true;
    } else if (a == "--help" || a == "-h") {
      out.Help = true;
    } else if (a == "--version") {
      out.Version = true;
    } else if (a == "--print-title") {
      out.PrintTitle = true;
    } else if (is("--config-dir")) {
      if (auto v = value("--config-dir")) {
        if (v->empty()) out.Error = "--config-dir needs a folder";
        out.ConfigDir = *v;
      }
    } else if (is("--mixer-device")) {
      // The mixer's own helper reads the device from the arguments (ChooseMixerDevice).
      if (auto v = value("--mixer-device"); v && v->empty()) {
        out.Error = "--mixer-device needs an ALSA device name";
      }
    } else if (is("--audio-device")) {
      if (auto v = value("--audio-device")) {
        if (v->empty()) out.Error = "--audio-device needs an ALSA device name";
        out.AudioDevice = *v;
      }
    } else if (is("--com")) {
      if (auto v = value("--com"); v && !ParseComOption(*v, out)) {
        out.Error = "--com expects N=PATH with N from 1 to 8, e.g. --com 2=/dev/ttyUSB0";
      }
    } else if (is("--radio")) {
      if (auto v = value("--radio"); v && !ParseRadioOverride(*v, out.RadioPaths)) {
        out.Error = "--radio expects N=PATH with N from 1 to 8, e.g. --radio 1=/dev/radio2";
      }
    } else if (is("--sdr")) {
      if (auto v = value("--sdr"); v && !ParseSdrOverride(*v, out.Sdr)) {
        out.Error =
            "--sdr expects N=ARGS with N from 1 to 8, e.g. --sdr 1=driver=rtlsdr,serial=00000001";
      }
    } else {
      out.Error = "unknown option: " + a;
    }
    if (!out.Error.empty()) break;
  }
  return out;
}

std::string UsageText() {
  return "Usage: ondivo [options]\n"
         "A radio front panel for PC tuner cards, serial radios, kernel radio devices\n"
         "and SDR receivers.\n\n"
         "  --simulate          run on emulated hardware (no tuner needed)\n"
         "  --config-dir DIR    keep Ondivo.ini and Ondivo.db in DIR\n"
         "  --com N=PATH        use PATH as serial port COMN (N = 1..8)\n"
         "  --radio N=PATH      use PATH as radio device N (N = 1..8, default /dev/radio<N-1>)\n"
         "  --sdr N=ARGS        use the SoapySDR device ARGS as SDR receiver N (N = 1..8,\n"
         "                      default the N-th device found)\n"
         "  --mixer-device NAME the ALSA device of the sound card's mixer (default: default)\n"
         "  --audio-device NAME the ALSA device the SDR receiver plays on (default: default)\n"
         "  --configure         open the settings dialog at start (also \\CONFIGURE)\n"
         "  --print-title       print the panel's title, the folder of its help pages and tips,\n"
         "                      and each dialog's title as they appear\n"
         "  --send COMMAND      have the running copy do COMMAND and print its status:\n" +
         SendCommandsText() +
         "  --help, -h          show this text\n"
         "  --version           show the version\n"
         "\n"
         "Cards on I/O ports need the CAP_SYS_RAWIO capability, given to the program once with\n"
         "  sudo setcap cap_sys_rawio+ep /usr/bin/ondivo\n"
         "Ondivo takes the configured card's ports at start and then gives up every capability.\n"
         "Serial radios need membership of the \"dialout\" group, radio devices of the\n"
         "\"video\" group (or a session at the computer's own seat).\n";
}

}  // namespace ondivo
