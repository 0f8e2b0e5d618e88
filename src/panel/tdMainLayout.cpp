// The widgets of the front panel, at their designed positions (what a form file would make).
// Each group is a child of the central widget; ApplyDisplayMode places the groups.
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include "controls/Display.h"
#include "panel/PanelPictures.h"
#include "panel/tdMain.h"
#include "stations/FrequencyText.h"

namespace ondivo {

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& text, QRect geometry, qreal pointSize,
                  bool bold = false, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  label->setFont(font);
  label->setAlignment(align);
  label->setGeometry(geometry);
  return label;
}

QToolButton* MakeButton(QWidget* parent, const QString& text, QRect geometry,
                        const QString& hint = {}) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setGeometry(geometry);
  button->setToolTip(hint);
  button->setFocusPolicy(Qt::TabFocus);
  QFont font = button->font();
  font.setPointSizeF(7.5);
  button->setFont(font);
  return button;
}

QFrame* MakeGroup(QWidget* parent, const QString& name) {
  auto* group = new QFrame(parent);
  group->setObjectName(name);
  group->setFrameShape(QFrame::StyledPanel);
  group->setFrameShadow(QFrame::Raised);
  return group;
}

// A lamp button of the top rows: its lamp picture beside the caption.
QToolButton* MakeLampButton(QWidget* parent, const QString& caption, QPoint at,
                            const QString& hint) {
  QToolButton* button = MakeButton(parent, caption, QRect(at, QSize(43, 20)), hint);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setIconSize(QSize(16, 8));
  // Three capitals beside the lamp must fit in 43 pixels: the widest, MEM, was elided.
  QFont font = button->font();
  font.setPointSizeF(6.5);
  font.setStretch(QFont::SemiCondensed);
  button->setFont(font);
  return button;
}

}  // namespace

void tdMain::BuildWidgets() {
  central_ = new QWidget(this);
  central_->setObjectName("panel");
  setCentralWidget(central_);
  BuildDisplay(central_);
  BuildTuner(central_);
  BuildPresets(central_);
  BuildVolume(central_);
  BuildButtons(central_);
}

void tdMain::BuildDisplay(QWidget* parent) {
  displayPanel_ = new QFrame(parent);
  displayPanel_->setObjectName("display");
  displayPanel_->setFrameShape(QFrame::Panel);
  displayPanel_->setFrameShadow(QFrame::Sunken);
  displayPanel_->setLineWidth(2);
  displayPanel_->setAutoFillBackground(true);
  displayPanel_->resize(300, 70);
  const int xs[6] = {7, 34, 61, 97, 124, 151};
  for (int i = 0; i < 6; ++i) {
    digits_[i] = new TDisplay(displayPanel_);
    digits_[i]->setGeometry(xs[i], 6, 26, 40);
    digits_[i]->SetMargin(2);
  }
  point_ = MakeLabel(displayPanel_, QString(QChar(0x25CF)), QRect(88, 36, 8, 10), 6.5, true,
                     Qt::AlignCenter);
  amFm_ = MakeLabel(displayPanel_, "FM", QRect(182, 7, 40, 18), 12, true);
  hz_ = MakeLabel(displayPanel_, "MHz", QRect(182, 27, 40, 16), 9, true);
  tuned_ = MakeLabel(displayPanel_, "?????", QRect(226, 5, 68, 16), 9, true,
                     Qt::AlignRight | Qt::AlignVCenter);
  icScan_ = MakeLabel(displayPanel_, {}, QRect(278, 7, 16, 11), 8);
  icScan_->hide();
  icMusic_ = MakeLabel(displayPanel_, {}, QRect(228, 28, 11, 11), 8);
  icMusic_->setToolTip("Sound");
  icAlarm_ = MakeLabel(displayPanel_, {}, QRect(242, 28, 11, 11), 8);
  icAlarm_->setToolTip("Alarm");
  icSleep_ = MakeLabel(displayPanel_, {}, QRect(256, 28, 11, 11), 8);
  icSleep_->setToolTip("Sleep");
  icProg_ = MakeLabel(displayPanel_, {}, QRect(270, 28, 26, 11), 8);
  icProg_->setToolTip("Programming mode");
  stationNum_ = MakeLabel(displayPanel_, "??", QRect(7, 49, 22, 16), 9, true);
  stationNum_->setToolTip("Favorite n.");
  station_ = MakeLabel(displayPanel_, {}, QRect(31, 49, 170, 16), 9, true);
  station_->setToolTip("Name of the radio station");
  hhmmss_ = MakeLabel(displayPanel_, {}, QRect(200, 49, 94, 16), 9, true,
                      Qt::AlignRight | Qt::AlignVCenter);
  hhmmss_->setToolTip("Current time");
}

