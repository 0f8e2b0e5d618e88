// The six pages of the settings dialog: what a form designer would make, with Qt layouts.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/ColorGrid.h"
#include "panel/KeyCommands.h"
#include "panel/KeyString.h"
#include "panel/PanelCommand.h"
#include "settings/ColorPreview.h"
#include "settings/tdSetup.h"

namespace ondivo {

namespace {

const char* const kNoSerialsText =
    "In your computer seems that no serial port is free. Connect the radio to a serial port "
    "and close any program that uses it. Your user also needs the right to open the port "
    "(usually membership of the \"dialout\" group).";

const char* const kNoDevicesText =
    "No radio device was found. Connect the receiver (a USB radio stick or a tuner card with a "
    "radio) and open Settings again. Your user also needs the right to open it (usually "
    "membership of the \"video\" group, or a session at the computer's own seat).";

const char* const kNoSdrText =
    "No SDR receiver was found. Connect the receiver (an RTL-SDR stick or another device with a "
    "SoapySDR module installed) and open Settings again. Your user also needs the right to open "
    "it (usually membership of the \"plugdev\" group).";

const char* const kNoPortAccessText =
    "The operating system installed in this computer does not let Ondivo reach these I/O "
    "ports. Ondivo takes the configured card's ports at start (with \"sudo setcap "
    "cap_sys_rawio+ep /usr/bin/ondivo\" done once) and no others later: start it with "
    "--configure to use this card here, or try --simulate.";

QGroupBox* Group(const QString& title, const char* name, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(name);
  return group;
}

QGroupBox* WarningGroup(const char* name, const char* text, QWidget* parent) {
  QGroupBox* group = Group("Warning", name, parent);
  auto* label = new QLabel(QString::fromUtf8(text), group);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(192, 0, 0));
  label->setPalette(palette);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(label);
  layout->addStretch(1);
  return group;
}

// A list as tall as its rows, so a page does not show a tall empty list.
void FitRows(QListWidget* list, int rows) {
  list->setFixedHeight(list->sizeHintForRow(0) * rows + 2 * list->frameWidth() + 4);
}

QWidget* Page(QWidget* parent) {
  auto* page = new QWidget(parent);
  return page;
}

QToolButton* PreviewButton(const QString& text, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setIconSize({16, 8});
  button->setFocusPolicy(Qt::NoFocus);
  button->setMinimumWidth(96);
  return button;
}

}  // namespace

