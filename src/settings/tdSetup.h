#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "radio/RadioDevicePaths.h"
#include "sdr/SdrDevices.h"
#include "settings/SetupValues.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace ondivo {

class Prompter;
class TChoiceRow;
class TColorGrid;
class TColorPreview;

// What the settings dialog asks of the machine, so it never touches hardware itself.
struct tSetupServices {
  // COMn can be opened now (IsSerialPortPresent with the card's COM paths).
  std::function<bool(int32_t n)> SerialPortPresent;
  // Direct port access can be granted for this model at this port index; an empty function
  // means it always can (emulated hardware).
  std::function<bool(tModel model, int32_t port)> PortAccessGranted;
  // The kernel radio devices present (ListRadioDevices with the card's device paths); none
  // when empty.
  std::function<std::vector<RadioDeviceEntry>()> RadioDevices;
  // The SDR receivers found (ListSdrDevices with the card's devices); none when empty.
  std::function<std::vector<SdrPortEntry>()> SdrDevices;
  // Opens the help at a topic.
  std::function<void(const std::string& topic)> Help;
};

// "Settings": the tuner card and its port, the volume route, start-up and shutdown, colours,
// button colours and keys. It edits a copy and hands it back only on OK.
class tdSetup : public QDialog {
 public:
  tdSetup(QWidget* parent, tSetupValues values, tSetupServices services);
  ~tdSetup() override;

  // Shows the dialog modally; the edited values on OK, nothing on Cancel.
  static std::optional<tSetupValues> Run(QWidget* parent, tSetupValues values,
                                         const tSetupServices& services, Prompter& prompter);

  const tSetupValues& Values() const { return values_; }
  TColorPreview* Preview() const { return preview_; }

 private:
  // Page builders.
  QWidget* RadioCardPage();
  QWidget* VolumePage();
  QWidget* StartClosePage();
  QWidget* ColorsPage();
  QWidget* ButtonsPage();
  QWidget* KeysPage();

  // Handlers.
  void HwListChange(int row);
  void PortChosen(int32_t port);  // PrimaryAddr, AlternateAddr
  void Port_SerialChange(int index);
  void Port_DeviceChange(int index);
  void Port_SdrChange(int index);
  void ScListClick(int row);
  void StartupClick();
  void ButtonChoose(tButtonRow row, int choice);
  void CmdChange(size_t position, int index);
  void btDefaultClick();
  void btHelpClick();

  // Show the values on the pages; the program's own settings are made under signal blockers.
  void ShowRadioCard();
  void ShowVolume();
  void ShowColors();
  void ShowButtons();
  void ShowKeys();

  tSetupValues values_;
  tSetupServices services_;
  std::vector<int32_t> serialPorts_;
  std::vector<RadioDeviceEntry> radioDevices_;
  std::vector<SdrPortEntry> sdrDevices_;

  QPushButton* ok_ = nullptr;
  // Radio card.
  QListWidget* hwList_ = nullptr;
  QStackedWidget* portGroups_ = nullptr;
  QGroupBox* gPortSerial_ = nullptr;
  QGroupBox* gNoSerials_ = nullptr;
  QGroupBox* gPortIo_ = nullptr;
  QGroupBox* gWinNT_ = nullptr;
  QComboBox* portSerial_ = nullptr;
  QGroupBox* gPortDevice_ = nullptr;
  QGroupBox* gNoDevices_ = nullptr;
  QComboBox* portDevice_ = nullptr;
  QGroupBox* gPortSdr_ = nullptr;
  QGroupBox* gNoSdr_ = nullptr;
  QComboBox* portSdr_ = nullptr;
  QRadioButton* port030C_ = nullptr;
  QRadioButton* port020C_ = nullptr;
  QLabel* installed_ = nullptr;
  QCheckBox* xJapFM_ = nullptr;
  QCheckBox* xCheckIfTuned_ = nullptr;
  // Volume control.
  QListWidget* scList_ = nullptr;
  QLabel* capability_ = nullptr;
  // Start/close.
  std::array<QCheckBox*, 6> startup_{};
  QButtonGroup* shutDown_ = nullptr;
  // Colors.
  TColorPreview* preview_ = nullptr;
  TColorGrid* digitOn_ = nullptr;
  TColorGrid* digitOff_ = nullptr;
  TColorGrid* panel_ = nullptr;
  QButtonGroup* style_ = nullptr;
  TChoiceRow* text_ = nullptr;
  TChoiceRow* flags_ = nullptr;
  QTimer* colorTimer_ = nullptr;
  // Buttons.
  std::array<TChoiceRow*, 4> buttonRows_{};
  std::array<QToolButton*, 4> activePreview_{};
  std::array<QToolButton*, 4> inactivePreview_{};
  // Keys, by position 1..37 (none at the reserved position).
  std::array<QComboBox*, 38> keys_{};
};

}  // namespace ondivo