void tdMain::BuildTuner(QWidget* parent) {
  tunerGroup_ = MakeGroup(parent, "tuner");
  tunerGroup_->resize(315, 70);
  sFrequency_ = new QSlider(Qt::Horizontal, tunerGroup_);
  sFrequency_->setGeometry(4, 2, 307, 18);
  sFrequency_->setFocusPolicy(Qt::TabFocus);
  for (auto& label : scale_) {
    label = MakeLabel(tunerGroup_, {}, QRect(0, 18, 30, 11), 6.5, false, Qt::AlignCenter);
  }
  lTune_ = MakeLabel(tunerGroup_, "Fine", QRect(4, 30, 46, 11), 7, false, Qt::AlignCenter);
  btTunePrev_ = MakeButton(tunerGroup_, {}, QRect(4, 42, 22, 22), "Tune left");
  btTunePrev_->setArrowType(Qt::LeftArrow);
  btTuneNext_ = MakeButton(tunerGroup_, {}, QRect(27, 42, 22, 22), "Tune right");
  btTuneNext_->setArrowType(Qt::RightArrow);

  btStepUp_ = MakeButton(tunerGroup_, {}, QRect(71, 42, 14, 11), "Step +");
  btStepUp_->setArrowType(Qt::UpArrow);
  btStepDown_ = MakeButton(tunerGroup_, {}, QRect(71, 53, 14, 11), "Step -");
  btStepDown_->setArrowType(Qt::DownArrow);
  step_ =
      MakeLabel(tunerGroup_, {}, QRect(87, 30, 38, 11), 7, true, Qt::AlignRight | Qt::AlignVCenter);
  lStep_ = MakeLabel(tunerGroup_, "kHz", QRect(128, 30, 26, 11), 7);
  sStep_ = new QSlider(Qt::Horizontal, tunerGroup_);
  sStep_->setGeometry(87, 44, 100, 18);
  sStep_->setFocusPolicy(Qt::TabFocus);
  sStep_->setToolTip("Tuning step");

  btJump_ = MakeButton(tunerGroup_, "Go", QRect(196, 42, 30, 22), "Jump directly to a frequency");

  lScan_ = MakeLabel(tunerGroup_, "Scan", QRect(232, 30, 45, 11), 7, false, Qt::AlignCenter);
  btScanPrev_ = MakeButton(tunerGroup_, {}, QRect(232, 42, 22, 22), "Scan left");
  btScanPrev_->setArrowType(Qt::LeftArrow);
  btScanPrev_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  btScanNext_ = MakeButton(tunerGroup_, {}, QRect(255, 42, 22, 22), "Scan right");
  btScanNext_->setArrowType(Qt::RightArrow);
  btStopScan_ = MakeButton(tunerGroup_, "Stop", QRect(232, 42, 45, 22), "Halt scanning");
  btStopScan_->hide();

  btFM_ = MakeButton(tunerGroup_, "fm", QRect(281, 30, 30, 17), "FM band");
  btAM_ = MakeButton(tunerGroup_, "am", QRect(281, 48, 30, 17), "AM band");
  btFM_->setCheckable(true);
  btAM_->setCheckable(true);
  const std::pair<QWidget*, const char*> names[] = {{sFrequency_, "sFrequency"},
                                                    {btTunePrev_, "btTunePrev"},
                                                    {btTuneNext_, "btTuneNext"},
                                                    {btStepUp_, "btSpinStepUp"},
                                                    {btStepDown_, "btSpinStepDown"},
                                                    {sStep_, "sStep"},
                                                    {step_, "Step"},
                                                    {lStep_, "LStep"},
                                                    {btJump_, "btJump"},
                                                    {lScan_, "LScan"},
                                                    {btScanPrev_, "btScanPrev"},
                                                    {btScanNext_, "btScanNext"},
                                                    {btStopScan_, "btStopScan"},
                                                    {btFM_, "btFM"},
                                                    {btAM_, "btAM"}};
  for (const auto& [widget, name] : names) widget->setObjectName(name);
}

