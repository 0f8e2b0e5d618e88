#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantMap>

class QDBusAbstractAdaptor;

namespace ondivo {

// The error every refused call answers with; its text says why.
inline constexpr const char* kRefusedError = "org.ondivo.Radio1.Error.Refused";

// Tells the bus which properties of one adaptor changed: the standard PropertiesChanged signal
// with the properties whose values differ from the ones last told.
class BusProperties {
 public:
  BusProperties(QDBusConnection bus, QString path, const QDBusAbstractAdaptor& adaptor);

  // The names of the properties that changed since the last call, after signalling them.
  QStringList Update();

 private:
  QVariantMap Read() const;

  QDBusConnection bus_;
  QString path_;
  const QDBusAbstractAdaptor& adaptor_;
  QString interface_;
  QVariantMap told_;
};

// Answers a call with the refusal as its error; a call with no refusal gets its normal reply.
void AnswerRefusal(const QDBusConnection& bus, const QDBusMessage& call, const QString& refusal);

}  // namespace ondivo