QWidget* tdSetup::RadioCardPage() {
  QWidget* page = Page(this);
  QGroupBox* card = Group("Radio card", "gRadioCard", page);

  auto* hwLabel = new QLabel("Supported hardware", card);
  hwList_ = new QListWidget(card);
  hwList_->setObjectName("HwList");
  for (const std::string& entry : values_.ModelList())
    hwList_->addItem(QString::fromStdString(entry));
  hwLabel->setBuddy(hwList_);
  hwList_->setMinimumWidth(hwList_->sizeHintForColumn(0) + 24);
  FitRows(hwList_, kModelCount);

  gPortSerial_ = Group("Connected to", "gPort_Serial", card);
  auto* serialLabel = new QLabel("Avalaible comms port", gPortSerial_);
  portSerial_ = new QComboBox(gPortSerial_);
  portSerial_->setObjectName("Port_Serial");
  for (const int32_t port : serialPorts_)
    portSerial_->addItem(QString::fromStdString(SerialPortEntry(port)));
  serialLabel->setBuddy(portSerial_);
  auto* serialLayout = new QVBoxLayout(gPortSerial_);
  serialLayout->addWidget(serialLabel);
  serialLayout->addWidget(portSerial_);
  serialLayout->addStretch(1);

  gPortDevice_ = Group("Connected to", "gPort_Device", card);
  auto* deviceLabel = new QLabel("Radio device", gPortDevice_);
  portDevice_ = new QComboBox(gPortDevice_);
  portDevice_->setObjectName("Port_Device");
  for (const RadioDeviceEntry& device : radioDevices_)
    portDevice_->addItem(QString::fromStdString(device.Path), device.Index);
  deviceLabel->setBuddy(portDevice_);
  auto* deviceLayout = new QVBoxLayout(gPortDevice_);
  deviceLayout->addWidget(deviceLabel);
  deviceLayout->addWidget(portDevice_);
  deviceLayout->addStretch(1);

  gPortSdr_ = Group("Connected to", "gPort_Sdr", card);
  auto* sdrLabel = new QLabel("SDR receiver", gPortSdr_);
  portSdr_ = new QComboBox(gPortSdr_);
  portSdr_->setObjectName("Port_Sdr");
  for (const SdrPortEntry& device : sdrDevices_)
    portSdr_->addItem(QString::fromStdString(device.Label), device.Index);
  sdrLabel->setBuddy(portSdr_);
  auto* sdrLayout = new QVBoxLayout(gPortSdr_);
  sdrLayout->addWidget(sdrLabel);
  sdrLayout->addWidget(portSdr_);
  sdrLayout->addStretch(1);

  gPortIo_ = Group("Connected to", "gPort_030C_020C", card);
  auto* ioLabel = new QLabel("I/O Port", gPortIo_);
  port030C_ = new QRadioButton(QString::fromUtf8(kIoPortChoices[0].Caption.data()), gPortIo_);
  port030C_->setObjectName("Port_030C");
  port020C_ = new QRadioButton(QString::fromUtf8(kIoPortChoices[1].Caption.data()), gPortIo_);
  port020C_->setObjectName("Port_020C");
  auto* ioLayout = new QVBoxLayout(gPortIo_);
  ioLayout->addWidget(ioLabel);
  ioLayout->addWidget(port030C_);
  ioLayout->addWidget(port020C_);
  ioLayout->addStretch(1);

  gNoSerials_ = WarningGroup("gNoSerials", kNoSerialsText, card);
  gWinNT_ = WarningGroup("gWinNT", kNoPortAccessText, card);
  gNoDevices_ = WarningGroup("gNoDevices", kNoDevicesText, card);
  gNoSdr_ = WarningGroup("gNoSdr", kNoSdrText, card);

  // A long device name shows in the open list, not by widening the page for one card.
  for (QComboBox* box : {portSerial_, portDevice_, portSdr_}) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(16);
  }
  portGroups_ = new QStackedWidget(card);
  for (QGroupBox* group : {gPortSerial_, gNoSerials_, gPortIo_, gWinNT_, gPortDevice_, gNoDevices_,
                           gPortSdr_, gNoSdr_})
    portGroups_->addWidget(group);
  portGroups_->setMinimumWidth(260);

  installed_ = new QLabel("This radio card is currently installed in your computer", card);
  installed_->setObjectName("Installed");
  installed_->setWordWrap(true);

  auto* right = new QVBoxLayout;
  right->addWidget(portGroups_);
  right->addWidget(installed_);
  right->addStretch(1);

  auto* lists = new QHBoxLayout;
  lists->addWidget(hwList_, 1, Qt::AlignTop);
  lists->addLayout(right);

  xJapFM_ = new QCheckBox("Japanese FM frequencies", card);
  xJapFM_->setObjectName("xJapFM");
  xCheckIfTuned_ = new QCheckBox("Check radio signal periodically", card);
  xCheckIfTuned_->setObjectName("xCheckIfTuned");

  auto* layout = new QVBoxLayout(card);
  layout->addWidget(hwLabel);
  layout->addLayout(lists);
  layout->addWidget(xJapFM_);
  layout->addWidget(xCheckIfTuned_);
  layout->addStretch(1);
  (new QVBoxLayout(page))->addWidget(card);
  return page;
}

QWidget* tdSetup::VolumePage() {
  QWidget* page = Page(this);
  QGroupBox* group = Group("Volume control", "gVolume", page);
  scList_ = new QListWidget(group);
  scList_->setObjectName("ScList");
  scList_->addItem("Compact disk");  // only to measure a row
  FitRows(scList_, 4);
  scList_->clear();
  capability_ = new QLabel(group);
  capability_->setObjectName("Capability");
  capability_->setWordWrap(true);
  capability_->setFrameShape(QFrame::StyledPanel);
  capability_->setMargin(8);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(scList_);
  layout->addWidget(capability_);
  layout->addStretch(1);
  (new QVBoxLayout(page))->addWidget(group);
  return page;
}

QWidget* tdSetup::StartClosePage() {
  QWidget* page = Page(this);
  QGroupBox* startup = Group("Startup", "gStartup", page);
  const char* const captions[] = {"Tune to last station", "Start minimized", "Show Tip Of The Day",
                                  "Start alarm if set",   "Start muted",     "Force stereo off"};
  const char* const names[] = {"oLastStation", "oMinimized",  "oShowTOD",
                               "oStartAlarm",  "oStartMuted", "oStereoOff"};
  auto* startLayout = new QVBoxLayout(startup);
  for (size_t i = 0; i < startup_.size(); ++i) {
    startup_[i] = new QCheckBox(captions[i], startup);
    startup_[i]->setObjectName(names[i]);
    startLayout->addWidget(startup_[i]);
  }

  QGroupBox* shutdown = Group("Shutdown", "gShutdown", page);
  shutDown_ = new QButtonGroup(this);
  auto* shutLayout = new QVBoxLayout(shutdown);
  const char* const choices[] = {"Mute audio", "Leave in current state", "Ask at shutdown"};
  const char* const choiceNames[] = {"oMute", "oLeave", "oAsk"};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QRadioButton(choices[i], shutdown);
    button->setObjectName(choiceNames[i]);
    shutDown_->addButton(button, i);
    shutLayout->addWidget(button);
  }
  shutLayout->addStretch(1);

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(startup, 1, Qt::AlignTop);
  layout->addWidget(shutdown, 1, Qt::AlignTop);
  return page;
}

