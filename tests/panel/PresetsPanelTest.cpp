#include "panel/PresetsPanel.h"

#include <gtest/gtest.h>

#include "panel/PanelReadout.h"
#include "stations/PresetsFile.h"
#include "tests/support/PanelRig.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/V4l2Rig.h"

namespace ondivo {
namespace {

using test::PanelRig;
using test::ScriptedPrompter;

struct PresetsRig : PanelRig {
  explicit PresetsRig(tModel model = mRadioTrack) : PanelRig(model) {}
  PresetsPanel presets{Model()};
  ScriptedPrompter prompts;
};

TEST(PresetsPanelTest, PresetHundredIsButtonTenOfPageTenCaptionedDoubleZero) {
  PresetsRig r;
  r.bank.Store(100, "Classic", 88.1, bFM);
  for (int i = 0; i < 12; ++i) r.presets.NextPage();
  EXPECT_EQ(r.state.Page, 10);
  EXPECT_FALSE(r.presets.NextPage());
  EXPECT_EQ(r.presets.PresetOnButton(10), 100);
  EXPECT_EQ(PresetsPanel::ButtonOf(100), 10);
  EXPECT_EQ(r.presets.Button(10).Caption, "00");
  EXPECT_EQ(r.presets.Button(1).Caption, "91");
  EXPECT_EQ(r.presets.Button(10).Hint, "Classic (88.1 MHz)");
  EXPECT_EQ(r.presets.Button(1).Hint, "");
}

TEST(PresetsPanelTest, GlyphsTakeTheColourOfBandAndAssignmentAndLightTheCurrentPreset) {
  PresetsRig r(mRadioMan);
  r.settings.ColorFavAssButtonFM = 2;
  r.settings.ColorFavAssButtonAM = 5;
  r.settings.ColorFavNotAssButton = 7;
  r.bank.Store(1, "Forum", 98.0, bFM);
  r.bank.Store(2, "Talk", 0.999, bAM);
  EXPECT_EQ(r.presets.Button(1).Glyph, "BT2OFF");
  EXPECT_EQ(r.presets.Button(2).Glyph, "BT5OFF");
  EXPECT_EQ(r.presets.Button(3).Glyph, "BT7OFF");
  ASSERT_EQ(r.presets.Press(2), tPresetPress::Recalled);
  EXPECT_EQ(r.card.Band(), bAM);
  EXPECT_EQ(r.presets.Button(2).Glyph, "BT5ON");
  EXPECT_EQ(r.presets.Button(1).Glyph, "BT2OFF");
  r.presets.NextPage();  // preset 2 is not on page 2: nothing there is lit
  for (int b = 1; b <= 10; ++b) EXPECT_EQ(r.presets.Button(b).Glyph, "BT7OFF");
}

TEST(PresetsPanelTest, MemAndClrExcludeEachOtherAndMemIsRefusedOnAStoredStation) {
  PresetsRig r;
  r.bank.Store(4, "Forum", 98.0, bFM);
  r.Model().TuneTo(bFM, false, 98.0);
  EXPECT_TRUE(r.presets.IsTunedStationStored());
  EXPECT_FALSE(r.presets.ToggleMemory());
  EXPECT_FALSE(r.presets.Popup(5).Memory);
  r.Model().TuneTo(bFM, false, 98.025);
  EXPECT_FALSE(r.presets.IsTunedStationStored());
  EXPECT_TRUE(r.presets.Popup(5).Memory);
  EXPECT_FALSE(r.presets.Popup(5).Clear);
  EXPECT_TRUE(r.presets.Popup(4).Rename);
  EXPECT_TRUE(r.presets.ToggleClear());
  EXPECT_FALSE(r.presets.ToggleMemory());
  EXPECT_TRUE(r.presets.ToggleClear());
  EXPECT_TRUE(r.presets.ToggleMemory());
  EXPECT_FALSE(r.presets.ToggleClear());
  EXPECT_TRUE(r.state.MemoryArmed);
  EXPECT_FALSE(r.state.ClearArmed);
}

TEST(PresetsPanelTest, PressingClearsStoresOrRecallsAndDisarms) {
  PresetsRig r;
  r.bank.Store(4, "Forum", 98.0, bFM);
  r.Model().TuneTo(bFM, false, 90.0);
  EXPECT_EQ(r.presets.Press(5), tPresetPress::Nothing);  // unassigned, normal mode
  EXPECT_DOUBLE_EQ(r.card.Frequency(), 90.0);
  ASSERT_TRUE(r.presets.ToggleMemory());
  EXPECT_EQ(r.presets.Press(5), tPresetPress::Store);
  EXPECT_FALSE(r.state.MemoryArmed);
  r.presets.Store(5, "  Morning  ");
  EXPECT_EQ(r.bank.Preset(5), (tPreset{"Morning", 90.0, bFM, true}));
  EXPECT_EQ(r.state.CurrentPreset, 5);
  ASSERT_TRUE(r.presets.ToggleClear());
  EXPECT_EQ(r.presets.Press(4), tPresetPress::Cleared);
  EXPECT_FALSE(r.state.ClearArmed);
  EXPECT_FALSE(r.bank.Preset(4).Assigned);
  EXPECT_EQ(r.state.CurrentPreset, 5);  // clearing another preset keeps the current one
  r.presets.Clear(5);
  EXPECT_EQ(r.state.CurrentPreset, 0);
  EXPECT_DOUBLE_EQ(r.card.Frequency(), 90.0);  // re-tuned where it was
}

TEST(PresetsPanelTest, MemArmedThenTunedOntoAStoredStationStoresNothing) {
  PresetsRig r;
  r.bank.Store(4, "Forum", 98.0, bFM);
  r.Model().TuneTo(bFM, false, 90.0);
  ASSERT_TRUE(r.presets.ToggleMemory());
  r.Model().TuneTo(bFM, false, 98.0);
  EXPECT_EQ(r.presets.Press(6), tPresetPress::Nothing);
  EXPECT_FALSE(r.state.MemoryArmed);
  EXPECT_FALSE(r.bank.Preset(6).Assigned);
  ASSERT_FALSE(r.presets.ToggleMemory());
  r.state.MemoryArmed = true;  // storing into the preset that holds it renames it
  EXPECT_EQ(r.presets.Press(4), tPresetPress::Store);
}

// The other three fallbacks are tested on the panel.
TEST(PresetsPanelTest, AnFMPresetOnACardWithoutFMTunesTheAMLowerLimit) {
  test::V4l2Rig v4l2;  // a device with the AM band alone
  test::V4l2Rig::Setup setup;
  setup.Device.Bands = {{0.522, 1.710, true}};
  TRadioCard& card = v4l2.Build(setup);
  ASSERT_FALSE(card.GetDevCap(card.Model()).HasFM);
  PresetsBank bank;
  tConfiguration settings;
  tPanelState state;
  PanelModel model(card, bank, settings, state, LocaleFormat{});
  PresetsPanel presets(model);
  bank.Store(3, "Forum", 98.0, bFM);
  model.TuneTo(bAM, false, 0.999);
  EXPECT_FALSE(presets.Recall(3, true));
  EXPECT_EQ(card.Band(), bAM);
  EXPECT_NEAR(card.Frequency(), 0.531, 0.0095);  // the lowest channel of the device's grid
  EXPECT_EQ(state.CurrentPreset, 0);
  EXPECT_FALSE(presets.MenuEntries()[0].Enabled);
}

TEST(PresetsPanelTest, MenuEntriesListAssignedPresetsAndEnableWhatTheCardCanTune) {
  PresetsRig r(mRadioMan);
  r.bank.Store(30, "Talk", 0.999, bAM);
  r.bank.Store(7, "", 108.0, bFM);
  r.bank.Store(12, "Forum", 98.0, bFM);
  r.presets.Recall(12, true);
  const std::vector<tPresetMenuEntry> expected = {
      {7, "", false, true}, {12, "Forum", true, true}, {30, "Talk", false, true}};
  EXPECT_EQ(r.presets.MenuEntries(), expected);
  r.card.SetJapaneseFM(true);  // 76 to 91 MHz: 98 and 108 are out of reach
  const auto japanese = r.presets.MenuEntries();
  EXPECT_FALSE(japanese[0].Enabled);
  EXPECT_FALSE(japanese[1].Enabled);
  EXPECT_TRUE(japanese[2].Enabled);
}

TEST(PresetsPanelTest, LoadingAsksFirstOffersTheThreeFiltersAndSelectsNothing) {
  PresetsRig r;
  r.bank.Store(4, "Forum", 98.0, bFM);
  r.presets.Recall(4, true);
  const auto file = r.dir / "set.ovp";
  PresetsBank set;
  set.Store(9, "Low", 87.0, bFM);  // the station the load tunes
  set.Store(10, "Forum", 98.0, bFM);
  ASSERT_TRUE(WritePresetsFile(file, set, r.locale));

  r.prompts.answers = {false};
  EXPECT_FALSE(r.presets.LoadPresets(r.prompts));
  ASSERT_EQ(r.prompts.shown.size(), 1u);  // No: no file dialog
  EXPECT_EQ(r.prompts.shown[0].text, PresetsPanel::kLoadQuestion);

  r.prompts.answers = {true};
  r.prompts.files = {file.string()};
  EXPECT_TRUE(r.presets.LoadPresets(r.prompts));
  ASSERT_EQ(r.prompts.lastFilters.size(), 3u);
  EXPECT_EQ(r.prompts.lastFilters[0].caption, "Ondivo presets (*.ovp)");
  EXPECT_EQ(r.prompts.lastFilters[1].pattern, "*.txt");
  EXPECT_EQ(r.prompts.lastFilters[2].pattern, "*.*");
  EXPECT_EQ(r.prompts.lastExtension, "ovp");
  EXPECT_EQ(r.bank, set);
  EXPECT_DOUBLE_EQ(r.card.Frequency(), 87.0);
  EXPECT_EQ(r.state.CurrentPreset, 0);
  EXPECT_EQ(r.presets.GroupHint(), "Presets loaded from " + file.string());
}

}  // namespace
}  // namespace ondivo
