// The organizer offscreen on an emulated RadioTrack with a real Ondivo.db in a temporary folder:
// tree edits with their refusals, stations onto preset buttons, tuning, scanning, and what "OK"
// and Cancel leave in the file and the bank.
#include "stations/tdOrganizer.h"

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "stations/OrganizerRules.h"
#include "stations/OrganizerWidgets.h"
#include "stations/TunerSection.h"
#include "tests/support/PanelRig.h"
#include "tests/support/ScriptedPrompter.h"

namespace ondivo {
namespace {

// Music (Jazz (Blue Note 95.5)), News (jazz), Talk 999 kHz.
constexpr const char* kSampleDb =
    "[Archive]\nRows=6\nRow1=1 1 0 X 000.000 Music\nRow2=1 2 1 X 000.000 Jazz\n"
    "Row3=2 3 2 M 095.500 Blue Note\nRow4=1 4 0 X 000.000 News\nRow5=1 5 4 X 000.000 jazz\n"
    "Row6=2 6 0 K 000.999 Talk\n";

class OrganizerTest : public ::testing::Test {
 protected:
  tdOrganizer& Open(const std::string& db = kSampleDb) {
    test::WriteBytes(rig.dir / "Ondivo.db", db);
    dialog = std::make_unique<tdOrganizer>(
        nullptr, tOrganizerPanel{rig.bank, current, rig.card, 0.1, false, 2, 0, 4,
                                 rig.dir / "Ondivo.db", rig.locale, prompts, nullptr});
    dialog->show();
    return *dialog;
  }
  OrganizerNode* Node(const std::string& name) {
    OrganizerNode* found = nullptr;
    dialog->Tree().ForEachInTreeOrder([&](const OrganizerNode& n, const OrganizerNode&) {
      if (n.Name == name && !found) found = const_cast<OrganizerNode*>(&n);
    });
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QTreeWidgetItem* Item(const std::string& name) { return dialog->ItemOf(Node(name)); }
  void Select(QTreeWidgetItem* item) { dialog->TreeView()->setCurrentItem(item); }
  // The last message, and nothing left to read.
  std::string LastMessage() {
    if (prompts.shown.empty()) return "none";
    const auto shown = prompts.shown.back();
    prompts.shown.clear();
    EXPECT_EQ(shown.title, "Warning");
    return shown.text;
  }
  // A drag from the tree let go over a widget, as the window system delivers it.
  bool DropOn(QWidget* target, QPoint at) {
    std::unique_ptr<QMimeData> data(dialog->TreeView()->DragData());
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return true;
  }
  OrganizerTree Reload() { return LoadOrganizerDatabase(rig.dir / "Ondivo.db", rig.locale); }

  test::PanelRig rig{mRadioTrack, test::SilentLandscape()};
  test::ScriptedPrompter prompts;
  int current = 0;
  std::unique_ptr<tdOrganizer> dialog;
};

TEST_F(OrganizerTest, TreeEditsWithEveryRefusal) {
  Open();
  // Expanding everything leaves the stations their own image.
  const qint64 stationImage = Item("Blue Note")->icon(0).cacheKey();
  dialog->TreeView()->expandAll();
  EXPECT_EQ(Item("Blue Note")->icon(0).cacheKey(), stationImage);
  // Renames: the label comes back when refused.
  QTreeWidgetItem* jazz = Item("Jazz");
  jazz->setText(0, "JAZZ");
  EXPECT_EQ(LastMessage(), kNameExists);
  EXPECT_EQ(jazz->text(0), "Jazz");
  Item("Music")->setText(0, "Music Box");
  EXPECT_EQ(LastMessage(), "none");
  Select(dialog->TreeView()->topLevelItem(0));
  dialog->iRenameClick();
  EXPECT_EQ(LastMessage(), kRootNotRenamed);

  // Drops onto the parent, the root, a child, a name taken, a station.
  const auto drop = [&](const char* source, QTreeWidgetItem* target) {
    Select(source ? Item(source) : dialog->TreeView()->topLevelItem(0));
    dialog->RadioTreeDragDrop(target);
    return LastMessage();
  };
  EXPECT_EQ(drop("Jazz", Item("Music Box")), kSameNode);
  EXPECT_EQ(drop(nullptr, Item("News")), kRootNotMoved);
  EXPECT_EQ(drop("Music Box", Item("Jazz")), kParentOntoChild);
  EXPECT_EQ(drop("Jazz", Item("News")), kNameExists);
  EXPECT_EQ(drop("News", Item("Blue Note")), kNotAFolder);
  EXPECT_EQ(Node("Jazz")->Data->ParentId, Node("Music Box")->Data->Id);

  // A real drop moves Talk into News.
  Select(Item("Talk"));
  QTreeWidget* view = dialog->TreeView();
  ASSERT_TRUE(DropOn(view->viewport(), view->visualItemRect(Item("News")).center()));
  EXPECT_EQ(LastMessage(), "none");
  EXPECT_EQ(Item("Talk")->parent(), Item("News"));

  // Add under the root, then delete it again; add a station to a folder.
  Select(view->topLevelItem(0));
  dialog->AddFolderClick();
  EXPECT_EQ(view->topLevelItem(0)->child(2)->text(0), "Folder Name");
  Select(view->topLevelItem(0)->child(2));
  dialog->iDeleteClick();
  EXPECT_EQ(view->topLevelItem(0)->childCount(), 2);
  Select(Item("jazz"));
  dialog->AddStationClick();
  EXPECT_EQ(Item("jazz")->child(0)->text(0), "Station Name");

  QTest::mouseClick(dialog->findChild<QPushButton*>("btOk"), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  OrganizerTree saved = Reload();
  EXPECT_EQ(saved.NodeCount(), 7u);
  ASSERT_EQ(saved.Root().Children.size(), 2u);
  EXPECT_EQ(saved.Root().Children[0]->Name, "Music Box");
  EXPECT_EQ(saved.Root().Children[1]->Children[0]->Name, "Talk");  // stations first
}

TEST_F(OrganizerTest, AStationGoesOntoAPresetButtonUnlessAPresetHoldsItOnItsBand) {
  rig.bank.Store(1, "Blue", 95.5, bFM);
  rig.bank.Store(2, "Odd", 0.999, bFM);
  current = 1;
  Open();
  Select(Item("Blue Note"));
  QToolButton* seven = dialog->PresetButton(7);
  EXPECT_FALSE(DropOn(seven, seven->rect().center()));
  EXPECT_FALSE(rig.bank.Preset(7).Assigned);

  Select(Item("Talk"));  // 999 kHz on AM; preset 2 holds 0.999 on FM
  ASSERT_TRUE(DropOn(seven, seven->rect().center()));
  EXPECT_EQ(rig.bank.Preset(7), (tPreset{"Talk", 0.999, bAM, true}));
  EXPECT_EQ(current, 7);
  EXPECT_EQ(seven->toolTip(), "Talk - 000.999");

  // "Clear all" then Cancel: the presets stay cleared.
  prompts.answers = {true};
  dialog->iClearAllClick();
  dialog->reject();
  EXPECT_EQ(rig.bank.AssignedCount(), 0);
  EXPECT_EQ(current, 0);
  EXPECT_EQ(test::ReadBytes(rig.dir / "Ondivo.db"), kSampleDb);
}

TEST_F(OrganizerTest, TheSliderRetunesTheStationAndAScanStopsAtTheTopOfTheBand) {
  Open();
  Select(Item("Blue Note"));
  EXPECT_TRUE(dialog->Tuner()->isVisibleTo(dialog.get()));
  EXPECT_NEAR(rig.card.Frequency(), 95.5, 1e-6);
  dialog->Tuner()->Slider()->setValue(107500);
  EXPECT_NEAR(rig.card.Frequency(), 107.5, 1e-6);

  dialog->btScanNextClick();  // nothing on the air: up to 108.0
  EXPECT_NEAR(rig.card.Frequency(), 108.0, 1e-6);
  EXPECT_FALSE(dialog->Tuner()->ScanNextButton()->isEnabled());
  EXPECT_TRUE(dialog->Tuner()->ScanPrevButton()->isVisibleTo(dialog.get()));
  EXPECT_TRUE(dialog->Tuner()->ScanPrevButton()->isEnabled());

  dialog->Tuner()->Slider()->setValue(98000);
  QTest::mouseClick(dialog->findChild<QPushButton*>("btOk"), Qt::LeftButton);
  OrganizerTree saved = Reload();
  ASSERT_EQ(saved.Root().Children[1]->Name, "Music");  // after the station Talk
  const tStation* blue = saved.Root().Children[1]->Children[0]->Children[0]->Station();
  ASSERT_NE(blue, nullptr);
  EXPECT_NEAR(blue->Frequency, 98.0, 1e-6);
}

TEST_F(OrganizerTest, ADatabaseWithUnreadRowsIsSavedOverOnlyAfterAskingAndKeptAsBak) {
  // Row 2 was written under a comma locale; its station below it is dropped with it.
  const std::string damaged =
      "[Archive]\nRows=3\nRow1=1 1 0 X 000.000 Music\nRow2=2 2 1 M 095,500 Comma\n"
      "Row3=1 3 0 X 000.000 News\n";
  Open(damaged);
  ASSERT_FALSE(prompts.shown.empty());
  EXPECT_EQ(prompts.shown[0].kind, test::ScriptedPrompter::Shown::Message);
  EXPECT_NE(prompts.shown[0].text.find("could not be read"), std::string::npos);
  prompts.shown.clear();
  auto* ok = dialog->findChild<QPushButton*>("btOk");
  prompts.answers = {false};
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(prompts.shown.back().kind, test::ScriptedPrompter::Shown::Question);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(test::ReadBytes(rig.dir / "Ondivo.db"), damaged);
  prompts.answers = {true};
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(test::ReadBytes(rig.dir / "Ondivo.db.bak"), damaged);
  EXPECT_EQ(Reload().NodeCount(), 2u);
}

}  // namespace
}  // namespace ondivo
