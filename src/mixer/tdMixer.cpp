#include "mixer/tdMixer.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "mixer/Mixer.h"
#include "mixer/MixerEventNotifier.h"

namespace ondivo {

namespace {

constexpr const char* kObjectPrefix[4] = {"m", "Li", "Cd", "Mic"};
constexpr const char* kGroupName[4] = {"gMaster", "gLineIn", "gCD", "gMic"};
constexpr const char* kLabelName[4] = {"mLabel", "LiLabel", "CdLabel", "MicLabel"};

// A loudspeaker facing outward on its side of the panning slider.
QLabel* Speaker(QWidget* parent, bool left) {
  auto* label = new QLabel(parent);
  QPixmap pixmap = parent->style()->standardIcon(QStyle::SP_MediaVolume).pixmap(QSize(12, 12));
  if (left) pixmap = QPixmap::fromImage(pixmap.toImage().mirrored(true, false));
  label->setPixmap(pixmap);
  return label;
}

QSlider* VerticalSlider(QWidget* parent, const QString& name) {
  auto* slider = new QSlider(Qt::Vertical, parent);
  slider->setObjectName(name);
  slider->setRange(0, 255);
  slider->setMinimumHeight(110);
  return slider;
}

}  // namespace

tdMixer::tdMixer(std::unique_ptr<TMixer> mixer, tVolumeLine routed, HelpHook help, QWidget* parent)
    : QDialog(parent), mixer_(std::move(mixer)), help_(std::move(help)) {
  setWindowTitle("Mixer control");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 6, 6, 6);
  row->setSpacing(4);
  const auto bold = RoutedStrip(routed);
  for (const tMixerStrip strip : kMixerStrips) row->addWidget(BuildStrip(strip, bold == strip));
  row->addWidget(BuildAdvanced());
  Fill();
  mixer_->OnControlChange = [this](TMixer&, tMixerControlType control) { Follow(control); };
  notifier_ = std::make_unique<MixerEventNotifier>(*mixer_);
  resize(368, 239);
  setFixedSize(sizeHint().expandedTo(QSize(368, 239)));
}

tdMixer::~tdMixer() {
  mixer_->OnControlChange = nullptr;
}

void tdMixer::Run(QWidget* parent, std::unique_ptr<TMixer> mixer, tVolumeLine routed,
                  HelpHook help) {
  tdMixer dialog(std::move(mixer), routed, std::move(help), parent);
  dialog.exec();
}

QWidget* tdMixer::BuildStrip(tMixerStrip strip, bool bold) {
  const size_t i = Index(strip);
  const QString prefix = kObjectPrefix[i];
  auto* group = new QGroupBox(this);
  group->setObjectName(kGroupName[i]);
  auto* column = new QVBoxLayout(group);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(3);
  Strip& s = strips_[i];
  s.Title = new QLabel(StripControls(strip).Title, group);
  s.Title->setObjectName(kLabelName[i]);
  s.Title->setAlignment(Qt::AlignCenter);
  QFont font = s.Title->font();
  font.setBold(bold);
  s.Title->setFont(font);
  column->addWidget(s.Title);

  auto* pan = new QHBoxLayout;
  pan->setSpacing(1);
  s.Panning = new QSlider(Qt::Horizontal, group);
  s.Panning->setObjectName(prefix + "Panning");
  s.Panning->setRange(-kPanHalfRange, kPanHalfRange);
  s.Panning->setFixedWidth(44);
  s.Panning->setToolTip("Balance");
  pan->addWidget(Speaker(group, true));
  pan->addWidget(s.Panning);
  pan->addWidget(Speaker(group, false));
  column->addLayout(pan);

  s.Volume = VerticalSlider(group, prefix + "Volume");
  s.Volume->setToolTip("Volume");
  column->addWidget(s.Volume, 1, Qt::AlignHCenter);
  s.Mute = new QToolButton(group);
  s.Mute->setObjectName(prefix + "Mute");
  s.Mute->setText("Mute");
  s.Mute->setCheckable(true);
  s.Mute->setMinimumWidth(50);
  // The style's own pressed look is too faint to tell a muted line at a glance.
  s.Mute->setStyleSheet(
      "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text);"
      " border: 1px solid palette(dark); border-radius: 3px; padding: 2px 6px; }");
  column->addWidget(s.Mute, 0, Qt::AlignHCenter);

  const auto balance = [this, strip] {
    const Strip& st = strips_[Index(strip)];
    WriteBalance(*mixer_, strip, st.Volume->value(), st.Panning->value());
  };
  connect(s.Volume, &QSlider::valueChanged, this, balance);
  connect(s.Panning, &QSlider::valueChanged, this, balance);
  connect(s.Mute, &QToolButton::toggled, this,
          [this, strip](bool down) { WriteMute(*mixer_, strip, down); });
  return group;
}

