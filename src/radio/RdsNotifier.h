#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

namespace ondivo {

class TRadioCard;

// Feeds the card's RDS blocks to its decoder from the event loop: a socket notifier on the
// card's RDS descriptor calls HandleRdsEvents whenever blocks wait, so the panel never blocks
// on the device. Call Rearm after the card was switched on (the descriptor comes with the
// device); it lets go of a descriptor by itself just before the card closes it.
//
// After each read the notifier rests before it looks again. RDS brings some 46 blocks a second
// and drivers keep a second or more of them, so nothing is lost; but some drivers' nodes (the
// kernel's vivid radio, for one) are always readable, and without the rest the event loop
// would wake for them without end.
class RdsNotifier final : public QObject {
 public:
  static constexpr int kRestMs = 200;

  explicit RdsNotifier(TRadioCard& card, QObject* parent = nullptr);
  ~RdsNotifier() override;

  void Rearm();
  bool Armed() const { return notifier_ != nullptr; }
  void SetRestMs(int ms) { rest_.setInterval(ms); }
  // How often the descriptor woke the notifier since it was made.
  int Activations() const { return activations_; }

  // The decoded station (PI, service name, RadioText) changed.
  std::function<void()> OnChanged;
  // The device vanished while blocks were read; the notifier has stopped. Show
  // kDeviceLostMessage.
  std::function<void()> OnDeviceLost;

 private:
  void Ready();
  void StopWatching();

  TRadioCard& card_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer rest_;
  int activations_ = 0;
};

}  // namespace ondivo
