#pragma once

#include <QObject>
#include <filesystem>
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
// The folder the help pages and tips are read from is told first.
void ReportDialogs(QObject& application, const std::filesystem::path& dataDir);
void ReportTitle(QWidget& panel);

}  // namespace ondivo
