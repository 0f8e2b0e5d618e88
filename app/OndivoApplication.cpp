#include "app/OndivoApplication.h"

#include <cstdio>
#include <exception>

namespace ondivo {

OndivoApplication::OndivoApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // No display name: Qt would append it to every window title, and the panel's title is
  // exactly "Ondivo - " and the station, which the taskbar and scripts read.
  setApplicationName("Ondivo");
  setQuitOnLastWindowClosed(false);
}

bool OndivoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ondivo: %s\n", e.what());
    QApplication::beep();
    return false;
  }
}

}  // namespace ondivo
