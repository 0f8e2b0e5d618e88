#include "radio/RdsNotifier.h"

#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"

namespace ondivo {

RdsNotifier::RdsNotifier(TRadioCard& card, QObject* parent) : QObject(parent), card_(card) {
  rest_.setSingleShot(true);
  rest_.setInterval(kRestMs);
  connect(&rest_, &QTimer::timeout, this, [this] {
    if (notifier_) notifier_->setEnabled(true);
  });
  // A closed descriptor's number can come back for another file at once.
  card_.OnDeviceClosing = [this] { StopWatching(); };
  Rearm();
}

RdsNotifier::~RdsNotifier() {
  card_.OnDeviceClosing = nullptr;
}

void RdsNotifier::StopWatching() {
  rest_.stop();
  if (!notifier_) return;
  // Deleted later: this may run inside the notifier's own signal.
  notifier_->setEnabled(false);
  notifier_.release()->deleteLater();
}

void RdsNotifier::Rearm() {
  StopWatching();
  const int fd = card_.RdsDescriptor();
  if (fd < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &RdsNotifier::Ready);
}

void RdsNotifier::Ready() {
  ++activations_;
  // Reading may close the descriptor (an unplug); the notifier must not watch it meanwhile.
  notifier_->setEnabled(false);
  bool changed = false;
  try {
    changed = card_.HandleRdsEvents();
  } catch (const eRadioCardError&) {
    // Lost, or busy (another reader holds the RDS stream): either way no blocks come here.
    StopWatching();
    if (OnDeviceLost && card_.DeviceLost()) OnDeviceLost();
    return;
  }
  rest_.start();
  if (changed && OnChanged) OnChanged();
}

}  // namespace ondivo
