#include "settings/tdSetup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/ColorGrid.h"
#include "controls/Pictures.h"
#include "panel/KeyString.h"
#include "settings/ColorPreview.h"

namespace ondivo {

namespace {

QIcon Glyph(const QString& name) {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(Picture(name, 1.0)));
  icon.addPixmap(QPixmap::fromImage(Picture(name, 2.0)));
  return icon;
}

}  // namespace

tdSetup::tdSetup(QWidget* parent, tSetupValues values, tSetupServices services)
    : QDialog(parent), values_(std::move(values)), services_(std::move(services)) {
  setWindowTitle("Settings");
  setObjectName("tdSetup");
  serialPorts_ = AvailableSerialPorts(services_.SerialPortPresent, values_.HeldSerialPort());
  if (services_.RadioDevices) radioDevices_ = services_.RadioDevices();
  if (services_.SdrDevices) sdrDevices_ = services_.SdrDevices();

  auto* pages = new QTabWidget(this);
  pages->setObjectName("Pages");
  pages->addTab(RadioCardPage(), "Radio card");
  pages->addTab(VolumePage(), "Volume control");
  pages->addTab(StartClosePage(), "Start/close");
  pages->addTab(ColorsPage(), "Colors");
  pages->addTab(ButtonsPage(), "Buttons");
  pages->addTab(KeysPage(), "Keys");

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
  help->setObjectName("btHelp");
  QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
  cancel->setObjectName("btCancel");
  ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  ok_->setObjectName("btOk");
  ok_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &tdSetup::btHelpClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border, sized by its contents

  // Radio card and volume control.
  connect(hwList_, &QListWidget::currentRowChanged, this, &tdSetup::HwListChange);
  connect(port030C_, &QRadioButton::clicked, this, [this] { PortChosen(kIoPortChoices[0].Port); });
  connect(port020C_, &QRadioButton::clicked, this, [this] { PortChosen(kIoPortChoices[1].Port); });
  connect(portSerial_, &QComboBox::currentIndexChanged, this, &tdSetup::Port_SerialChange);
  connect(portDevice_, &QComboBox::currentIndexChanged, this, &tdSetup::Port_DeviceChange);
  connect(portSdr_, &QComboBox::currentIndexChanged, this, &tdSetup::Port_SdrChange);
  connect(xCheckIfTuned_, &QCheckBox::toggled, this,
          [this](bool on) { values_.SetCheckIfTuned(on); });
  connect(xJapFM_, &QCheckBox::toggled, this, [this](bool on) {
    values_.SetJapaneseFM(on);
    ShowRadioCard();
  });
  connect(scList_, &QListWidget::currentRowChanged, this, &tdSetup::ScListClick);

  // Start/close.
  for (QCheckBox* box : startup_) connect(box, &QCheckBox::toggled, this, &tdSetup::StartupClick);
  connect(shutDown_, &QButtonGroup::idClicked, this, [this](int id) { values_.SetShutDown(id); });

  // Colors.
  digitOn_->OnChoose = [this](int index) {
    values_.SetDigitOnColor(index);
    ShowColors();
  };
  digitOff_->OnChoose = [this](int index) {
    values_.SetDigitOffColor(index);
    ShowColors();
  };
  panel_->OnChoose = [this](int index) {
    values_.SetPanelColor(index);
    ShowColors();
  };
  connect(style_, &QButtonGroup::idClicked, this, [this](int id) {
    values_.SetStyle(id);
    ShowColors();
  });
  text_->OnChoose = [this](int choice) {
    values_.SetTextColor(choice);
    ShowColors();
  };
  flags_->OnChoose = [this](int choice) {
    values_.SetFlagColor(choice);
    ShowColors();
  };
  colorTimer_ = new QTimer(this);
  colorTimer_->setInterval(1000);
  connect(colorTimer_, &QTimer::timeout, preview_, &TColorPreview::ColorTimerTimer);
  colorTimer_->start();

  // Buttons and keys.
  for (size_t r = 0; r < buttonRows_.size(); ++r) {
    const auto row = static_cast<tButtonRow>(r);
    buttonRows_[r]->OnChoose = [this, row](int choice) { ButtonChoose(row, choice); };
  }
  for (size_t position = 1; position < keys_.size(); ++position) {
    if (!keys_[position]) continue;
    connect(keys_[position], &QComboBox::currentIndexChanged, this,
            [this, position](int index) { CmdChange(position, index); });
  }

  ShowRadioCard();
  ShowVolume();
  {
    for (size_t i = 0; i < startup_.size(); ++i) {
      const QSignalBlocker blocker(startup_[i]);
      const tStartupSwitches& s = values_.Startup();
      const bool on[] = {s.LastStation, s.StartMinimized, s.TipOfTheDay,
                         s.LaunchAlarm, s.StartMuted,     s.ForceStereoOff};
      startup_[i]->setChecked(on[i]);
    }
    if (QAbstractButton* b = shutDown_->button(values_.ShutDown())) b->setChecked(true);
    const QSignalBlocker blocker(xCheckIfTuned_);
    xCheckIfTuned_->setChecked(values_.CheckIfTuned());
  }
  ShowColors();
  preview_->ColorTimerTimer();  // the on phase first
  ShowButtons();
  ShowKeys();
}

