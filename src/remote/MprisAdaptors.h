#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace ondivo {

class PanelRemote;

// MPRIS2's root interface: the desktop's name for the player, raising it and quitting it.
class MprisRoot final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ canQuit)
  Q_PROPERTY(bool CanRaise READ canRaise)
  Q_PROPERTY(bool HasTrackList READ hasTrackList)
  Q_PROPERTY(QString Identity READ identity)
  Q_PROPERTY(QString DesktopEntry READ desktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

 public:
  MprisRoot(QObject* holder, PanelRemote& remote, QDBusConnection bus);

  bool canQuit() const { return true; }
  bool canRaise() const { return true; }
  bool hasTrackList() const { return false; }
  QString identity() const { return "Ondivo"; }
  QString desktopEntry() const { return "org.ondivo.Ondivo"; }  // the installed .desktop file
  QStringList supportedUriSchemes() const { return {}; }
  QStringList supportedMimeTypes() const { return {}; }

 public slots:
  void Raise(const QDBusMessage& call);
  void Quit(const QDBusMessage& call);

 private:
  PanelRemote& remote_;
  QDBusConnection bus_;
};

// MPRIS2's player: playing is sound on and pausing is mute, the next and previous tracks are
// the presets, the track is the station.
class MprisPlayer final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
  Q_PROPERTY(double Rate READ rate WRITE setRate)
  Q_PROPERTY(QVariantMap Metadata READ metadata)
  Q_PROPERTY(double Volume READ volume WRITE setVolume)
  Q_PROPERTY(qlonglong Position READ position)
  Q_PROPERTY(double MinimumRate READ rate)
  Q_PROPERTY(double MaximumRate READ rate)
  Q_PROPERTY(bool CanGoNext READ hasPresets)
  Q_PROPERTY(bool CanGoPrevious READ hasPresets)
  Q_PROPERTY(bool CanPlay READ canControl)
  Q_PROPERTY(bool CanPause READ canControl)
  Q_PROPERTY(bool CanSeek READ canSeek)
  Q_PROPERTY(bool CanControl READ canControl)

 public:
  MprisPlayer(QObject* holder, PanelRemote& remote, QDBusConnection bus);

  QString playbackStatus() const;
  double rate() const { return 1.0; }
  void setRate(double) {}  // live radio plays at its own pace
  QVariantMap metadata() const;
  double volume() const;
  void setVolume(double volume);
  qlonglong position() const { return 0; }
  bool hasPresets() const;
  bool canControl() const { return true; }
  bool canSeek() const { return false; }

 public slots:
  void Next(const QDBusMessage& call);
  void Previous(const QDBusMessage& call);
  void Pause(const QDBusMessage& call);
  void PlayPause(const QDBusMessage& call);
  void Stop(const QDBusMessage& call);
  void Play(const QDBusMessage& call);
  void Seek(qlonglong) {}
  void SetPosition(const QDBusObjectPath&, qlonglong) {}
  void OpenUri(const QString&) {}

 signals:
  void Seeked(qlonglong Position);

 private:
  PanelRemote& remote_;
  QDBusConnection bus_;
};

}  // namespace ondivo
