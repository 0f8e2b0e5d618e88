#include "platform/SystemLocale.h"

#include <QLocale>

namespace ondivo {

LocaleFormat ReadSystemLocale() {
  const QLocale locale = QLocale::system();
  LocaleFormat format;
  const QString decimal = locale.decimalPoint();
  if (decimal.size() == 1 && decimal.at(0).unicode() < 0x80) {
    format.DecimalSeparator = static_cast<char>(decimal.at(0).unicode());
  }
  format.LongTimeFormat = locale.timeFormat(QLocale::LongFormat).toStdString();
  for (const QChar c : locale.timeFormat(QLocale::ShortFormat)) {
    if (!c.isLetterOrNumber() && !c.isSpace() && c.unicode() < 0x80) {
      format.TimeSeparator = static_cast<char>(c.unicode());
      break;
    }
  }
  return format;
}

}  // namespace ondivo
