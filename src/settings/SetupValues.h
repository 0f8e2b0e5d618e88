#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "radio/RadioTypes.h"

namespace ondivo {

class CardMixer;
class TRadioCard;
struct tConfiguration;

// What the settings rules need to know about this computer and the card component.
struct tSetupMachine {
  std::array<tDevCap, kModelCount> DevCaps;  // the card's capability records, in tModel order
  bool SoundCard = false;
  const CardMixer* Mixer = nullptr;  // the sound card's mixer; must outlive the values
  std::optional<tModel> CardModel;   // the model the card has now; none before the first setup
  int32_t CardPort = 0;
  std::optional<int32_t> HeldSerialPort;  // COMn the card holds open now
};

// The start-up switches of the "Start/close" page.
struct tStartupSwitches {
  bool LastStation = true;
  bool StartMinimized = false;
  bool TipOfTheDay = false;
  bool LaunchAlarm = false;
  bool StartMuted = false;
  bool ForceStereoOff = false;
  bool operator==(const tStartupSwitches&) const = default;
};

// The four rows of the "Buttons" page.
enum class tButtonRow : uint8_t { brGeneric = 0, brPresetFM = 1, brPresetAM = 2, brPresetFree = 3 };
using enum tButtonRow;

// What the setup dialog remembers per model while it is open.
struct tModelMemory {
  int32_t Port = 0;
  tVolumeLine VolumeLine = vlNone;
  bool JapaneseFM = false;
  bool operator==(const tModelMemory&) const = default;
};

// The two choices of an I/O-port card.
struct tIoPortChoice {
  std::string_view Caption;
  int32_t Port;
};
inline constexpr std::array<tIoPortChoice, 2> kIoPortChoices = {{
    {"30Ch (default)", 1},
    {"20Ch (alternate)", 2},
}};

// The setup dialog's working copy of the panel's settings, with every rule the dialog keeps.
// Setters refuse what the rules forbid and return false; nothing here reaches the card.
class tSetupValues {
 public:
  tSetupValues(const tConfiguration& settings, tSetupMachine machine);

  // The working copy of the panel's settings and the card it drives; `mixer` is the sound
  // card's mixer the card routes to (nullptr without one).
  static tSetupValues FromPanel(const tConfiguration& settings, const TRadioCard& card,
                                const CardMixer* mixer);

  // The one way the dialog's result reaches the running configuration: Hardware, Port,
  // VolumeLine, JapaneseFM, CheckIfTuned, the start-up switches, ShutDown, every colour, Style
  // and KeyboardCommands. Nothing else is touched, so settings the dialog does not own survive.
  void StoreInto(tConfiguration& settings) const;

  // "Radio card" page.
  std::vector<std::string> ModelList() const;  // maker, a blank, name; position = model
  tModel Model() const { return model_; }
  // Restores the model's port, volume line and Japanese FM chosen earlier in this dialog.
  void SetModel(tModel model);
  const tDevCap& Cap() const { return Cap(model_); }
  const tDevCap& Cap(tModel model) const;
  bool IsSerialModel() const { return Cap().Connection == kSerialConnection; }
  bool IsDeviceModel() const { return Cap().Connection == kDeviceConnection; }
  bool IsSdrModel() const { return Cap().Connection == kSdrConnection; }
  bool IsInstalledModel() const { return machine_.CardModel == model_; }
  std::optional<int32_t> HeldSerialPort() const { return machine_.HeldSerialPort; }
  int32_t Port() const { return Memory().Port; }
  bool SetPort(int32_t port);
  bool JapaneseFM() const { return Memory().JapaneseFM; }
  bool JapaneseFMAvailable() const { return Cap().HasJapaneseFM; }
  bool SetJapaneseFM(bool on);
  bool CheckIfTuned() const { return checkIfTuned_; }
  void SetCheckIfTuned(bool on) { checkIfTuned_ = on; }
  const tModelMemory& MemoryOf(tModel model) const;

  // "Volume control" page.
  std::vector<tVolumeLine> OfferedRoutes() const;
  tVolumeLine VolumeLine() const { return Memory().VolumeLine; }
  bool SetVolumeLine(tVolumeLine line);
  std::string CapabilityText() const;  // lines joined by CR
  bool SoundCard() const { return machine_.SoundCard; }

  // "Start/close" page.
  const tStartupSwitches& Startup() const { return startup_; }
  void SetStartup(const tStartupSwitches& startup) { startup_ = startup; }
  uint8_t ShutDown() const { return shutDown_; }  // 0 mute, 1 leave, 2 ask
  bool SetShutDown(int value);

  // "Colors" page: palette indices 0..15, style 0..3, choices 0..7.
  uint8_t DigitOffColor() const { return background_; }
  uint8_t DigitOnColor() const { return foreground_; }
  uint8_t PanelColor() const { return colorPanel_; }
  int32_t Style() const { return style_; }
  uint8_t TextColor() const { return colorText_; }
  uint8_t FlagColor() const { return colorFlag_; }
  bool SetDigitOffColor(int index);
  bool SetDigitOnColor(int index);
  bool SetPanelColor(int index);
  bool SetStyle(int style);
  bool SetTextColor(int choice);
  bool SetFlagColor(int choice);

  // "Buttons" page. The three preset rows never share a choice.
  uint8_t ButtonColor(tButtonRow row) const { return buttons_[static_cast<size_t>(row)]; }
  bool ButtonChoiceEnabled(tButtonRow row, int choice) const;
  bool SetButtonColor(tButtonRow row, int choice);

  // "Keys" page: one key per position 1..37, no character twice.
  const std::string& KeyString() const { return keys_; }
  char Key(size_t position) const { return keys_[position - 1]; }
  bool SetKey(size_t position, char key);
  void ResetKeys();

 private:
  tModelMemory& Memory() { return memory_[static_cast<size_t>(model_)]; }
  const tModelMemory& Memory() const { return memory_[static_cast<size_t>(model_)]; }
  void MatchRoute();

  tSetupMachine machine_;
  tModel model_ = mRadioTrack;
  std::array<tModelMemory, kModelCount> memory_{};
  bool checkIfTuned_ = false;
  tStartupSwitches startup_;
  uint8_t shutDown_ = 2;
  uint8_t background_ = 2;
  uint8_t foreground_ = 10;
  uint8_t colorPanel_ = 0;
  int32_t style_ = 2;
  uint8_t colorText_ = 7;
  uint8_t colorFlag_ = 5;
  std::array<uint8_t, 4> buttons_{4, 2, 0, 4};
  std::string keys_;
};

// The serial ports the dialog offers: COM1..COM8 that can be opened, and the one the current
// serial card holds open (it cannot be opened a second time, but it is there).
std::vector<int32_t> AvailableSerialPorts(const std::function<bool(int32_t)>& present,
                                          std::optional<int32_t> heldPort);

// "Com" + n, and back: the number after the first three characters (0 when there is none).
std::string SerialPortEntry(int32_t port);
int32_t SerialPortFromEntry(std::string_view entry);

// The caption of a route in the "Volume control" list.
std::string_view RouteCaption(tVolumeLine line);

}  // namespace ondivo
