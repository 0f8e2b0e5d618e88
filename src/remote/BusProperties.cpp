#include "remote/BusProperties.h"

#include <QDBusAbstractAdaptor>
#include <QMetaProperty>

namespace ondivo {

BusProperties::BusProperties(QDBusConnection bus, QString path, const QDBusAbstractAdaptor& adaptor)
    : bus_(std::move(bus)), path_(std::move(path)), adaptor_(adaptor) {
  const QMetaObject* meta = adaptor_.metaObject();
  interface_ =
      QString::fromLatin1(meta->classInfo(meta->indexOfClassInfo("D-Bus Interface")).value());
  told_ = Read();
}

QVariantMap BusProperties::Read() const {
  QVariantMap values;
  const QMetaObject* meta = adaptor_.metaObject();
  for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
    const QMetaProperty property = meta->property(i);
    values.insert(QString::fromLatin1(property.name()), property.read(&adaptor_));
  }
  return values;
}

QStringList BusProperties::Update() {
  const QVariantMap now = Read();
  QVariantMap changed;
  for (auto it = now.cbegin(); it != now.cend(); ++it) {
    if (told_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
  }
  told_ = now;
  if (changed.isEmpty()) return {};
  QDBusMessage signal =
      QDBusMessage::createSignal(path_, "org.freedesktop.DBus.Properties", "PropertiesChanged");
  signal << interface_ << changed << QStringList();
  bus_.send(signal);
  return changed.keys();
}

void AnswerRefusal(const QDBusConnection& bus, const QDBusMessage& call, const QString& refusal) {
  if (refusal.isEmpty()) return;
  call.setDelayedReply(true);
  bus.send(call.createErrorReply(kRefusedError, refusal));
}

}  // namespace ondivo
