#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>
#include <vector>

#include "mixer/Mixer.h"

namespace ondivo {

// Watches a mixer's change descriptors on the Qt event loop and lets the mixer take its change
// reports when one becomes readable. Follows the mixer through reopening. Must not outlive it.
class MixerEventNotifier : public QObject {
 public:
  explicit MixerEventNotifier(TMixer& mixer, QObject* parent = nullptr);
  ~MixerEventNotifier() override;

  // Number of descriptors watched now.
  size_t Watched() const;

 private:
  void Rebuild();
  void StopWatching();

  TMixer& mixer_;
  std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
};

}  // namespace ondivo
