#include "schedule/AlarmValues.h"

#include <gtest/gtest.h>

#include "tests/support/PanelRig.h"

namespace ondivo {
namespace {

using test::PanelRig;

// Presets 7 (FM 98.0), 12 (AM 999 kHz), 100 (FM 88.1); 50 is not defined.
void StoreStations(PresetsBank& bank) {
  bank.Store(7, "Forum", 98.0, bFM);
  bank.Store(12, "Talk", 0.999, bAM);
  bank.Store(100, "Classic", 88.1, bFM);
}

std::vector<std::string> Texts(const tAlarmValues& v) {
  std::vector<std::string> texts;
  for (const auto& e : v.Entries()) texts.push_back(e.Text);
  return texts;
}

TEST(AlarmValuesTest, ListsTheDefinedPresetsTheCardCanReceiveWithPresetHundredAsDoubleZero) {
  PanelRig fmOnly(mRadioTrack);
  StoreStations(fmOnly.bank);
  EXPECT_EQ(Texts(tAlarmValues({6, 30, 0}, fmOnly.bank, fmOnly.card, 0)),
            (std::vector<std::string>{"07 - Forum", "00 - Classic"}));

  PanelRig withAM(mRadioMan);
  StoreStations(withAM.bank);
  withAM.card.SetJapaneseFM(true);  // 76 to 91 MHz: 98.0 is out of reach
  EXPECT_EQ(Texts(tAlarmValues({6, 30, 0}, withAM.bank, withAM.card, 0)),
            (std::vector<std::string>{"12 - Talk", "00 - Classic"}));
}

TEST(AlarmValuesTest, SelectsTheAlarmStationElseTheCurrentPresetElseNothing) {
  PanelRig r(mRadioTrack);
  StoreStations(r.bank);
  tAlarmValues handed({7, 15, 100}, r.bank, r.card, 7);
  EXPECT_EQ(handed.Selected(), 1);
  ASSERT_TRUE(handed.OkEnabled());
  // Preset 100 comes back from its "00".
  EXPECT_EQ(handed.Result(), (tAlarmSetting{7, 15, 100}));

  // The AM preset is not listed on this card: the current preset is offered instead.
  EXPECT_EQ(tAlarmValues({7, 15, 12}, r.bank, r.card, 7).Result(), (tAlarmSetting{7, 15, 7}));

  tAlarmValues neither({7, 15, 12}, r.bank, r.card, 50);
  EXPECT_EQ(neither.Selected(), std::nullopt);
  EXPECT_FALSE(neither.OkEnabled());
  neither.Select(1);
  EXPECT_TRUE(neither.OkEnabled());
  EXPECT_EQ(neither.Result().Station, 100);
  neither.Select(2);  // past the list's end
  EXPECT_FALSE(neither.OkEnabled());
}

TEST(AlarmValuesTest, WithNoReceivableStationOkStaysDisabled) {
  PanelRig r(mRadioTrack);
  r.bank.Store(12, "Talk", 0.999, bAM);
  tAlarmValues v({6, 30, 12}, r.bank, r.card, 12);
  EXPECT_TRUE(v.Entries().empty());
  v.Select(0);
  EXPECT_FALSE(v.OkEnabled());
}

TEST(AlarmValuesTest, SixtyMinutesRollOverIntoTheNextHourAndMidnight) {
  PanelRig r(mRadioTrack);
  StoreStations(r.bank);
  tAlarmValues v({6, 5, 7}, r.bank, r.card, 0);
  EXPECT_EQ(v.Digits(), "0605");
  v.SetMinute(59);
  v.SetMinute(60);
  EXPECT_EQ(v.Digits(), "0700");
  EXPECT_TRUE(v.OkEnabled());
  v.SetHour(23);
  v.SetMinute(60);
  EXPECT_EQ(v.Hour(), 0);
  EXPECT_EQ(v.Minute(), 0);
  EXPECT_EQ(v.Result(), (tAlarmSetting{0, 0, 7}));
  // A time out of range from the configuration is brought into range.
  EXPECT_EQ(tAlarmValues({31, 75, 7}, r.bank, r.card, 0).Digits(), "2359");
}

}  // namespace
}  // namespace ondivo