void tdMain::BuildPresets(QWidget* parent) {
  presetsGroup_ = MakeGroup(parent, "presets");
  presetsGroup_->resize(300, 44);
  presetsGroup_->setToolTip("Internal");
  for (int i = 0; i < 10; ++i) {
    QToolButton* b =
        MakeButton(presetsGroup_, FormatPresetNumber(i + 1).c_str(), QRect(3 + i * 27, 3, 26, 38));
    b->setObjectName(QString("btRadio%1").arg(i + 1, 2, 10, QChar('0')));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(16, 8));
    btRadio_[i] = b;
  }
  btPageUp_ = MakeButton(presetsGroup_, {}, QRect(275, 3, 22, 19), "Next/Prev row of favorites");
  btPageUp_->setArrowType(Qt::UpArrow);
  btPageDown_ = MakeButton(presetsGroup_, {}, QRect(275, 22, 22, 19), "Next/Prev row of favorites");
  btPageDown_->setArrowType(Qt::DownArrow);
}

void tdMain::BuildVolume(QWidget* parent) {
  volumeGroup_ = MakeGroup(parent, "volume");
  volumeGroup_->resize(133, 44);
  lVolume_ = MakeLabel(volumeGroup_, "Volume", QRect(4, 3, 75, 12), 7);
  sVolume_ = new QSlider(Qt::Horizontal, volumeGroup_);
  sVolume_->setGeometry(3, 18, 75, 20);
  sVolume_->setRange(0, 255);
  sVolume_->setFocusPolicy(Qt::TabFocus);
  sVolume_->setToolTip("Volume");
  btMixer_ = MakeButton(volumeGroup_, "Mixer", QRect(80, 14, 36, 24), "Sound card mixer");
  vcDisabled_ = MakeLabel(volumeGroup_, "Ondivo can't control\nthe volume sound",
                          QRect(4, 15, 112, 24), 7, false, Qt::AlignLeft | Qt::AlignTop);
  vcDisabled_->hide();
  sVolume_->setObjectName("sVolume");
  btMixer_->setObjectName("btMixer");
  vcDisabled_->setObjectName("VcDisabled");
}

void tdMain::BuildButtons(QWidget* parent) {
  buttonRows_ = new QWidget(parent);
  buttonRows_->setObjectName("buttons");
  buttonRows_->resize(178, 41);
  btMute_ = MakeLampButton(buttonRows_, "MTE", {0, 0}, "Mute on/off");
  btMute_->setObjectName("btMute");
  btAlarm_ = MakeLampButton(buttonRows_, "ALM", {45, 0}, "Alarm on/off");
  btSleep_ = MakeLampButton(buttonRows_, "SLP", {90, 0}, "Sleep on/off");
  btProg_ = MakeLampButton(buttonRows_, "PRG", {135, 0}, "Programming mode on/off (empty)");
  btClr_ = MakeLampButton(buttonRows_, "CLR", {0, 21}, "Clear a favorite");
  btMem_ = MakeLampButton(buttonRows_, "MEM", {45, 21}, "Store a favorite");
  btStr_ = MakeLampButton(buttonRows_, "STR", {90, 21}, "Stereo on/off");
  btOff_ = MakeLampButton(buttonRows_, "OFF", {135, 21}, "Switch off and exit");
  btClr_->setObjectName("btClr");
  btMem_->setObjectName("btMem");
}

}  // namespace ondivo
