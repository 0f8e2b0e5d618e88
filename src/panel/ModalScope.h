#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

#include "panel/tdMain.h"

namespace ondivo {

// The routine around every modal dialog of the panel: DialogOpen set (tray clicks ignored),
// the tray menu detached, the panel hidden when it was shown; all undone on leaving scope.
class ModalScope {
 public:
  explicit ModalScope(tdMain& window) : window_(window) {
    window_.state_.DialogOpen = true;
    if (window_.tray_) window_.tray_->setContextMenu(nullptr);
    wasShown_ = window_.isVisible() && !window_.state_.Hidden;
    if (wasShown_) window_.hide();
  }
  ~ModalScope() {
    if (wasShown_ && !window_.closing_) window_.show();
    if (window_.tray_) window_.tray_->setContextMenu(window_.trayMenu_);
    window_.state_.DialogOpen = false;
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  // Keeps the panel hidden when the scope ends (the program is closing).
  void KeepHidden() { wasShown_ = false; }

 private:
  tdMain& window_;
  bool wasShown_ = false;
};

}  // namespace ondivo
