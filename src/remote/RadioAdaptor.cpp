#include "remote/RadioAdaptor.h"

#include <cmath>

#include "remote/BusProperties.h"
#include "remote/PanelRemote.h"

namespace ondivo {

RadioAdaptor::RadioAdaptor(QObject* holder, PanelRemote& remote, QDBusConnection bus)
    : QDBusAbstractAdaptor(holder), remote_(remote), bus_(std::move(bus)) {}

QString RadioAdaptor::band() const {
  return remote_.Band();
}

double RadioAdaptor::frequency() const {
  return remote_.Frequency();
}

QString RadioAdaptor::station() const {
  return remote_.StationName();
}

QString RadioAdaptor::signal() const {
  return remote_.Signal();
}

int RadioAdaptor::preset() const {
  return remote_.Preset();
}

int RadioAdaptor::volume() const {
  return static_cast<int>(std::lround(remote_.Volume() * 100.0));
}

bool RadioAdaptor::muted() const {
  return remote_.Muted();
}

void RadioAdaptor::Tune(const QString& band, double mhz, const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.Tune(band, mhz));
}

void RadioAdaptor::RecallPreset(int n, const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.RecallPreset(n));
}

void RadioAdaptor::Scan(const QString& direction, const QDBusMessage& call) {
  if (direction != "up" && direction != "down") {
    AnswerRefusal(bus_, call, "Scan goes up or down, not " + direction);
    return;
  }
  AnswerRefusal(bus_, call, remote_.Scan(direction == "up"));
}

void RadioAdaptor::StopScan(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.StopScan());
}

void RadioAdaptor::SetVolume(int percent, const QDBusMessage& call) {
  if (percent < 0 || percent > 100) {
    AnswerRefusal(bus_, call, QString("The volume goes from 0 to 100 %, not %1").arg(percent));
    return;
  }
  AnswerRefusal(bus_, call, remote_.SetVolume(percent / 100.0));
}

void RadioAdaptor::Mute(bool muted, const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.SetMuted(muted));
}

void RadioAdaptor::Show(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.Show());
}

void RadioAdaptor::Hide(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.Hide());
}

}  // namespace ondivo
