#include "remote/RemoteCommand.h"

#include <charconv>

#include "platform/AsciiText.h"
#include "platform/LocaleFormat.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

namespace {

// A whole number or a decimal with a point, whatever the user's locale: scripts pass these.
std::optional<double> Number(const std::string& word) {
  double value = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<int32_t> Whole(const std::string& word) {
  int32_t value = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

tSendRequest Wrong(std::string error) {
  return {std::nullopt, std::move(error)};
}

tSendRequest Calls(std::string method, std::vector<tRemoteArgument> arguments = {}) {
  return {tRemoteCall{std::move(method), std::move(arguments)}, {}};
}

// "tune [fm|am] FREQUENCY": FM in MHz and AM in kHz, as the panel shows them.
tSendRequest Tune(const std::vector<std::string>& words) {
  std::optional<tBand> band = bFM;
  if (words.size() == 3) band = BandFromName(words[1]);
  const std::optional<double> frequency = words.size() >= 2 ? Number(words.back()) : std::nullopt;
  if (words.size() < 2 || words.size() > 3 || !band || !frequency || !(*frequency > 0)) {
    return Wrong("tune expects [fm|am] FREQUENCY, e.g. tune 98.5 or tune am 531");
  }
  const double mhz = *band == bAM ? *frequency / 1000.0 : *frequency;
  return Calls("Tune", {BandName(*band), mhz});
}

}  // namespace

std::string BandName(tBand band) {
  return band == bAM ? "AM" : "FM";
}

std::optional<tBand> BandFromName(const std::string& name) {
  const std::string upper = UpperCaseAscii(name);
  if (upper == "FM") return bFM;
  if (upper == "AM") return bAM;
  return std::nullopt;
}

tSendRequest ParseSendCommand(const std::vector<std::string>& words) {
  if (words.empty()) return Wrong("--send needs a command");
  const std::string& command = words[0];
  const size_t extra = words.size() - 1;
  if (command == "tune") return Tune(words);
  if (command == "preset") {
    const auto n = extra == 1 ? Whole(words[1]) : std::nullopt;
    if (!n) return Wrong("preset expects a preset number from 1 to 100");
    return Calls("RecallPreset", {*n});
  }
  if (command == "scan") {
    if (extra != 1 || (words[1] != "up" && words[1] != "down")) {
      return Wrong("scan expects up or down");
    }
    return Calls("Scan", {words[1]});
  }
  if (command == "volume") {
    const auto percent = extra == 1 ? Whole(words[1]) : std::nullopt;
    if (!percent || *percent < 0 || *percent > 100) {
      return Wrong("volume expects a percentage from 0 to 100");
    }
    return Calls("SetVolume", {*percent});
  }
  struct tPlain {
    const char* Word;
    const char* Method;
    std::optional<bool> Argument;
  };
  static const tPlain kPlain[] = {{"stop", "StopScan", {}},
                                  {"mute", "Mute", true},
                                  {"unmute", "Mute", false},
                                  {"show", "Show", {}},
                                  {"hide", "Hide", {}}};
  for (const tPlain& plain : kPlain) {
    if (command != plain.Word) continue;
    if (extra != 0) return Wrong(command + " takes no arguments");
    if (plain.Argument) return Calls(plain.Method, {*plain.Argument});
    return Calls(plain.Method);
  }
  if (command == "status" && extra == 0) return {};
  return Wrong("unknown command for --send: " + command);
}

std::string SendCommandsText() {
  return "    tune [fm|am] FREQ   tune (FM in MHz, AM in kHz)\n"
         "    preset N            recall preset N\n"
         "    scan up|down        scan for the next station\n"
         "    stop                stop the scan\n"
         "    volume PERCENT      set the volume\n"
         "    mute, unmute        sound off or on\n"
         "    show, hide          show the panel or hide it\n"
         "    status              print band, frequency, station and signal\n";
}

std::string FormatRemoteStatus(const tRemoteStatus& status) {
  const tBand band = BandFromName(status.Band).value_or(bFM);
  std::string text = "band: " + status.Band + "\n";
  text += "frequency: " + FormatFrequencyShort(band, status.Frequency, LocaleFormat{}) + "\n";
  text += "station: " + status.Station + "\n";
  text += "signal: " + status.Signal + "\n";
  text += "preset: " + (status.Preset > 0 ? std::to_string(status.Preset) : std::string("none"));
  text += "\nvolume: " + std::to_string(status.Volume) + "%" + (status.Muted ? " (muted)" : "");
  return text + "\n";
}

int NeighbourPreset(const PresetsBank& bank, int current, int step) {
  const int count = PresetsBank::kPresetCount;
  const int direction = step > 0 ? 1 : -1;
  // Without a current preset, "next" starts before the first and "previous" after the last.
  int n = PresetsBank::IsPresetNumber(current) ? current : (direction > 0 ? 0 : count + 1);
  for (int tried = 0; tried < count; ++tried) {
    n += direction;
    if (n > count) n = 1;
    if (n < 1) n = count;
    if (bank.Preset(n).Assigned) return n;
  }
  return 0;
}

}  // namespace ondivo
