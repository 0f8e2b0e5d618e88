// The presets group: recalling a preset and turning the pages. Storing and clearing come with
// the presets part of the panel.
#include <QToolButton>

#include "panel/PanelPictures.h"
#include "panel/tdMain.h"
#include "stations/FrequencyText.h"

namespace ondivo {

void tdMain::btRadioClick(int button) {
  if (state_.Scanning) return;
  setFocus();  // focus leaves the button
  const int n = button + 10 * (state_.Page - 1);
  if (!bank_.Preset(n).Assigned) return;
  model_->RecallPreset(n, true);
  RefreshPanel();
}

void tdMain::btNextPrevTopClick() {
  if (state_.Page > 1) --state_.Page;
  ShowPresetPage();
}

void tdMain::btNextPrevBottomClick() {
  if (state_.Page < 10) ++state_.Page;
  ShowPresetPage();
}

void tdMain::ShowPresetPage() {
  for (int i = 0; i < 10; ++i) {
    const int n = i + 1 + 10 * (state_.Page - 1);
    const tPreset& p = bank_.Preset(n);
    const int colour = !p.Assigned     ? settings_.ColorFavNotAssButton
                       : p.Band == bAM ? settings_.ColorFavAssButtonAM
                                       : settings_.ColorFavAssButtonFM;
    const bool current = n == state_.CurrentPreset;
    QToolButton* b = btRadio_[i];
    b->setText(QString::fromStdString(FormatPresetNumber(n)));
    b->setIcon(Lamp(QString("BT%1%2").arg(colour).arg(current ? "ON" : "OFF")));
    b->setToolTip(p.Assigned ? QString::fromStdString(FormatStationLabel(p.Band, p.Frequency,
                                                                         p.Name, services_.Locale))
                             : QString());
  }
  btPageUp_->setEnabled(state_.Page > 1);
  btPageDown_->setEnabled(state_.Page < 10);
}

}  // namespace ondivo
