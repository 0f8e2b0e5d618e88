#pragma once

#include <QObject>

namespace ondivo {

class tdMain;

// The panel's key handler. It sits on the window and on the controls that take the focus (the
// preset buttons and the frequency, step and volume sliders) and sees a typed character before
// the control does: a character the key string names runs its command as the menu item would;
// any other key (arrows, Tab, Space on a button) is left to the control.
class KeyCommandFilter final : public QObject {
 public:
  // Installs itself on the window and its focusable controls; the window owns it.
  explicit KeyCommandFilter(tdMain& window);

  // KeyPress: runs the command of a typed character; false when the key string names none.
  bool KeyPress(char32_t typed);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  tdMain& window_;
};

// Every command's menu item names its key after a tab, as the current key string has it.
void ShowKeyHints(const tdMain& window);

}  // namespace ondivo
