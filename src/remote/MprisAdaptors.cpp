#include "remote/MprisAdaptors.h"

#include <algorithm>
#include <cmath>

#include "remote/BusProperties.h"
#include "remote/PanelRemote.h"

namespace ondivo {

MprisRoot::MprisRoot(QObject* holder, PanelRemote& remote, QDBusConnection bus)
    : QDBusAbstractAdaptor(holder), remote_(remote), bus_(std::move(bus)) {}

void MprisRoot::Raise(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.Show());
}

void MprisRoot::Quit(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.Quit());
}

MprisPlayer::MprisPlayer(QObject* holder, PanelRemote& remote, QDBusConnection bus)
    : QDBusAbstractAdaptor(holder), remote_(remote), bus_(std::move(bus)) {}

QString MprisPlayer::playbackStatus() const {
  return remote_.Muted() ? "Paused" : "Playing";
}

QVariantMap MprisPlayer::metadata() const {
  // The track is the station: one id per band and kHz, so a client sees a retune as a new track.
  const long khz = std::lround(remote_.Frequency() * 1000.0);
  QVariantMap data;
  data.insert("mpris:trackid",
              QVariant::fromValue(QDBusObjectPath(
                  QString("/org/ondivo/Radio/Station/%1%2").arg(remote_.Band()).arg(khz))));
  data.insert("xesam:title", remote_.StationLabel());
  if (const QString text = remote_.RadioText(); !text.isEmpty()) {
    data.insert("xesam:artist", QStringList{text});
  }
  return data;
}

double MprisPlayer::volume() const {
  return remote_.Volume();
}

void MprisPlayer::setVolume(double volume) {
  // A property write has no answer: a level out of range is taken as the nearest end.
  remote_.SetVolume(std::clamp(volume, 0.0, 1.0));
}

bool MprisPlayer::hasPresets() const {
  return remote_.HasPresets();
}

void MprisPlayer::Next(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.StepPreset(+1));
}

void MprisPlayer::Previous(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.StepPreset(-1));
}

void MprisPlayer::Pause(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.SetMuted(true));
}

void MprisPlayer::PlayPause(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.SetMuted(!remote_.Muted()));
}

void MprisPlayer::Stop(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.SetMuted(true));
}

void MprisPlayer::Play(const QDBusMessage& call) {
  AnswerRefusal(bus_, call, remote_.SetMuted(false));
}

}  // namespace ondivo
