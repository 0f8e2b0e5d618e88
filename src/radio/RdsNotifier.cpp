#include "radio/RdsNotifier.h"

#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"

namespace ondivo {

RdsNotifier::RdsNotifier(TRadioCard& card, QObject* parent) : QObject(parent), card_(card) {
  Rearm();
}

RdsNotifier::~RdsNotifier() = default;

void RdsNotifier::Rearm() {
  notifier_.reset();
  const int fd = card_.RdsDescriptor();
  if (fd < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &RdsNotifier::Ready);
}

void RdsNotifier::Ready() {
  // Reading may close the descriptor (an unplug); the notifier must not watch it meanwhile.
  notifier_->setEnabled(false);
  bool changed = false;
  try {
    changed = card_.HandleRdsEvents();
  } catch (const eDeviceLost&) {
    notifier_.release()->deleteLater();
    if (OnDeviceLost) OnDeviceLost();
    return;
  }
  notifier_->setEnabled(true);
  if (changed && OnChanged) OnChanged();
}

}  // namespace ondivo