tdSetup::~tdSetup() = default;

std::optional<tSetupValues> tdSetup::Run(QWidget* parent, tSetupValues values,
                                         const tSetupServices& services,
                                         [[maybe_unused]] Prompter& prompter) {
  tdSetup dialog(parent, std::move(values), services);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Values();
}

// --- Radio card and volume control ---------------------------------------------------------

void tdSetup::HwListChange(int row) {
  if (row < 0 || row >= kModelCount) return;
  values_.SetModel(static_cast<tModel>(row));
  ShowRadioCard();
  ShowVolume();
}

void tdSetup::PortChosen(int32_t port) {
  values_.SetPort(port);
  ShowRadioCard();
}

void tdSetup::Port_SerialChange(int index) {
  if (index < 0) return;
  values_.SetPort(SerialPortFromEntry(portSerial_->itemText(index).toStdString()));
}

void tdSetup::Port_DeviceChange(int index) {
  if (index >= 0) values_.SetPort(portDevice_->itemData(index).toInt());
}

void tdSetup::Port_SdrChange(int index) {
  if (index >= 0) values_.SetPort(portSdr_->itemData(index).toInt());
}

void tdSetup::ScListClick(int row) {
  const std::vector<tVolumeLine> routes = values_.OfferedRoutes();
  if (row >= 0 && static_cast<size_t>(row) < routes.size())
    values_.SetVolumeLine(routes[static_cast<size_t>(row)]);
}

void tdSetup::ShowRadioCard() {
  {
    const QSignalBlocker blocker(hwList_);
    hwList_->setCurrentRow(static_cast<int>(values_.Model()));
  }
  {
    const QSignalBlocker blocker(xJapFM_);
    xJapFM_->setEnabled(values_.JapaneseFMAvailable());
    xJapFM_->setChecked(values_.JapaneseFM());
  }
  installed_->setVisible(values_.IsInstalledModel());
  bool okEnabled = true;
  if (values_.IsSdrModel()) {
    portGroups_->setCurrentWidget(sdrDevices_.empty() ? gNoSdr_ : gPortSdr_);
    const QSignalBlocker blocker(portSdr_);
    portSdr_->setCurrentIndex(portSdr_->findData(values_.Port()));
  } else if (values_.IsDeviceModel()) {
    portGroups_->setCurrentWidget(radioDevices_.empty() ? gNoDevices_ : gPortDevice_);
    const QSignalBlocker blocker(portDevice_);
    portDevice_->setCurrentIndex(portDevice_->findData(values_.Port()));
  } else if (values_.IsSerialModel()) {
    portGroups_->setCurrentWidget(serialPorts_.empty() ? gNoSerials_ : gPortSerial_);
    const QSignalBlocker blocker(portSerial_);
    portSerial_->setCurrentIndex(
        portSerial_->findText(QString::fromStdString(SerialPortEntry(values_.Port()))));
  } else {
    const bool granted = !services_.PortAccessGranted ||
                         services_.PortAccessGranted(values_.Model(), values_.Port());
    portGroups_->setCurrentWidget(granted ? gPortIo_ : gWinNT_);
    port030C_->setChecked(values_.Port() == kIoPortChoices[0].Port);
    port020C_->setChecked(values_.Port() == kIoPortChoices[1].Port);
    okEnabled = granted;
  }
  ok_->setEnabled(okEnabled);
}

