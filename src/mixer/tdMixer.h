#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "mixer/MixerStrips.h"
#include "radio/RadioTypes.h"

class QLabel;
class QSlider;
class QToolButton;

namespace ondivo {

class MixerEventNotifier;
class TMixer;

// "Mixer control": the master output and three input lines of the sound card, with bass and
// treble. Works on a mixer of its own and follows what other programs change on the card.
class tdMixer : public QDialog {
 public:
  using HelpHook = std::function<void(const std::string& topic)>;

  // routed: the radio's volume line, whose strip title is bold.
  tdMixer(std::unique_ptr<TMixer> mixer, tVolumeLine routed, HelpHook help = {},
          QWidget* parent = nullptr);
  ~tdMixer() override;

  // Shows the dialog modally until "Ok".
  static void Run(QWidget* parent, std::unique_ptr<TMixer> mixer, tVolumeLine routed,
                  HelpHook help = {});

  // Widgets the tests look at.
  QSlider* Volume(tMixerStrip strip) const { return strips_[Index(strip)].Volume; }
  QSlider* Panning(tMixerStrip strip) const { return strips_[Index(strip)].Panning; }
  QToolButton* Mute(tMixerStrip strip) const { return strips_[Index(strip)].Mute; }
  QLabel* Title(tMixerStrip strip) const { return strips_[Index(strip)].Title; }
  QSlider* Bass() const { return bass_; }
  QSlider* Treble() const { return treble_; }
  TMixer& Mixer() { return *mixer_; }

 private:
  struct Strip {
    QLabel* Title = nullptr;
    QSlider* Panning = nullptr;
    QSlider* Volume = nullptr;
    QToolButton* Mute = nullptr;
  };
  static size_t Index(tMixerStrip strip) { return static_cast<size_t>(strip); }
  QWidget* BuildStrip(tMixerStrip strip, bool bold);
  QWidget* BuildAdvanced();
  void Fill();
  void Follow(tMixerControlType control);

  std::unique_ptr<TMixer> mixer_;
  // Owned here rather than as a child, so that it lets go of the mixer before the mixer goes.
  std::unique_ptr<MixerEventNotifier> notifier_;
  HelpHook help_;
  std::array<Strip, 4> strips_{};
  QSlider* bass_ = nullptr;
  QSlider* treble_ = nullptr;
};

}  // namespace ondivo
