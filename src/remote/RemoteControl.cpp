#include "remote/RemoteControl.h"

#include <QDBusConnectionInterface>

#include "remote/BusProperties.h"
#include "remote/MprisAdaptors.h"
#include "remote/PanelRemote.h"
#include "remote/RadioAdaptor.h"
#include "remote/RemoteCommand.h"

namespace ondivo {

std::unique_ptr<RemoteControl> RemoteControl::Start(
    tdMain& panel, QDBusConnection bus, const std::function<void(const QString&)>& log) {
  if (!bus.isConnected()) {
    log("no session bus (" + bus.lastError().message() + "): the remote control is off");
    return nullptr;
  }
  std::unique_ptr<RemoteControl> control(new RemoteControl(panel, bus));
  const auto registered = [&bus](const char* service, const char* path, QObject& holder) {
    return bus.registerObject(path, &holder, QDBusConnection::ExportAdaptors) &&
           bus.registerService(service);
  };
  if (!registered(kRadioService, kRadioPath, control->radioHolder_) ||
      !registered(kMprisService, kMprisPath, control->mprisHolder_)) {
    log(QString("the names %1 and %2 are taken on the session bus: the remote control is off")
            .arg(kRadioService, kMprisService));
    return nullptr;
  }
  return control;
}

RemoteControl::RemoteControl(tdMain& panel, QDBusConnection bus)
    : bus_(std::move(bus)), remote_(std::make_unique<PanelRemote>(panel)) {
  auto* root = new MprisRoot(&mprisHolder_, *remote_, bus_);
  auto* player = new MprisPlayer(&mprisHolder_, *remote_, bus_);
  radio_ = new RadioAdaptor(&radioHolder_, *remote_, bus_);
  mprisRootProperties_ = std::make_unique<BusProperties>(bus_, kMprisPath, *root);
  mprisPlayerProperties_ = std::make_unique<BusProperties>(bus_, kMprisPath, *player);
  radioProperties_ = std::make_unique<BusProperties>(bus_, kRadioPath, *radio_);
  QObject::connect(remote_.get(), &PanelRemote::Changed, &radioHolder_, [this] { PanelChanged(); });
}

RemoteControl::~RemoteControl() {
  bus_.unregisterService(kMprisService);
  bus_.unregisterService(kRadioService);
  bus_.unregisterObject(kMprisPath);
  bus_.unregisterObject(kRadioPath);
}

void RemoteControl::PanelChanged() {
  mprisRootProperties_->Update();
  mprisPlayerProperties_->Update();
  const QStringList changed = radioProperties_->Update();
  const bool stationChanged =
      changed.contains("Band") || changed.contains("Frequency") || changed.contains("Station");
  if (stationChanged)
    emit radio_->StationChanged(radio_->band(), radio_->frequency(), radio_->station());
}

}  // namespace ondivo
