#include "remote/SendClient.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QVariant>

namespace ondivo {

namespace {

QVariant ToVariant(const tRemoteArgument& argument) {
  return std::visit(
      [](const auto& value) -> QVariant {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return QString::fromStdString(value);
        } else {
          return QVariant::fromValue(value);
        }
      },
      argument);
}

int Fail(std::FILE* err, const QString& why) {
  std::fprintf(err, "ondivo: %s\n", why.toLocal8Bit().constData());
  return 1;
}

}  // namespace

int SendToRunningCopy(const tSendRequest& request, const QDBusConnection& bus, std::FILE* out,
                      std::FILE* err) {
  if (!bus.isConnected()) {
    return Fail(
        err, "no session bus, so no running copy to send to (" + bus.lastError().message() + ")");
  }
  if (!bus.interface()->isServiceRegistered(kRadioService)) {
    return Fail(err, "Ondivo is not running: nothing to send to");
  }
  if (request.Call) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kRadioService, kRadioPath, kRadioInterface, QString::fromStdString(request.Call->Method));
    for (const tRemoteArgument& argument : request.Call->Arguments) call << ToVariant(argument);
    const QDBusMessage reply = bus.call(call);
    if (reply.type() == QDBusMessage::ErrorMessage) return Fail(err, reply.errorMessage());
  }
  QDBusMessage ask = QDBusMessage::createMethodCall(kRadioService, kRadioPath,
                                                    "org.freedesktop.DBus.Properties", "GetAll");
  ask << QString(kRadioInterface);
  const QDBusMessage reply = bus.call(ask);
  if (reply.type() == QDBusMessage::ErrorMessage || reply.arguments().isEmpty()) {
    return Fail(err, reply.errorMessage());
  }
  const QVariantMap values = qdbus_cast<QVariantMap>(reply.arguments().at(0));
  tRemoteStatus status;
  status.Band = values.value("Band").toString().toStdString();
  status.Frequency = values.value("Frequency").toDouble();
  status.Station = values.value("Station").toString().toStdString();
  status.Signal = values.value("Signal").toString().toStdString();
  status.Preset = values.value("Preset").toInt();
  status.Volume = values.value("Volume").toInt();
  status.Muted = values.value("Muted").toBool();
  std::fputs(FormatRemoteStatus(status).c_str(), out);
  return 0;
}

}  // namespace ondivo
