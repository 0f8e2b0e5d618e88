#include "remote/PanelRemote.h"

#include <QAction>
#include <QSlider>
#include <QTimer>
#include <cmath>

#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "remote/RemoteCommand.h"
#include "stations/FrequencyText.h"

namespace ondivo {

namespace {

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

const QString kScanning = "Ondivo is scanning: tuning is refused until the scan stops";

}  // namespace

PanelRemote::PanelRemote(tdMain& panel) : panel_(panel) {
  panel_.OnShownChange = [this] { emit Changed(); };
}

PanelRemote::~PanelRemote() {
  panel_.OnShownChange = nullptr;
}

QString PanelRemote::Band() const {
  return Text(BandName(panel_.Model().Card().Band()));
}

double PanelRemote::Frequency() const {
  return panel_.Model().Card().Frequency();
}

QString PanelRemote::StationName() const {
  return Text(panel_.Readout().StationName);
}

QString PanelRemote::StationLabel() const {
  return Text(panel_.Readout().TrayHint);
}

QString PanelRemote::RadioText() const {
  return Text(panel_.Readout().StationHint);
}

QString PanelRemote::Signal() const {
  return Text(StatusFlag(panel_.State().Status, 0).Text);
}

int PanelRemote::Preset() const {
  return panel_.State().CurrentPreset;
}

bool PanelRemote::HasPresets() const {
  return panel_.Model().Bank().AssignedCount() > 0;
}

bool PanelRemote::Muted() const {
  return panel_.State().Muted;
}

double PanelRemote::Volume() const {
  const QSlider* slider = panel_.VolumeSlider();
  return slider->maximum() > 0 ? static_cast<double>(slider->value()) / slider->maximum() : 0.0;
}

QString PanelRemote::Busy() const {
  // A modal dialog works on its own copy of the panel's values: nothing may change under it.
  if (panel_.State().DialogOpen) return "A dialog is open in Ondivo: close it first";
  return {};
}

QString PanelRemote::Tune(const QString& band, double mhz) {
  if (QString busy = Busy(); !busy.isEmpty()) return busy;
  const std::optional<tBand> wanted = BandFromName(band.toStdString());
  if (!wanted) return "Unknown band " + band + ": FM or AM";
  const TRadioCard& card = panel_.Model().Card();
  const tDevCap cap = card.GetDevCap(card.Model());
  if (!(*wanted == bFM ? cap.HasFM : cap.HasAM)) return "This radio has no " + band + " band";
  const double min = *wanted == bFM ? card.FMMin() : TRadioCard::AMMin();
  const double max = *wanted == bFM ? card.FMMax() : TRadioCard::AMMax();
  if (!(mhz >= min - 1e-9 && mhz <= max + 1e-9)) {
    const LocaleFormat plain;
    return Text(FormatFrequencyShort(*wanted, mhz, plain) + " is outside the band, " +
                FormatFrequencyShort(*wanted, min, plain) + " to " +
                FormatFrequencyShort(*wanted, max, plain));
  }
  if (!panel_.Enter(tDuringScan::Ignored, [&] { panel_.TuneTo(*wanted, false, mhz); })) {
    return kScanning;
  }
  return {};
}

QString PanelRemote::RecallPreset(int n) {
  if (QString busy = Busy(); !busy.isEmpty()) return busy;
  if (!PresetsBank::IsPresetNumber(n)) return QString("There is no preset %1: 1 to 100").arg(n);
  const tPreset& preset = panel_.Model().Bank().Preset(n);
  if (!preset.Assigned) return QString("Preset %1 is empty").arg(n);
  if (!panel_.Presets().CanTune(preset)) {
    return QString("Preset %1 is on a band this radio does not have").arg(n);
  }
  if (!panel_.Enter(tDuringScan::Ignored, [&] { panel_.FavMenu(n); })) return kScanning;
  return {};
}

QString PanelRemote::StepPreset(int step) {
  const int n = NeighbourPreset(panel_.Model().Bank(), Preset(), step);
  if (n == 0) return "No presets are stored";
  return RecallPreset(n);
}

QString PanelRemote::Scan(bool up) {
  if (QString busy = Busy(); !busy.isEmpty()) return busy;
  if (panel_.State().Scanning) return "A scan is running already";
  if (panel_.Model().Card().Band() != bFM) return "Scanning works on FM only";
  const tCommandId id = up ? cmScanRight : cmScanLeft;
  QTimer::singleShot(0, &panel_, [this, id] { panel_.Run(id); });
  return {};
}

QString PanelRemote::StopScan() {
  panel_.Run(cmStopScan);
  return {};
}

QString PanelRemote::SetVolume(double fraction) {
  if (QString busy = Busy(); !busy.isEmpty()) return busy;
  QSlider* slider = panel_.VolumeSlider();
  // The slider's own state, whatever display mode hides its group.
  if (!slider->isEnabledTo(slider->parentWidget()) || slider->maximum() <= 0) {
    return "The volume of this radio cannot be set here";
  }
  if (!(fraction >= 0.0 && fraction <= 1.0)) return "The volume goes from 0 to 1";
  // The slider's own path: the card keeps to its steps and the slider shows where it landed.
  slider->setValue(static_cast<int>(std::lround(fraction * slider->maximum())));
  return {};
}

QString PanelRemote::SetMuted(bool muted) {
  if (QString busy = Busy(); !busy.isEmpty()) return busy;
  if (Muted() == muted) return {};
  if (!panel_.Action(cmMuteOnOff)->isEnabled()) return "This radio cannot be muted";
  panel_.Run(cmMuteOnOff);
  if (Muted() == muted) return {};
  // The panel keeps its mute as it is while the volume is down to 0, as its button does.
  if (panel_.Model().Card().Volume() == 0) return "The volume is at 0: turn it up first";
  return muted ? "The radio did not mute" : "The radio did not unmute";
}

QString PanelRemote::Show() {
  if (QString busy = Busy(); !busy.isEmpty()) return busy;
  panel_.Do_Show();
  return {};
}

QString PanelRemote::Hide() {
  if (QString busy = Busy(); !busy.isEmpty()) return busy;
  panel_.Do_Hide();
  return {};
}

QString PanelRemote::Quit() {
  if (QString busy = Busy(); !busy.isEmpty()) return busy;
  panel_.Run(cmExit);
  return {};
}

}  // namespace ondivo
