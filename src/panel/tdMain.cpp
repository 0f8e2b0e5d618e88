#include "panel/tdMain.h"

#include <QTimer>

#include "panel/KeyCommandFilter.h"
#include "panel/PanelVolume.h"
#include "platform/IniFile.h"
#include "radio/RadioCard.h"
#include "radio/RdsNotifier.h"
#include "schedule/Schedule.h"

namespace ondivo {

tdMain::tdMain(tMainServices services)
    : services_(std::move(services)), card_(*services_.Card), prompts_(*services_.Prompts) {
  model_ = std::make_unique<PanelModel>(card_, bank_, settings_, state_, services_.Locale);
  presets_ = std::make_unique<PresetsPanel>(*model_);
  setWindowTitle("Ondivo");
  BuildWidgets();
  CreateActions();
  BuildMenus();
  BuildTray();
  ConnectWidgets();
  new KeyCommandFilter(*this);  // owned by the window
  ShowKeyHints(*this);
  WireDevice();
  ConnectVolume();
  ConnectSchedule();
  SetDisplayMode(0);
}

tdMain::~tdMain() {
  card_.OnMixerChange = nullptr;  // the card outlives the panel
}

}  // namespace ondivo
