// Kernel radio devices at the panel: RDS read from the event loop and shown on the station
// label, and a device that vanishes or is busy told to the user instead of thrown through the
// event loop. The card stays usable either way; Setup switches a lost device on again.
#include <QTimer>

#include "panel/Prompter.h"
#include "panel/tdMain.h"
#include "radio/DeviceMessages.h"
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "radio/RdsLabel.h"
#include "radio/RdsNotifier.h"

namespace ondivo {

void tdMain::WireDevice() {
  model_->OnDeviceTrouble = [this](const char* message) { DeviceTrouble(message); };
  rds_ = std::make_unique<RdsNotifier>(card_);
  rds_->OnChanged = [this] { RefreshPanel(); };
  rds_->OnDeviceLost = [this] { DeviceTrouble(kDeviceLostMessage); };
}

void tdMain::SwitchCardOn() {
  try {
    card_.SwitchOn();
  } catch (const ePortAlreayOpen&) {
    const uint8_t connection = card_.GetDevCap(card_.Model()).Connection;
    if (connection == kSdrConnection) {
      prompts_.Message(SdrOpenMessage(card_.Port(), card_.SdrFailure()));
    } else if (connection == kDeviceConnection) {
      prompts_.Message(DeviceOpenMessage(card_.RadioPaths().PathFor(card_.Port())));
    } else {
      prompts_.Message("The serial port COM" + std::to_string(card_.Port()) +
                       " of the radio is in use by another program or cannot be opened.");
    }
  } catch (const eDeviceLost&) {
    DeviceTrouble(kDeviceLostMessage);
  } catch (const eDeviceBusy&) {
    DeviceTrouble(kDeviceBusyMessage);
  }
  rds_->Rearm();
}

void tdMain::SwitchCardOff() {
  card_.SwitchOff();  // the RDS notifier lets go of the descriptor before it is closed
}

bool tdMain::GuardDevice(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const eDeviceLost&) {
    DeviceTrouble(kDeviceLostMessage);
  } catch (const eDeviceBusy&) {
    DeviceTrouble(kDeviceBusyMessage);
  }
  return false;
}

void tdMain::DeviceTrouble(const char* message) {
  // Told once, after the handler that met it has run to its end (a scan stops first), and with
  // the panel already showing what the card has left.
  if (troublePending_) return;
  troublePending_ = true;
  QTimer::singleShot(0, this, [this, message] {
    rds_->Rearm();
    if (!state_.Scanning) model_->RefreshStatus();
    RefreshPanel();
    prompts_.Message(message);
    troublePending_ = false;
  });
}

std::string tdMain::NameToStore(int n) const {
  return presets_->NameToOffer(n, tNaming::Store);
}

}  // namespace ondivo
