#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace ondivo {

class TRadioCard;

// Feeds the card's RDS blocks to its decoder from the event loop: a socket notifier on the
// card's RDS descriptor calls HandleRdsEvents whenever blocks wait, so the panel never blocks
// on the device. Call Rearm after the card was switched on or off (the descriptor comes and
// goes with the device).
class RdsNotifier final : public QObject {
 public:
  explicit RdsNotifier(TRadioCard& card, QObject* parent = nullptr);
  ~RdsNotifier() override;

  void Rearm();
  bool Armed() const { return notifier_ != nullptr; }

  // The decoded station (PI, service name, RadioText) changed.
  std::function<void()> OnChanged;
  // The device vanished while blocks were read; the notifier has stopped. Show
  // kDeviceLostMessage.
  std::function<void()> OnDeviceLost;

 private:
  void Ready();

  TRadioCard& card_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace ondivo
