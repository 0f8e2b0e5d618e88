#include "settings/SetupValues.h"

#include <algorithm>

#include "panel/ConfigurationKeys.h"
#include "panel/KeyString.h"
#include "radio/CardMixer.h"
#include "radio/PlatformCheck.h"
#include "radio/RadioCard.h"

namespace ondivo {

namespace {

constexpr tVolumeLine kMixerLines[] = {vlLineIn, vlMicIn, vlCd};

bool CanControlOnCard(const tDevCap& cap) {
  return cap.CanVolume || cap.CanMute;
}

// A kernel radio device plays through its own sound path (a USB radio is a sound card of its
// own), not into the line in: its route stays "Radio card" even when it has no volume control.
bool KeepsCardRoute(const tDevCap& cap) {
  return CanControlOnCard(cap) || cap.Connection == kDeviceConnection;
}

tModelMemory DefaultMemory(const tDevCap& cap) {
  return {cap.DefaultPort, cap.Connection == kSerialConnection ? vlLineIn : vlNative, false};
}

}  // namespace

tSetupValues::tSetupValues(const tConfiguration& settings, tSetupMachine machine)
    : machine_(std::move(machine)),
      model_(ModelFromHardwareIndex(settings.Hardware)),
      checkIfTuned_(settings.CheckIfTuned),
      startup_{settings.LastStation, settings.StartMinimized, settings.TipOfTheDay,
               settings.LaunchAlarm, settings.StartMuted,     settings.ForceStereoOff},
      shutDown_(settings.ShutDown),
      background_(settings.Background),
      foreground_(settings.Foreground),
      colorPanel_(settings.ColorPanel),
      style_(settings.Style),
      colorText_(settings.ColorText),
      colorFlag_(settings.ColorFlag),
      buttons_{settings.ColorGenericButton, settings.ColorFavAssButtonFM,
               settings.ColorFavAssButtonAM, settings.ColorFavNotAssButton},
      keys_(KeyStringOrDefault(settings.KeyboardCommands)) {
  for (size_t m = 0; m < memory_.size(); ++m) memory_[m] = DefaultMemory(machine_.DevCaps[m]);
  // The current model starts from what the panel has. Japanese FM comes along too: without it
  // OK would turn the Japanese band off for everyone who has it on.
  const tDevCap& cap = Cap();
  tModelMemory& current = Memory();
  if (settings.Port >= 1 && settings.Port <= cap.PortCount) current.Port = settings.Port;
  current.VolumeLine = settings.VolumeLine;
  current.JapaneseFM = settings.JapaneseFM && cap.HasJapaneseFM;
  MatchRoute();
}

tSetupValues tSetupValues::FromPanel(const tConfiguration& settings, const TRadioCard& card,
                                     const CardMixer* mixer) {
  tSetupMachine machine;
  for (int m = 0; m < kModelCount; ++m)
    machine.DevCaps[static_cast<size_t>(m)] = card.GetDevCap(static_cast<tModel>(m));
  machine.SoundCard = card.SoundCard();
  machine.Mixer = card.SoundCard() ? mixer : nullptr;
  if (settings.Hardware != 0) machine.CardModel = card.Model();
  machine.CardPort = card.Port();
  if (card.SerialConnected()) machine.HeldSerialPort = card.Port();
  return tSetupValues(settings, std::move(machine));
}

void tSetupValues::StoreInto(tConfiguration& settings) const {
  settings.Hardware = HardwareIndexFromModel(model_);
  settings.Port = static_cast<uint8_t>(Port());
  settings.VolumeLine = VolumeLine();
  settings.JapaneseFM = JapaneseFM();
  settings.CheckIfTuned = checkIfTuned_;
  settings.LastStation = startup_.LastStation;
  settings.StartMinimized = startup_.StartMinimized;
  settings.TipOfTheDay = startup_.TipOfTheDay;
  settings.LaunchAlarm = startup_.LaunchAlarm;
  settings.StartMuted = startup_.StartMuted;
  settings.ForceStereoOff = startup_.ForceStereoOff;
  settings.ShutDown = shutDown_;
  settings.Background = background_;
  settings.Foreground = foreground_;
  settings.ColorPanel = colorPanel_;
  settings.Style = style_;
  settings.ColorText = colorText_;
  settings.ColorFlag = colorFlag_;
  settings.ColorGenericButton = buttons_[0];
  settings.ColorFavAssButtonFM = buttons_[1];
  settings.ColorFavAssButtonAM = buttons_[2];
  settings.ColorFavNotAssButton = buttons_[3];
  settings.KeyboardCommands = keys_;
}

// --- Radio card ----------------------------------------------------------------------------

std::vector<std::string> tSetupValues::ModelList() const {
  std::vector<std::string> list;
  for (const tDevCap& cap : machine_.DevCaps) list.push_back(cap.Maker + " " + cap.Name);
  return list;
}

const tDevCap& tSetupValues::Cap(tModel model) const {
  return machine_.DevCaps[static_cast<size_t>(model)];
}

const tModelMemory& tSetupValues::MemoryOf(tModel model) const {
  return memory_[static_cast<size_t>(model)];
}

void tSetupValues::SetModel(tModel model) {
  if (static_cast<size_t>(model) >= memory_.size()) return;
  model_ = model;
  if (!Cap().HasJapaneseFM) Memory().JapaneseFM = false;
  MatchRoute();
}

bool tSetupValues::SetPort(int32_t port) {
  if (port < 1 || port > Cap().PortCount) return false;
  Memory().Port = port;
  return true;
}

bool tSetupValues::SetJapaneseFM(bool on) {
  if (on && !Cap().HasJapaneseFM) return false;
  Memory().JapaneseFM = on;
  return true;
}

// --- Volume control ------------------------------------------------------------------------

std::vector<tVolumeLine> tSetupValues::OfferedRoutes() const {
  std::vector<tVolumeLine> routes;
  if (KeepsCardRoute(Cap())) routes.push_back(vlNative);
  if (machine_.SoundCard && machine_.Mixer) {
    for (const tVolumeLine line : kMixerLines)
      if (machine_.Mixer->LineAvailable(line)) routes.push_back(line);
  }
  return routes;
}

void tSetupValues::MatchRoute() {
  tVolumeLine route = Memory().VolumeLine;
  const bool onCard = KeepsCardRoute(Cap());
  if (machine_.SoundCard && route == vlNative && !onCard) route = vlLineIn;
  if (!machine_.SoundCard && IsMixerLine(route)) route = onCard ? vlNative : vlNone;
  const std::vector<tVolumeLine> offered = OfferedRoutes();
  if (std::find(offered.begin(), offered.end(), route) == offered.end())
    route = offered.empty() ? vlNone : offered.front();
  Memory().VolumeLine = route;
}

bool tSetupValues::SetVolumeLine(tVolumeLine line) {
  const std::vector<tVolumeLine> offered = OfferedRoutes();
  if (std::find(offered.begin(), offered.end(), line) == offered.end()) return false;
  Memory().VolumeLine = line;
  return true;
}

std::string tSetupValues::CapabilityText() const {
  std::string text = ondivo::CapabilityText(Cap().CanVolume, Cap().CanMute, machine_.SoundCard);
  if (IsDeviceModel() && !Cap().CanVolume) text += "\rThis radio device has no volume control.";
  return text;
}

// --- Start/close and colours ---------------------------------------------------------------

bool tSetupValues::SetShutDown(int value) {
  if (value < 0 || value > 2) return false;
  shutDown_ = static_cast<uint8_t>(value);
  return true;
}

namespace {
bool SetInRange(uint8_t& field, int value, int last) {
  if (value < 0 || value > last) return false;
  field = static_cast<uint8_t>(value);
  return true;
}
}  // namespace

bool tSetupValues::SetDigitOffColor(int index) {
  return SetInRange(background_, index, 15);
}
bool tSetupValues::SetDigitOnColor(int index) {
  return SetInRange(foreground_, index, 15);
}
bool tSetupValues::SetPanelColor(int index) {
  return SetInRange(colorPanel_, index, 15);
}
bool tSetupValues::SetStyle(int style) {
  if (style < 0 || style > 3) return false;
  style_ = style;
  return true;
}
bool tSetupValues::SetTextColor(int choice) {
  return SetInRange(colorText_, choice, 7);
}
bool tSetupValues::SetFlagColor(int choice) {
  return SetInRange(colorFlag_, choice, 7);
}

// --- Buttons -------------------------------------------------------------------------------

bool tSetupValues::ButtonChoiceEnabled(tButtonRow row, int choice) const {
  if (choice < 0 || choice > 7) return false;
  if (row == brGeneric) return true;
  for (const tButtonRow other : {brPresetFM, brPresetAM, brPresetFree})
    if (other != row && ButtonColor(other) == choice) return false;
  return true;
}

bool tSetupValues::SetButtonColor(tButtonRow row, int choice) {
  if (static_cast<size_t>(row) >= buttons_.size() || !ButtonChoiceEnabled(row, choice))
    return false;
  buttons_[static_cast<size_t>(row)] = static_cast<uint8_t>(choice);
  return true;
}

// --- Keys ----------------------------------------------------------------------------------

bool tSetupValues::SetKey(size_t position, char key) {
  if (position < 1 || position > kKeyStringLength || position == kReservedKeyPosition) return false;
  if (KeyAlphabet().find(key) == std::string_view::npos) return false;
  const size_t holder = keys_.find(key);
  if (holder != std::string::npos && holder != position - 1) return false;
  keys_[position - 1] = key;
  return true;
}

void tSetupValues::ResetKeys() {
  keys_ = DefaultKeyString();
}

// --- Lists ---------------------------------------------------------------------------------

std::vector<int32_t> AvailableSerialPorts(const std::function<bool(int32_t)>& present,
                                          std::optional<int32_t> heldPort) {
  std::vector<int32_t> ports;
  for (int32_t n = 1; n <= 8; ++n)
    if (heldPort == n || (present && present(n))) ports.push_back(n);
  return ports;
}

std::string SerialPortEntry(int32_t port) {
  return "Com" + std::to_string(port);
}

int32_t SerialPortFromEntry(std::string_view entry) {
  if (entry.size() <= 3) return 0;
  int32_t port = 0;
  for (const char c : entry.substr(3)) {
    if (c < '0' || c > '9' || port > 1000) return 0;
    port = port * 10 + (c - '0');
  }
  return port;
}

std::string_view RouteCaption(tVolumeLine line) {
  switch (line) {
    case vlNative:
      return "Radio card";
    case vlLineIn:
      return "Line In";
    case vlMicIn:
      return "Microphone";
    case vlCd:
      return "Compact disk";
    default:
      return "";
  }
}

}  // namespace ondivo