QWidget* tdMixer::BuildAdvanced() {
  auto* side = new QWidget(this);
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);
  // Titled inside the frame like the four strips, so the five groups line up.
  auto* group = new QGroupBox(side);
  group->setObjectName("gAdvanced");
  auto* inner = new QVBoxLayout(group);
  inner->setContentsMargins(4, 4, 4, 4);
  auto* title = new QLabel("Advanced", group);
  title->setAlignment(Qt::AlignCenter);
  inner->addWidget(title);
  auto* tones = new QHBoxLayout;
  inner->addLayout(tones, 1);
  const auto tone = [&](const char* caption, const char* name, tMixerControlType control) {
    auto* box = new QVBoxLayout;
    auto* label = new QLabel(caption, group);
    label->setAlignment(Qt::AlignCenter);
    QSlider* slider = VerticalSlider(group, name);
    slider->setMinimumHeight(90);
    box->addWidget(label);
    box->addWidget(slider, 1, Qt::AlignHCenter);
    tones->addLayout(box);
    connect(slider, &QSlider::valueChanged, this,
            [this, control](int value) { WriteTone(*mixer_, control, value); });
    return slider;
  };
  bass_ = tone("Bass", "aBass", mcBass);
  treble_ = tone("Treble", "aTreble", mcTreble);
  column->addWidget(group, 1);
  auto* help = new QPushButton("Help", side);
  auto* ok = new QPushButton("Ok", side);
  ok->setDefault(true);
  column->addWidget(help);
  column->addWidget(ok);
  connect(help, &QPushButton::clicked, this, [this] {
    if (help_) help_("Volume_controls");
  });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  return side;
}

void tdMixer::Fill() {
  for (const tMixerStrip strip : kMixerStrips) {
    Strip& s = strips_[Index(strip)];
    const tStripView view = StripView(*mixer_, strip);
    const QSignalBlocker blockVolume(s.Volume), blockPan(s.Panning), blockMute(s.Mute);
    if (view.VolumeEnabled) {
      s.Volume->setRange(view.Minimum, view.Maximum);
      if (view.Balance.Pan) s.Panning->setValue(*view.Balance.Pan);
      s.Volume->setValue(view.Balance.Volume);
    }
    s.Volume->setEnabled(view.VolumeEnabled);
    s.Panning->setEnabled(view.PanEnabled);
    s.Mute->setEnabled(view.MuteEnabled);
    s.Mute->setChecked(view.MuteDown);
  }
  for (auto [slider, control] : {std::pair{bass_, mcBass}, std::pair{treble_, mcTreble}}) {
    const tToneView view = ToneView(*mixer_, control);
    const QSignalBlocker block(slider);
    if (view.Enabled) {
      slider->setRange(view.Minimum, view.Maximum);
      slider->setValue(view.Value);
    }
    slider->setEnabled(view.Enabled);
  }
}

void tdMixer::Follow(tMixerControlType control) {
  if (control == mcBass || control == mcTreble) {
    QSlider* slider = control == mcBass ? bass_ : treble_;
    const QSignalBlocker block(slider);
    slider->setValue(mixer_->GetControlValue(control, 0));
    return;
  }
  const auto strip = StripOf(control);
  if (!strip) return;
  Strip& s = strips_[Index(*strip)];
  const tStripControls& c = StripControls(*strip);
  if (control == c.Volume) {
    const tBalance b =
        BalanceOf(mixer_->GetControlValue(control, 0), mixer_->GetControlValue(control, 1));
    const QSignalBlocker blockVolume(s.Volume), blockPan(s.Panning);
    if (b.Pan) s.Panning->setValue(*b.Pan);
    s.Volume->setValue(b.Volume);
  } else {
    const QSignalBlocker block(s.Mute);
    s.Mute->setChecked(mixer_->GetControlValue(control, 0) != mixer_->ControlMin(control));
  }
}

}  // namespace ondivo
