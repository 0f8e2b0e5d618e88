#include "panel/KeyCommandFilter.h"

#include <QAction>
#include <QKeyEvent>
#include <QSlider>
#include <QToolButton>

#include "panel/KeyCommands.h"
#include "panel/tdMain.h"

namespace ondivo {

KeyCommandFilter::KeyCommandFilter(tdMain& window) : QObject(&window), window_(window) {
  window.installEventFilter(this);
  for (int button = 1; button <= 10; ++button)
    window.PresetButton(button)->installEventFilter(this);
  for (QSlider* slider :
       {window.FrequencySlider(), window.VolumeSlider(), window.findChild<QSlider*>("sStep")}) {
    if (slider) slider->installEventFilter(this);
  }
}

bool KeyCommandFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  // Ctrl, Alt and Meta make a shortcut, not a typed character; Shift and the keypad do not.
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = key->text();
  return text.size() == 1 && KeyPress(text[0].unicode());
}

bool KeyCommandFilter::KeyPress(char32_t typed) {
  const auto id = KeyCommands(window_.Settings().KeyboardCommands).CommandFor(typed);
  if (!id) return false;
  window_.Run(*id);
  return true;
}

void ShowKeyHints(const tdMain& window) {
  const KeyCommands keys(window.Settings().KeyboardCommands);
  for (const tPanelCommand& command : kPanelCommands) {
    QAction* action = window.Action(command.Id);
    const QString caption = action->text().section(QLatin1Char('\t'), 0, 0);
    action->setText(caption + QLatin1Char('\t') +
                    QString::fromLatin1(keys.KeyName(command.Id).c_str()));
  }
}

}  // namespace ondivo
