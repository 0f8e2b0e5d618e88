#include "app/SessionSignals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace ondivo {

namespace {

int signalWrite = -1;

void OnTerminate(int) {
  const char byte = 1;
  [[maybe_unused]] auto n = ::write(signalWrite, &byte, 1);
}

class WindowReporter final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      auto* w = qobject_cast<QWidget*>(watched);
      if (w && w->isWindow() && w->isModal()) {
        std::printf("dialog: %s\n", w->windowTitle().toUtf8().constData());
        std::fflush(stdout);
      }
    }
    return false;
  }
};

}  // namespace

SessionSignals::SessionSignals(std::function<void()> sessionEnd) {
  int pair[2] = {-1, -1};
  ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair);
  read_ = UniqueFd(pair[0]);
  write_ = UniqueFd(pair[1]);
  signalWrite = write_.get();
  struct sigaction action {};
  action.sa_handler = OnTerminate;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  notifier_ = new QSocketNotifier(read_.get(), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this, sessionEnd] {
    char byte;
    [[maybe_unused]] auto n = ::read(read_.get(), &byte, 1);
    sessionEnd();
  });
  connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
          [sessionEnd](QSessionManager&) { sessionEnd(); });
}

SessionSignals::~SessionSignals() {
  signal(SIGTERM, SIG_DFL);
  signal(SIGINT, SIG_DFL);
  signal(SIGHUP, SIG_DFL);
  signalWrite = -1;
}

void ReportDialogs(QObject& application, const std::filesystem::path& dataDir) {
  std::printf("data: %s\n", dataDir.c_str());
  std::fflush(stdout);
  application.installEventFilter(new WindowReporter(&application));
}

void ReportTitle(QWidget& panel) {
  QTimer::singleShot(0, &panel, [&panel] {
    std::printf("title: %s\n", panel.windowTitle().toUtf8().constData());
    std::fflush(stdout);
  });
}

}  // namespace ondivo
