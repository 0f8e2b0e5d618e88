#pragma once

#include <QApplication>

namespace ondivo {

// The application object: Ondivo's name, a panel that lives on while its window is hidden in
// the tray, and no error escaping an event handler ends the program.
class OndivoApplication final : public QApplication {
 public:
  OndivoApplication(int& argc, char** argv);

  // An error that no handler caught only sounds the beep, as the panel always did; its text
  // goes to the log (stderr).
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ondivo
