#include "schedule/ScriptActions.h"

#include <array>

#include "platform/AsciiText.h"
#include "stations/FrequencyText.h"

namespace ondivo {

namespace {

constexpr std::array<std::string_view, kActionKindCount> kKeywords = {
    "Mute on", "Mute off", "Beep", "Volume", "Jump to", "Preset", "Off"};

template <typename T>
const T& As(const zAction& action) {
  return static_cast<const T&>(action);
}

}  // namespace

tActionKind ParseActionKeyword(std::string_view text) {
  for (size_t i = 0; i < kKeywords.size(); ++i) {
    if (EqualsIgnoringCase(text, kKeywords[i])) return static_cast<tActionKind>(i + 1);
  }
  return akNone;
}

std::string_view ActionKeyword(tActionKind kind) {
  const auto code = static_cast<size_t>(kind);
  if (code < 1 || code > kKeywords.size()) return {};
  return kKeywords[code - 1];
}

std::unique_ptr<zAction> zAction::Clone() const {
  return std::unique_ptr<zAction>(new zAction(*this));
}

bool zAction::operator==(const zAction& other) const {
  return Kind == other.Kind && Hour() == other.Hour() && Minute() == other.Minute() &&
         SameFields(other);
}

std::unique_ptr<zAction> zMuteOn::Clone() const {
  return std::make_unique<zMuteOn>(*this);
}
std::unique_ptr<zAction> zMuteOff::Clone() const {
  return std::make_unique<zMuteOff>(*this);
}
std::unique_ptr<zAction> zBeep::Clone() const {
  return std::make_unique<zBeep>(*this);
}
std::unique_ptr<zAction> zVolume::Clone() const {
  return std::make_unique<zVolume>(*this);
}
std::unique_ptr<zAction> zJumpTo::Clone() const {
  return std::make_unique<zJumpTo>(*this);
}
std::unique_ptr<zAction> zPreset::Clone() const {
  return std::make_unique<zPreset>(*this);
}
std::unique_ptr<zAction> zOff::Clone() const {
  return std::make_unique<zOff>(*this);
}

bool zBeep::SameFields(const zAction& other) const {
  const auto& o = As<zBeep>(other);
  return Times == o.Times && Frequency == o.Frequency && Duration == o.Duration;
}

bool zVolume::SameFields(const zAction& other) const {
  return Volume == As<zVolume>(other).Volume;
}

zJumpTo::zJumpTo(double time, tBand cardBand, bool cardStereo)
    : zAction(akJumpTo, time),
      Frequency(cardBand == bAM ? kAMMin : kJapaneseFMMin),
      Band(cardBand),
      Stereo(cardStereo) {}

bool zJumpTo::SameFields(const zAction& other) const {
  const auto& o = As<zJumpTo>(other);
  return SameFrequency(Frequency, o.Frequency) && Band == o.Band && Stereo == o.Stereo;
}

bool zPreset::SameFields(const zAction& other) const {
  const auto& o = As<zPreset>(other);
  return Preset == o.Preset && Stereo == o.Stereo;
}

std::unique_ptr<zAction> CreateAction(tActionKind kind, double time, tBand cardBand,
                                      bool cardStereo) {
  switch (kind) {
    case akMuteOn:
      return std::make_unique<zMuteOn>(time);
    case akMuteOff:
      return std::make_unique<zMuteOff>(time);
    case akBeep:
      return std::make_unique<zBeep>(time);
    case akVolume:
      return std::make_unique<zVolume>(time);
    case akJumpTo:
      return std::make_unique<zJumpTo>(time, cardBand, cardStereo);
    case akPreset:
      return std::make_unique<zPreset>(time, cardStereo);
    case akOff:
      return std::make_unique<zOff>(time);
    case akNone:
      break;
  }
  return nullptr;
}

}  // namespace ondivo
