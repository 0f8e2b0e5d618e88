#pragma once

#include <QObject>
#include <functional>

#include "platform/UniqueFd.h"

class QSocketNotifier;
class QWidget;

namespace ondivo {

// SIGTERM, SIGINT and SIGHUP, and the desktop session's end, all end the program as a session
// end does. The signal handler only writes a byte; the event loop does the rest.
class SessionSignals final : public QObject {
 public:
  explicit SessionSignals(std::function<void()> sessionEnd);
  ~SessionSignals() override;

 private:
  UniqueFd read_;
  UniqueFd write_;
  QSocketNotifier* notifier_ = nullptr;
};

// With --print-title, every modal window and the panel's title are printed as they appear, so
// scripts and tests can follow the program without a screen: the dialogs from now on, the
// title once the event loop runs.
void ReportDialogs(QObject& application);
void ReportTitle(QWidget& panel);

}  // namespace ondivo