QWidget* tdSetup::ColorsPage() {
  QWidget* page = Page(this);
  preview_ = new TColorPreview(page);

  QGroupBox* digits = Group("Digits", "oDigit", page);
  digitOn_ = new TColorGrid("oDigitOn", digits);
  digitOff_ = new TColorGrid("oDigitOff", digits);
  auto* digitLayout = new QFormLayout(digits);
  digitLayout->addRow("Lit", digitOn_);
  digitLayout->addRow("Unlit", digitOff_);

  QGroupBox* background = Group("Background", "gBackground", page);
  panel_ = new TColorGrid("oPanel", background);
  auto* panelLayout = new QFormLayout(background);
  panelLayout->addRow("Panel", panel_);

  QGroupBox* style = Group("Style", "gStyle", page);
  style_ = new QButtonGroup(this);
  auto* styleLayout = new QGridLayout(style);
  const char* const captions[] = {"Seg 16", "Bulb 5x7", "Dot 5x7", "Seg 7"};
  const char* const names[] = {"oSeg16", "oBulb5x7", "oDot5x7", "oSeg7"};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QRadioButton(captions[i], style);
    button->setObjectName(names[i]);
    style_->addButton(button, i);
    styleLayout->addWidget(button, i, 0);
  }

  QGroupBox* text = Group("Text", "gText", page);
  text_ = new TChoiceRow("tbt", {}, text);
  (new QVBoxLayout(text))->addWidget(text_);
  QGroupBox* flags = Group("Flags", "gFlags", page);
  flags_ = new TChoiceRow("fbt", {}, flags);
  (new QVBoxLayout(flags))->addWidget(flags_);

  auto* grid = new QGridLayout(page);
  grid->addWidget(preview_, 0, 0, 1, 2);
  grid->addWidget(digits, 1, 0);
  grid->addWidget(background, 1, 1);
  grid->addWidget(style, 2, 0, 2, 1);
  grid->addWidget(text, 2, 1);
  grid->addWidget(flags, 3, 1);
  grid->setRowStretch(4, 1);
  return page;
}

QWidget* tdSetup::ButtonsPage() {
  QWidget* page = Page(this);
  struct Row {
    const char* caption;
    const char* prefix;
    const char* suffix;
  };
  const Row rows[] = {{"Generic button", "gbt", ""},
                      {"Preset assigned (FM)", "abt", "FM"},
                      {"Preset assigned (AM)", "abt", "AM"},
                      {"Preset not assigned", "nbt", ""}};
  auto* layout = new QVBoxLayout(page);
  for (size_t r = 0; r < buttonRows_.size(); ++r) {
    QGroupBox* group = new QGroupBox(rows[r].caption, page);
    buttonRows_[r] = new TChoiceRow(rows[r].prefix, rows[r].suffix, group);
    activePreview_[r] = PreviewButton("Active", group);
    inactivePreview_[r] = PreviewButton("Not active", group);
    auto* row = new QHBoxLayout(group);
    row->addWidget(buttonRows_[r], 1);
    row->addSpacing(12);
    row->addWidget(activePreview_[r]);
    row->addWidget(inactivePreview_[r]);
    layout->addWidget(group);
  }
  layout->addStretch(1);
  return page;
}

QWidget* tdSetup::KeysPage() {
  QWidget* page = Page(this);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  constexpr int kRows = 12;
  int slot = 0;
  for (const tPanelCommand& command : kPanelCommands) {
    const size_t position = KeyPosition(command.Id);
    auto* list = new QComboBox(page);
    list->setObjectName(QStringLiteral("Cmd%1").arg(position));
    for (const char key : KeyAlphabet()) list->addItem(QString::fromLatin1(KeyName(key).c_str()));
    list->setMaxVisibleItems(16);
    auto* label =
        new QLabel(QString::fromUtf8(command.Caption.data(), command.Caption.size()), page);
    label->setBuddy(list);
    const int column = (slot / kRows) * 2;
    grid->addWidget(label, slot % kRows, column);
    grid->addWidget(list, slot % kRows, column + 1);
    keys_[position] = list;
    ++slot;
  }
  for (int c = 1; c < 6; c += 2) grid->setColumnStretch(c, 1);

  auto* reset = new QPushButton("Reset to default", page);
  reset->setObjectName("btDefault");
  connect(reset, &QPushButton::clicked, this, &tdSetup::btDefaultClick);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(reset);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addLayout(bottom);
  return page;
}

}  // namespace ondivo
