#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>

namespace ondivo {

class PanelRemote;

// Our own interface, org.ondivo.Radio1: the panel's own commands and what it shows, for scripts
// and `ondivo --send`. A refused call answers with an error that says why.
class RadioAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.ondivo.Radio1")
  Q_PROPERTY(QString Band READ band)
  Q_PROPERTY(double Frequency READ frequency)
  Q_PROPERTY(QString Station READ station)
  Q_PROPERTY(QString Signal READ signal)
  Q_PROPERTY(int Preset READ preset)
  Q_PROPERTY(int Volume READ volume)
  Q_PROPERTY(bool Muted READ muted)

 public:
  RadioAdaptor(QObject* holder, PanelRemote& remote, QDBusConnection bus);

  QString band() const;
  double frequency() const;  // MHz on both bands
  QString station() const;
  QString signal() const;
  int preset() const;
  int volume() const;  // percent
  bool muted() const;

 public slots:
  void Tune(const QString& band, double mhz, const QDBusMessage& call);
  void RecallPreset(int n, const QDBusMessage& call);
  void Scan(const QString& direction, const QDBusMessage& call);  // "up" or "down"
  void StopScan(const QDBusMessage& call);
  void SetVolume(int percent, const QDBusMessage& call);
  void Mute(bool muted, const QDBusMessage& call);
  void Show(const QDBusMessage& call);
  void Hide(const QDBusMessage& call);

 signals:
  void StationChanged(const QString& band, double frequency, const QString& station);

 private:
  PanelRemote& remote_;
  QDBusConnection bus_;
};

}  // namespace ondivo
