#pragma once

#include <QObject>
#include <QString>

namespace ondivo {

class tdMain;

// What the remote controls on the session bus read of the panel and do to it. Every action
// enters the panel by the door its buttons, menus and keys use, so the scan gate and the device
// guard hold for it as well. Actions answer an empty text when done, else why they were refused.
class PanelRemote final : public QObject {
  Q_OBJECT

 public:
  explicit PanelRemote(tdMain& panel);
  ~PanelRemote() override;

  // What the panel shows, as the remotes report it.
  QString Band() const;          // "FM" / "AM"
  double Frequency() const;      // MHz
  QString StationName() const;   // the preset's or the RDS name; empty without one
  QString StationLabel() const;  // "Name (98.5 MHz)", as the title and the tray show it
  QString RadioText() const;     // RDS RadioText; empty where the radio gives none
  QString Signal() const;        // the status flag: "?????", "Tuned", "Stereo", "Mono"
  int Preset() const;            // 0: none
  bool HasPresets() const;
  bool Muted() const;
  double Volume() const;  // 0..1 of the volume slider

  QString Tune(const QString& band, double mhz);
  QString RecallPreset(int n);
  // The next (step > 0) or previous assigned preset, wrapping round.
  QString StepPreset(int step);
  // The scan runs after the answer: its loop holds the panel until it stops.
  QString Scan(bool up);
  QString StopScan();
  QString SetVolume(double fraction);
  QString SetMuted(bool muted);
  QString Show();
  QString Hide();
  QString Quit();

 signals:
  // Something the panel shows changed: the station, the signal, mute, volume or presets.
  void Changed();

 private:
  // Why the panel takes no remote action now; empty when it does.
  QString Busy() const;

  tdMain& panel_;
};

}  // namespace ondivo
