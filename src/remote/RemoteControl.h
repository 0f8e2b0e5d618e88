#pragma once

#include <QDBusConnection>
#include <QObject>
#include <functional>
#include <memory>

namespace ondivo {

class BusProperties;
class PanelRemote;
class RadioAdaptor;
class tdMain;

// The panel on the session bus: MPRIS2 for the desktop's media keys, sound applets and phone
// remotes, and org.ondivo.Radio1 for scripts and `ondivo --send`. Gone with this object.
class RemoteControl final {
 public:
  // The remote control of panel on bus; nothing when the bus is not there or its names are
  // taken, which is told to log once and leaves the panel as it was.
  static std::unique_ptr<RemoteControl> Start(tdMain& panel, QDBusConnection bus,
                                              const std::function<void(const QString&)>& log);
  ~RemoteControl();

 private:
  RemoteControl(tdMain& panel, QDBusConnection bus);
  void PanelChanged();

  QDBusConnection bus_;
  std::unique_ptr<PanelRemote> remote_;
  QObject mprisHolder_, radioHolder_;  // the objects at the two paths; they own the adaptors
  RadioAdaptor* radio_ = nullptr;
  std::unique_ptr<BusProperties> mprisRootProperties_, mprisPlayerProperties_, radioProperties_;
};

}  // namespace ondivo
