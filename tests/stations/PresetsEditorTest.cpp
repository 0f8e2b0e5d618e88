// The edit-presets dialog's arithmetic: entries moving with the current preset, the duplicate
// check, the buttons and the change test on Cancel.
#include "stations/PresetsEditor.h"

#include <gtest/gtest.h>

namespace ondivo {
namespace {

PresetsBank Sample() {
  PresetsBank bank;
  bank.Store(1, "One", 88.0, bFM);
  bank.Store(2, "Two", 90.0, bFM);
  bank.Store(3, "Three", 0.999, bAM);
  bank.Store(5, " Five ", 100.0, bFM);
  return bank;
}

TEST(PresetsEditorTest, ANameInAnEmptyEntryAssignsFM87AndADuplicateBlocksOkAndSave) {
  PresetsBank bank = Sample();
  bank.Store(9, "Low", 87.0, bAM);  // the band is not compared
  PresetsEditor editor(bank, 0, "", {});
  EXPECT_EQ(editor.Entry(5).Name, "Five");
  editor.Select(4);
  EXPECT_TRUE(editor.Buttons(true).Ok);
  editor.SetName("New");
  EXPECT_EQ(editor.Entry(4), (tPreset{"New", 87.0, bFM, true}));
  EXPECT_EQ(editor.Count(), 6);
  EXPECT_TRUE(editor.Duplicated());
  EXPECT_FALSE(editor.Buttons(true).Ok);
  EXPECT_FALSE(editor.Buttons(true).Save);
  editor.SetFrequency(bFM, 87.1, true);
  EXPECT_TRUE(editor.Buttons(true).Ok);
  // A name emptied again leaves the entry assigned.
  editor.SetName("");
  EXPECT_TRUE(editor.Entry(4).Assigned);
  // Showing an empty entry does not assign it; a frequency above 0 from the tuner does.
  editor.Select(6);
  editor.SetFrequency(bFM, 76.0, false);
  EXPECT_FALSE(editor.Entry(6).Assigned);
  editor.SetFrequency(bFM, 91.0, true);
  EXPECT_EQ(editor.Entry(6), (tPreset{"", 91.0, bFM, true}));
}

TEST(PresetsEditorTest, TheCurrentPresetFollowsItsEntry) {
  PresetsEditor editor(Sample(), 3, "", {});
  editor.Select(2);
  editor.Insert();  // entries 2..99 move down, the selection goes with entry 2
  EXPECT_FALSE(editor.Entry(2).Assigned);
  EXPECT_EQ(editor.Entry(3).Name, "Two");
  EXPECT_EQ(editor.Selected(), 3);
  EXPECT_EQ(editor.Current(), 4);
  EXPECT_EQ(editor.Entry(4).Name, "Three");

  editor.Select(1);
  editor.Delete();  // above the current preset: it moves up
  EXPECT_EQ(editor.Selected(), 1);
  EXPECT_EQ(editor.Current(), 3);
  EXPECT_EQ(editor.Entry(3).Name, "Three");

  editor.Select(3);
  editor.MoveUp();
  EXPECT_EQ(editor.Selected(), 2);
  EXPECT_EQ(editor.Current(), 2);
  editor.Select(1);
  editor.MoveDown();  // swapped with the current preset's entry
  EXPECT_EQ(editor.Entry(1).Name, "Three");
  EXPECT_EQ(editor.Current(), 1);
  EXPECT_EQ(editor.Selected(), 2);

  editor.Select(1);
  editor.Delete();
  EXPECT_EQ(editor.Current(), 0);
  EXPECT_EQ(editor.Count(), 2);
  EXPECT_FALSE(editor.Entry(100).Assigned);
}

TEST(PresetsEditorTest, InsertWaitsForAFreeLastEntryAndTheButtonsFollowTheSelection) {
  PresetsBank bank = Sample();
  bank.Store(100, "Last", 107.0, bFM);
  PresetsEditor editor(bank, 0, "", {});
  EXPECT_FALSE(editor.Buttons(true).Insert);
  editor.Select(100);
  editor.Clear();
  EXPECT_FALSE(editor.Buttons(true).Insert);  // entry 100 selected
  editor.Select(4);
  tEditButtons b = editor.Buttons(true);
  EXPECT_TRUE(b.Insert);
  EXPECT_FALSE(b.Clear);
  EXPECT_FALSE(b.Listen);
  EXPECT_TRUE(b.MoveUp && b.MoveDown && b.Delete);
  editor.Select(1);
  b = editor.Buttons(false);
  EXPECT_FALSE(b.MoveUp);
  EXPECT_FALSE(b.Listen);
  EXPECT_TRUE(editor.Buttons(true).Listen);
  editor.ClearAll();
  EXPECT_FALSE(editor.Buttons(true).Delete);
  EXPECT_FALSE(editor.Buttons(true).Insert);
}

TEST(PresetsEditorTest, CancelAsksOnlyWhenAPresetOfThePanelWouldBeLost) {
  const PresetsBank bank = Sample();
  PresetsEditor editor(bank, 2, "", {});
  editor.Select(7);
  editor.SetName("Free slot");
  editor.Select(5);
  editor.SetName(" five");  // case and blanks aside it is the same name
  EXPECT_FALSE(editor.LosesChanges());
  editor.SetName("Fifth");
  EXPECT_TRUE(editor.LosesChanges());
  editor.Undo();
  EXPECT_FALSE(editor.LosesChanges());
  editor.SetFrequency(bFM, 100.0004, true);  // the same stored text
  EXPECT_FALSE(editor.LosesChanges());
  editor.SetFrequency(bAM, 1.0, true);
  EXPECT_TRUE(editor.LosesChanges());
  editor.Reload();
  EXPECT_FALSE(editor.LosesChanges());
  EXPECT_EQ(editor.Current(), 2);
  editor.Select(2);
  editor.Clear();
  EXPECT_TRUE(editor.LosesChanges());
}

}  // namespace
}  // namespace ondivo
