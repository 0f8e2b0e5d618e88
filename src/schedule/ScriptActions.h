#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "radio/RadioTypes.h"
#include "stations/TimeText.h"

namespace ondivo {

// Action kind codes, as stored in zAction::Kind and named by the keyword table.
enum class tActionKind : uint8_t {
  akNone = 0,
  akMuteOn = 1,
  akMuteOff = 2,
  akBeep = 3,
  akVolume = 4,
  akJumpTo = 5,
  akPreset = 6,
  akOff = 7,
};
using enum tActionKind;

inline constexpr int kActionKindCount = 7;

// Kind of a keyword ("Mute on", "Beep", ...), compared without regard to case; akNone for any
// other text.
tActionKind ParseActionKeyword(std::string_view text);

// The keyword of a kind, which is also its name in the editor and on the panel; empty for akNone.
std::string_view ActionKeyword(tActionKind kind);

// One timed action of a script. Only the hour and minute of Time are ever used.
class zAction {
 public:
  explicit zAction(double time) : zAction(akNone, time) {}
  virtual ~zAction() = default;

  const tActionKind Kind;
  double Time;

  int Hour() const { return HourOf(Time); }
  int Minute() const { return MinuteOf(Time); }

  virtual std::unique_ptr<zAction> Clone() const;
  // Same kind, same hour and minute, same fields.
  bool operator==(const zAction& other) const;

 protected:
  zAction(tActionKind kind, double time) : Kind(kind), Time(time) {}
  zAction(const zAction&) = default;
  zAction& operator=(const zAction&) = delete;
  virtual bool SameFields(const zAction&) const { return true; }
};

class zMuteOn final : public zAction {
 public:
  explicit zMuteOn(double time) : zAction(akMuteOn, time) {}
  std::unique_ptr<zAction> Clone() const override;
};

class zMuteOff final : public zAction {
 public:
  explicit zMuteOff(double time) : zAction(akMuteOff, time) {}
  std::unique_ptr<zAction> Clone() const override;
};

class zBeep final : public zAction {
 public:
  explicit zBeep(double time) : zAction(akBeep, time) {}
  std::unique_ptr<zAction> Clone() const override;

  uint8_t Times = 1;         // number of tones, 1..50
  int32_t Frequency = 5000;  // Hz, 1..20000
  int32_t Duration = 300;    // ms, 1..1000

 private:
  bool SameFields(const zAction& other) const override;
};

class zVolume final : public zAction {
 public:
  explicit zVolume(double time) : zAction(akVolume, time) {}
  std::unique_ptr<zAction> Clone() const override;

  uint8_t Volume = 0;  // twentieths of full scale, 0..20

 private:
  bool SameFields(const zAction& other) const override;
};

class zJumpTo final : public zAction {
 public:
  // Band and stereo start as the card's current ones, the frequency at that band's lower end.
  zJumpTo(double time, tBand cardBand, bool cardStereo);
  std::unique_ptr<zAction> Clone() const override;

  double Frequency;  // MHz
  tBand Band;
  bool Stereo;

 private:
  bool SameFields(const zAction& other) const override;
};

class zPreset final : public zAction {
 public:
  zPreset(double time, bool cardStereo) : zAction(akPreset, time), Stereo(cardStereo) {}
  std::unique_ptr<zAction> Clone() const override;

  uint8_t Preset = 0;  // 1..100
  bool Stereo;

 private:
  bool SameFields(const zAction& other) const override;
};

class zOff final : public zAction {
 public:
  explicit zOff(double time) : zAction(akOff, time) {}
  std::unique_ptr<zAction> Clone() const override;
};

// A new action of the given kind with its constructor defaults; null for akNone or an unknown
// code.
std::unique_ptr<zAction> CreateAction(tActionKind kind, double time, tBand cardBand,
                                      bool cardStereo);

}  // namespace ondivo
