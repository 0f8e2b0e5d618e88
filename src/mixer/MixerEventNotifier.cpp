#include "mixer/MixerEventNotifier.h"

#include <algorithm>

#include "mixer/MixerErrors.h"

namespace ondivo {

MixerEventNotifier::MixerEventNotifier(TMixer& mixer, QObject* parent)
    : QObject(parent), mixer_(mixer) {
  mixer_.OnDescriptorsChanged = [this] { Rebuild(); };
  Rebuild();
}

MixerEventNotifier::~MixerEventNotifier() {
  mixer_.OnDescriptorsChanged = nullptr;
  StopWatching();
}

size_t MixerEventNotifier::Watched() const {
  return static_cast<size_t>(std::count_if(notifiers_.begin(), notifiers_.end(),
                                           [](const auto& n) { return n->isEnabled(); }));
}

void MixerEventNotifier::StopWatching() {
  // Deleted later: this may run inside one of their own signals.
  for (auto& notifier : notifiers_) {
    notifier->setEnabled(false);
    notifier.release()->deleteLater();
  }
  notifiers_.clear();
}

void MixerEventNotifier::Rebuild() {
  StopWatching();
  for (const pollfd& fd : mixer_.PollDescriptors()) {
    if (!(fd.events & POLLIN)) continue;
    auto notifier = std::make_unique<QSocketNotifier>(fd.fd, QSocketNotifier::Read);
    // A card that fails to give its reports would keep its descriptor readable and spin the
    // event loop; it is no longer watched until the mixer is opened again. An error of the
    // handlers the reports reach says nothing about the mixer and is not this watcher's to
    // swallow.
    connect(notifier.get(), &QSocketNotifier::activated, this, [this] {
      try {
        mixer_.HandleEvents();
      } catch (const eMMError&) {
        for (auto& n : notifiers_) n->setEnabled(false);
      }
    });
    notifiers_.push_back(std::move(notifier));
  }
}

}  // namespace ondivo
