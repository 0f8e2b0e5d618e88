// The organizer's refusals and moves, and which stations a preset button takes.
#include "stations/OrganizerRules.h"

#include <gtest/gtest.h>

#include "stations/PresetsBank.h"

namespace ondivo {
namespace {

// Root: Music (Jazz (Blue Note station)), News (jazz), Talk station.
struct SampleTree {
  SampleTree() {
    music = tree.AddFolder(tree.Root(), "Music");
    jazz = tree.AddFolder(*music, "Jazz");
    blueNote = tree.AddStation(*jazz, "Blue Note", 95.5, bFM);
    news = tree.AddFolder(tree.Root(), "News");
    tree.AddFolder(*news, "jazz");
    talk = tree.AddStation(tree.Root(), "Talk", 0.999, bAM);
  }
  OrganizerTree tree;
  OrganizerNode *music, *jazz, *blueNote, *news, *talk;
};

std::string Refusal(std::optional<std::string_view> r) {
  return r ? std::string(*r) : "accepted";
}

TEST(OrganizerRulesTest, DropsAreRefusedInTheirOrder) {
  SampleTree t;
  OrganizerTree& tree = t.tree;
  EXPECT_EQ(Refusal(DropRefusal(tree, *t.jazz, *t.jazz)), kSameNode);
  EXPECT_EQ(Refusal(DropRefusal(tree, *t.jazz, *t.music)), kSameNode);
  EXPECT_EQ(Refusal(DropRefusal(tree, *t.talk, tree.Root())), kSameNode);
  EXPECT_EQ(Refusal(DropRefusal(tree, tree.Root(), *t.news)), kRootNotMoved);
  EXPECT_EQ(Refusal(DropRefusal(tree, *t.music, *t.jazz)), kParentOntoChild);
  EXPECT_EQ(Refusal(DropRefusal(tree, *t.music, *t.blueNote)), kParentOntoChild);
  EXPECT_EQ(Refusal(DropRefusal(tree, *t.jazz, *t.news)), kNameExists);  // "jazz" is there
  EXPECT_EQ(Refusal(DropRefusal(tree, *t.news, *t.blueNote)), kNotAFolder);
  EXPECT_EQ(Refusal(DropRefusal(tree, *t.talk, *t.jazz)), "accepted");
}

TEST(OrganizerRulesTest, AMoveTakesTheSubtreeAlongAndKeepsTheNodes) {
  SampleTree t;
  ASSERT_FALSE(DropRefusal(t.tree, *t.music, *t.news));
  MoveNode(t.tree, *t.music, *t.news);
  ASSERT_EQ(t.tree.Root().Children.size(), 2u);
  EXPECT_EQ(t.news->Children.back().get(), t.music);
  EXPECT_EQ(t.music->Data->ParentId, t.news->Data->Id);
  EXPECT_EQ(t.music->Children.front().get(), t.jazz);  // descendants keep their parent ids
  EXPECT_EQ(t.blueNote->Data->ParentId, t.jazz->Data->Id);
  EXPECT_EQ(ParentOf(t.tree, *t.blueNote), t.jazz);

  EXPECT_TRUE(RemoveNode(t.tree, *t.music));
  EXPECT_EQ(t.tree.NodeCount(), 3u);  // News, jazz, Talk
  EXPECT_FALSE(RemoveNode(t.tree, t.tree.Root()));
}

TEST(OrganizerRulesTest, RenamesAreRefusedForTheRootAndForANameTakenInAnyCase) {
  SampleTree t;
  EXPECT_EQ(Refusal(RenameRefusal(nullptr, t.tree.Root(), "Root", "Stations")), kRootNotRenamed);
  EXPECT_EQ(Refusal(RenameRefusal(t.music, *t.jazz, "Jazz", "JAZZ")), kNameExists);
  EXPECT_EQ(Refusal(RenameRefusal(&t.tree.Root(), *t.talk, "Talk", "news")), kNameExists);
  EXPECT_EQ(Refusal(RenameRefusal(t.music, *t.jazz, "Jazz", "Jazz")), "accepted");
  EXPECT_EQ(Refusal(RenameRefusal(t.music, *t.jazz, "Jazz", "Swing")), "accepted");
  // A folder a user named "Root" is an ordinary folder.
  EXPECT_EQ(Refusal(RenameRefusal(t.music, *t.jazz, "Root", "Swing")), "accepted");
}

TEST(OrganizerRulesTest, APresetButtonTakesAStationUnlessAPresetHoldsItOnItsBand) {
  PresetsBank bank;
  bank.Store(7, "Blue", 95.5, bFM);
  EXPECT_FALSE(StationFitsPresets(bank, tStation(0, 95.5004, bFM, 1)));
  EXPECT_TRUE(StationFitsPresets(bank, tStation(0, 95.5, bAM, 1)));
  EXPECT_TRUE(StationFitsPresets(bank, tStation(0, 95.6, bFM, 1)));
}

}  // namespace
}  // namespace ondivo