void tdSetup::ShowVolume() {
  const QSignalBlocker blocker(scList_);
  scList_->clear();
  const std::vector<tVolumeLine> routes = values_.OfferedRoutes();
  for (size_t i = 0; i < routes.size(); ++i) {
    const std::string_view caption = RouteCaption(routes[i]);
    scList_->addItem(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    if (routes[i] == values_.VolumeLine()) scList_->setCurrentRow(static_cast<int>(i));
  }
  capability_->setText(QString::fromStdString(values_.CapabilityText()).replace('\r', '\n'));
}

// --- Start/close and colours ---------------------------------------------------------------

void tdSetup::StartupClick() {
  tStartupSwitches s;
  s.LastStation = startup_[0]->isChecked();
  s.StartMinimized = startup_[1]->isChecked();
  s.TipOfTheDay = startup_[2]->isChecked();
  s.LaunchAlarm = startup_[3]->isChecked();
  s.StartMuted = startup_[4]->isChecked();
  s.ForceStereoOff = startup_[5]->isChecked();
  values_.SetStartup(s);
}

void tdSetup::ShowColors() {
  digitOn_->SetChoice(values_.DigitOnColor());
  digitOff_->SetChoice(values_.DigitOffColor());
  panel_->SetChoice(values_.PanelColor());
  {
    const QSignalBlocker blocker(style_);
    if (QAbstractButton* b = style_->button(values_.Style())) b->setChecked(true);
  }
  text_->SetChoice(values_.TextColor());
  flags_->SetChoice(values_.FlagColor());
  preview_->SetDigitColors(values_.DigitOffColor(), values_.DigitOnColor(), values_.PanelColor());
  preview_->SetStyle(values_.Style());
  preview_->SetTextColor(values_.TextColor());
  preview_->SetFlagColor(values_.FlagColor());
}

// --- Buttons and keys ----------------------------------------------------------------------

void tdSetup::ButtonChoose(tButtonRow row, int choice) {
  values_.SetButtonColor(row, choice);
  ShowButtons();
}

void tdSetup::ShowButtons() {
  for (size_t r = 0; r < buttonRows_.size(); ++r) {
    const auto row = static_cast<tButtonRow>(r);
    const int choice = values_.ButtonColor(row);
    buttonRows_[r]->SetChoice(choice);
    for (int c = 0; c < 8; ++c)
      buttonRows_[r]->SetChoiceEnabled(c, values_.ButtonChoiceEnabled(row, c));
    activePreview_[r]->setIcon(Glyph(QStringLiteral("BT%1ON").arg(choice)));
    inactivePreview_[r]->setIcon(Glyph(QStringLiteral("BT%1OFF").arg(choice)));
  }
}

void tdSetup::CmdChange(size_t position, int index) {
  const std::string_view alphabet = KeyAlphabet();
  if (index >= 0 && static_cast<size_t>(index) < alphabet.size())
    values_.SetKey(position, alphabet[static_cast<size_t>(index)]);
  ShowKeys();  // a refused key falls back to the previous one
}

void tdSetup::ShowKeys() {
  const std::string_view alphabet = KeyAlphabet();
  for (size_t position = 1; position < keys_.size(); ++position) {
    if (!keys_[position]) continue;
    const QSignalBlocker blocker(keys_[position]);
    const size_t found = alphabet.find(values_.Key(position));
    keys_[position]->setCurrentIndex(found == std::string_view::npos ? -1
                                                                     : static_cast<int>(found));
  }
}

void tdSetup::btDefaultClick() {
  values_.ResetKeys();
  ShowKeys();
}

void tdSetup::btHelpClick() {
  if (services_.Help) services_.Help("Tuning_the_configuration");
}

}  // namespace ondivo
