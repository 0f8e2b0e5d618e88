// The script editor driven as a user drives it: clicks, typed values and real drag-and-drop events
// on its lists, on an emulated card with free time.
#include "schedule/tdProgr.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "schedule/ScriptFile.h"
#include "schedule/ScriptLists.h"
#include "schedule/ScriptRunner.h"
#include "sim/EmulatedRadioTrack.h"
#include "tests/support/HardwareDoubles.h"
#include "tests/support/PanelRig.h"
#include "tests/support/ScriptedPrompter.h"

namespace ondivo {
namespace {

using std::chrono::milliseconds;

// The editor on a RadioTrack tuned to 98.8 MHz, opened on the given script lines.
// Where Tab goes from a widget.
QWidget* NextTabStop(QWidget* from) {
  QWidget* next = from->nextInFocusChain();
  while (next != from &&
         !((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled())) {
    next = next->nextInFocusChain();
  }
  return next;
}

struct Editor {
  explicit Editor(const std::string& lines = "", bool muted = false) {
    r.card.Tune(false, bFM, 98.8);
    r.bank.Store(3, "Forum", 98.0, bFM);
    r.bank.Store(5, "Talk", 0.999, bAM);
    if (!lines.empty()) {
      test::WriteBytes(r.dir / "start.ovs", ";Morning\r\n" + lines);
      std::unique_ptr<tScript> script;
      EXPECT_EQ(ReadScriptFile(r.dir / "start.ovs", r.locale, script), kScriptRead);
      scripts.Script() = std::move(*script);
    }
    Open(muted);
  }
  void Open(bool muted = false) {
    dialog = std::make_unique<tdProgr>(
        nullptr,
        tScriptEditorContext{scripts, r.bank, r.card, muted, time, timers, &tones, r.locale},
        prompts, [this](const std::string& t) { topics.push_back(t); }, [this] { ++beeps; });
    dialog->show();
    QApplication::processEvents();
  }

  template <typename T>
  T* Find(const char* name) const {
    return dialog->findChild<T*>(name);
  }
  tScriptList* Events() const { return Find<tScriptList>("Actions"); }
  tScriptList* Program() const { return Find<tScriptList>("Script"); }
  const tScript& Edited() const { return dialog->Editing().Program(); }
  QString Range() const {
    return Find<QLabel>("bTime")->text() + "-" + Find<QLabel>("eTime")->text();
  }
  void Select(int row) const { Program()->setCurrentRow(row); }
  int EventRow(tActionKind kind) const {
    for (int i = 0; i < Events()->count(); ++i)
      if (Events()->item(i)->data(tScriptRowDelegate::KindRole).toInt() == int(kind)) return i;
    return -1;
  }
  void Click(const char* name) const {
    QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton);
  }
  void Tick(int ms) {
    timers.Advance(milliseconds(ms));
    dialog->PreviewTick();
  }
  sim::EmulatedRadioTrack& Emulated() {
    return dynamic_cast<sim::EmulatedRadioTrack&>(*r.rig.Bus().CardAt(0x30C));
  }

  test::PanelRig r{mRadioTrack};
  ScriptRunner scripts;
  test::SetTimeOfDay time;
  test::ManualClock timers;
  test::RecordingTone tones{timers};
  test::ScriptedPrompter prompts;
  std::vector<std::string> topics;
  int beeps = 0;
  std::unique_ptr<tdProgr> dialog;
};

// Drags a row of one list onto a row of another (or the same) list, below its last row for -1,
// with the drag enter, move and drop events a mouse drag delivers. True when the drop was taken.
bool Drag(tScriptList* from, int fromRow, tScriptList* to, int toRow) {
  const std::unique_ptr<QMimeData> data(from->mimeData({from->item(fromRow)}));
  const QPoint at = toRow >= 0 ? to->visualItemRect(to->item(toRow)).center()
                               : QPoint(10, to->viewport()->height() - 4);
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(to->viewport(), &enter);
  QDragMoveEvent move(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(to->viewport(), &move);
  if (!move.isAccepted()) return false;
  QDropEvent drop(QPointF(at), actions, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(to->viewport(), &drop);
  return drop.isAccepted();
}

std::vector<std::string> Times(const tScript& script) {
  std::vector<std::string> times;
  for (const auto& a : script) times.push_back(MinuteText(a->Hour() * 60 + a->Minute()));
  return times;
}

TEST(tdProgrTest, RangesFollowTheNeighboursAndDropsWithoutAFreeMinuteBeep) {
  Editor e("Mute on.0700\r\nBeep.0800.1.880.300\r\n");
  EXPECT_EQ(e.dialog->windowTitle(), "Programming -");
  EXPECT_EQ(e.Find<QLineEdit>("Title")->text(), "Morning");
  // Tab runs as the eye reads: the events, Add and Delete between the lists, the program.
  EXPECT_EQ(NextTabStop(e.Events()), e.Find<QWidget>("Right"));
  EXPECT_EQ(NextTabStop(e.Find<QWidget>("Right")), e.Find<QWidget>("Left"));
  EXPECT_EQ(NextTabStop(e.Find<QWidget>("Left")), e.Program());
  EXPECT_EQ(e.dialog->Selected(), 0);
  EXPECT_EQ(e.Range(), "00:00-07:59");
  auto* hh = e.Find<QSpinBox>("TimeHH");
  auto* mm = e.Find<QSpinBox>("TimeMM");
  e.Select(1);
  EXPECT_EQ(e.Range(), "07:01-23:59");
  // Its own time, not one cut to the range of the action shown before.
  EXPECT_EQ((hh->text() + ":" + mm->text()).toStdString(), "08:00");

  // Typed times are pulled back into the range.
  hh->setValue(7);
  EXPECT_EQ(mm->value(), 1);
  EXPECT_EQ((hh->text() + ":" + mm->text()).toStdString(), "07:01");  // read as a clock reads
  EXPECT_EQ(mm->minimum(), 1);

  // An event dropped on the second action takes the minute after the first.
  ASSERT_TRUE(Drag(e.Events(), e.EventRow(akVolume), e.Program(), 1));
  EXPECT_EQ(Times(e.Edited()), (std::vector<std::string>{"07:00", "07:01", "08:00"}));
  EXPECT_EQ(e.Edited()[1].Kind, akVolume);
  EXPECT_EQ(e.dialog->Selected(), 1);
  EXPECT_EQ(e.Range(), "07:01-07:59");
  // Now the action at 07:01 follows one at 07:00: no room before it.
  ASSERT_TRUE(Drag(e.Events(), e.EventRow(akOff), e.Program(), 1));
  EXPECT_EQ(e.beeps, 1);
  EXPECT_EQ(e.Edited().Count(), 3u);

  // An action dragged below the last moves to the end, one minute after it; dragged onto the
  // events it is deleted.
  ASSERT_TRUE(Drag(e.Program(), 0, e.Program(), -1));
  EXPECT_EQ(Times(e.Edited()), (std::vector<std::string>{"07:01", "08:00", "08:01"}));
  EXPECT_EQ(e.Edited()[2].Kind, akMuteOn);
  ASSERT_TRUE(Drag(e.Program(), 1, e.Events(), 0));
  EXPECT_EQ(Times(e.Edited()), (std::vector<std::string>{"07:01", "08:01"}));
  EXPECT_EQ(e.dialog->Selected(), 1);

  Editor apart("Mute on.0700\r\nMute off.0900\r\n");
  EXPECT_EQ(apart.Range(), "00:00-08:59");
}

TEST(tdProgrTest, AFullProgramAndAMoveBeforeMidnightAreRefused) {
  Editor full("Mute on.0700\r\nMute off.2359\r\n");
  full.Click("Right");
  EXPECT_EQ(full.beeps, 1);
  ASSERT_TRUE(Drag(full.Events(), full.EventRow(akBeep), full.Program(), -1));
  EXPECT_EQ(full.beeps, 2);
  ASSERT_TRUE(Drag(full.Program(), 0, full.Program(), -1));
  EXPECT_EQ(full.beeps, 3);
  EXPECT_EQ(Times(full.Edited()), (std::vector<std::string>{"07:00", "23:59"}));

  Editor midnight("Mute on.0000\r\nMute off.0500\r\n");
  ASSERT_TRUE(Drag(midnight.Program(), 1, midnight.Program(), 0));
  EXPECT_EQ(midnight.beeps, 1);
  EXPECT_EQ(Times(midnight.Edited()), (std::vector<std::string>{"00:00", "05:00"}));

  // An empty program: the first action comes at the time of day, the whole day its range, and
  // a moved action in a one-action program is not accepted.
  Editor empty;
  EXPECT_FALSE(empty.Find<QPushButton>("btOk")->isEnabled());
  EXPECT_FALSE(empty.Find<QWidget>("gCommon")->isVisible());
  empty.time.Set(0, 0, 40);
  ASSERT_TRUE(Drag(empty.Events(), empty.EventRow(akMuteOn), empty.Program(), -1));
  EXPECT_EQ(Times(empty.Edited()), (std::vector<std::string>{"00:00"}));
  EXPECT_EQ(empty.Range(), "00:00-23:59");
  EXPECT_TRUE(empty.Find<QWidget>("gCommon")->isVisible());
  EXPECT_FALSE(Drag(empty.Program(), 0, empty.Program(), -1));
}

TEST(tdProgrTest, EachKindShowsItsPanelAndSaveAppliesIt) {
  Editor e(
      "Beep.0600.2.880.300\r\nVolume.0700.12\r\nJump to.0800.000.999.AM.MN\r\nPreset.0900.5.MN\r\n"
      "Off.1000\r\n");
  const auto shown = [&] { return e.Find<QStackedWidget>("Kinds")->currentWidget()->objectName(); };
  EXPECT_EQ(shown(), "gBeep");
  EXPECT_EQ(e.Find<QSpinBox>("BFreq")->value(), 880);
  e.Select(1);
  EXPECT_EQ(shown(), "gVolume");
  EXPECT_EQ(e.Find<QLabel>("Perc")->text(), "60%");
  e.Select(2);
  EXPECT_EQ(shown(), "gFreq");
  EXPECT_TRUE(e.Find<QPushButton>("btAM")->isChecked());
  EXPECT_FALSE(e.Find<QCheckBox>("FreqStereo")->isEnabled());
  e.Select(3);
  EXPECT_EQ(shown(), "gPreset");
  EXPECT_EQ(e.Find<QComboBox>("Presets")->currentText(), "05 - Talk");
  EXPECT_FALSE(e.Find<QCheckBox>("PresetStereo")->isEnabled());
  e.Select(4);
  EXPECT_FALSE(e.Find<QWidget>("gBeep")->isVisible());
  EXPECT_FALSE(e.Find<QWidget>("gFreq")->isEnabled());

  // A jump set to FM and an off-grid frequency is snapped onto the card's FM grid (25 kHz).
  e.Select(2);
  e.Click("btFM");
  EXPECT_DOUBLE_EQ(e.Find<QDoubleSpinBox>("Freq")->value(), 76.0);
  e.Find<QDoubleSpinBox>("Freq")->setValue(98.01);
  e.Find<QCheckBox>("FreqStereo")->setChecked(true);
  e.Find<QSpinBox>("TimeMM")->setValue(30);
  e.Click("Save");
  const auto& jump = static_cast<const zJumpTo&>(e.Edited()[2]);
  EXPECT_EQ(jump.Band, bFM);
  EXPECT_NEAR(jump.Frequency, 98.0, 1e-9);
  EXPECT_TRUE(jump.Stereo);
  EXPECT_EQ(MinuteText(jump.Hour() * 60 + jump.Minute()), "08:30");
  EXPECT_EQ(e.Program()->item(2)->data(tScriptRowDelegate::TimeRole).toString(), "08:30");

  // Reload shows the stored values again; an FM preset chosen enables its stereo box.
  e.Select(3);
  auto* presets = e.Find<QComboBox>("Presets");
  presets->setCurrentIndex(0);
  emit presets->activated(0);
  EXPECT_TRUE(e.Find<QCheckBox>("PresetStereo")->isEnabled());
  e.Click("Reload");
  EXPECT_EQ(presets->currentText(), "05 - Talk");
}

TEST(tdProgrTest, CancelAfterAChangeAsksAndLeavesTheScriptOkReplacesItAndRestoresTheStation) {
  Editor e("Beep.0700.1.880.300\r\n");
  e.Find<QSpinBox>("BFreq")->setValue(1000);
  e.Click("Save");
  e.prompts.answers = {false, true};
  e.Click("btCancel");
  ASSERT_EQ(e.prompts.shown.size(), 1u);
  EXPECT_EQ(e.prompts.shown[0].text, "Script is changed!\rAre you sure ?");
  EXPECT_EQ(e.prompts.shown[0].title, "Exit without save");
  EXPECT_EQ(e.prompts.shown[0].icon, Prompter::Icon::Error);
  EXPECT_TRUE(e.dialog->isVisible());  // No keeps the editor open
  e.Click("btCancel");
  EXPECT_FALSE(e.dialog->isVisible());
  EXPECT_EQ(static_cast<const zBeep&>(e.scripts.Script()[0]).Frequency, 880);

  // OK after a frequency test: the script is replaced without a question, the card is back on
  // its station and muted as the panel is.
  e.Open(true);
  e.Select(0);
  ASSERT_TRUE(Drag(e.Events(), e.EventRow(akJumpTo), e.Program(), -1));
  e.Find<QDoubleSpinBox>("Freq")->setValue(93.0);
  e.Click("btPrFreq");
  EXPECT_NEAR(*e.Emulated().TunedFrequency(), 93.0, 1e-3);
  e.Find<QLineEdit>("Title")->setText("  Evening ");
  e.Click("btOk");
  EXPECT_EQ(e.prompts.shown.size(), 2u);
  EXPECT_EQ(e.dialog->result(), QDialog::Accepted);
  EXPECT_EQ(e.scripts.Script().Title(), "Evening");
  EXPECT_EQ(Times(e.scripts.Script()), (std::vector<std::string>{"07:00", "07:01"}));
  EXPECT_NEAR(*e.Emulated().TunedFrequency(), 98.8, 1e-3);
  EXPECT_TRUE(e.r.card.Muted());
}

TEST(tdProgrTest, FrequencyTestTunesForFiveSecondsAndBeepPreviewSoundsTimesTones) {
  Editor e("Jump to.0800.98.000.FM.MN\r\nBeep.0900.3.880.200\r\n");
  auto* test = e.Find<QPushButton>("btPrFreq");
  auto* tuned = e.Find<QLabel>("Tuned");
  e.Click("btPrFreq");
  EXPECT_NEAR(*e.Emulated().TunedFrequency(), 98.0, 1e-3);
  EXPECT_TRUE(tuned->isVisible());
  EXPECT_EQ(tuned->text(), "Tuned");
  e.Tick(4999);
  EXPECT_TRUE(test->isChecked());
  e.Tick(1);
  EXPECT_FALSE(test->isChecked());
  EXPECT_FALSE(tuned->isVisible());
  EXPECT_NEAR(*e.Emulated().TunedFrequency(), 98.8, 1e-3);

  e.Find<QDoubleSpinBox>("Freq")->setValue(100.05);
  e.Click("btPrFreq");
  EXPECT_EQ(tuned->text(), "Not tuned");
  e.Click("btPrFreq");  // released: back at once
  EXPECT_NEAR(*e.Emulated().TunedFrequency(), 98.8, 1e-3);
  // Outside the card's current band the button only pops up.
  e.Click("btAM");
  e.Click("btPrFreq");
  EXPECT_FALSE(test->isChecked());
  EXPECT_NEAR(*e.Emulated().TunedFrequency(), 98.8, 1e-3);

  e.Select(1);
  auto* preview = e.Find<QPushButton>("btPrBeep");
  e.Click("btPrBeep");
  for (int tick = 0; tick < 3; ++tick) e.Tick(1000);
  EXPECT_TRUE(preview->isChecked());
  e.Tick(1000);
  EXPECT_FALSE(preview->isChecked());
  EXPECT_FALSE(e.dialog->Preview()->isActive());
  ASSERT_EQ(e.tones.played.size(), 3u);
  EXPECT_EQ(e.tones.played[0].frequency, 880);
  EXPECT_EQ(e.tones.played[2].atMs - e.tones.played[0].atMs, 2000);
}

TEST(tdProgrTest, FilesRoundTripAndACorruptFileLeavesTheProgram) {
  Editor e("Mute on.0000\r\nBeep.0700.2.880.300\r\n");
  const std::string path = (e.r.dir / "saved.ovs").string();
  // No file of its own yet: Save asks, offering NoName.Ovs in the documents folder.
  e.prompts.files.push_back(path);
  e.Click("btSave");
  EXPECT_EQ(e.prompts.lastOffered,
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString() +
                "/NoName.Ovs");
  EXPECT_EQ(e.dialog->windowTitle(), QString::fromStdString("Script - (" + path + ")"));
  EXPECT_EQ(test::ReadBytes(path), ";Morning\r\nMute on.0000\r\nBeep.0700.2.880.300\r\n");
  // Then Save writes without asking; Save as always asks.
  e.Click("Right");
  e.Click("btSave");
  EXPECT_EQ(e.prompts.shown.size(), 1u);
  EXPECT_NE(test::ReadBytes(path).find("Preset.0701.3.MN"), std::string::npos);

  test::WriteBytes(e.r.dir / "bad.ovs", ";Broken\r\nVolume.0700.21\r\n");
  e.prompts.answers = {true};
  e.prompts.files.push_back((e.r.dir / "bad.ovs").string());
  e.Click("btLoad");
  EXPECT_EQ(e.prompts.Messages(), (std::vector<std::string>{"The script files is corrupt"}));
  EXPECT_EQ(e.Edited().Count(), 3u);

  e.Click("btNew");  // answered No
  EXPECT_EQ(e.Edited().Count(), 3u);
  // A new script has no file yet: its Save offers NoName.Ovs beside the last file.
  e.prompts.answers = {true};
  e.Click("btNew");
  EXPECT_TRUE(e.Edited().Empty());
  EXPECT_EQ(e.dialog->windowTitle(), "Programming -");
  e.Click("Right");
  e.Click("btSave");  // cancelled
  EXPECT_EQ(e.prompts.lastOffered, (e.r.dir / "NoName.Ovs").string());
  e.prompts.answers = {true};
  e.prompts.files.push_back(path);
  e.Click("btLoad");
  EXPECT_EQ(Times(e.Edited()), (std::vector<std::string>{"00:00", "07:00", "07:01"}));
  EXPECT_EQ(e.dialog->Selected(), 0);

  // The editor's file becomes the panel's when it closes; the next editor asks before saving
  // over it, offering it.
  e.prompts.answers = {true};
  e.Click("btCancel");
  EXPECT_EQ(e.scripts.FileName(), path);
  e.Open();
  EXPECT_EQ(e.dialog->windowTitle(), QString::fromStdString("Script - (" + path + ")"));
  const std::string other = (e.r.dir / "other.ovs").string();
  e.prompts.files.push_back(other);
  e.Click("btSave");
  EXPECT_EQ(e.prompts.lastOffered, path);
  EXPECT_TRUE(std::filesystem::exists(other));
}

}  // namespace
}  // namespace ondivo
