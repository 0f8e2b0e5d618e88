// Opening the organizer on 10,000 stations and scrolling its tree from top to bottom, offscreen
// on an emulated card: the time a user waits before the dialog shows, and a full scroll.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "radio/RadioCard.h"
#include "sim/SimulatedRig.h"
#include "stations/OrganizerDatabase.h"
#include "stations/OrganizerWidgets.h"
#include "stations/PresetsBank.h"
#include "stations/tdOrganizer.h"
#include "tools/support/ShotSupport.h"

namespace {

using namespace ondivo;

// 250 folders of 40 stations.
void WriteDatabase(const std::filesystem::path& path, int stations) {
  OrganizerTree tree;
  OrganizerNode* folder = nullptr;
  for (int i = 0; i < stations; ++i) {
    if (i % 40 == 0) folder = tree.AddFolder(tree.Root(), "Folder " + std::to_string(i / 40));
    tree.AddStation(*folder, "Station number " + std::to_string(i), 87.5 + (i % 200) * 0.1, bFM);
  }
  SaveOrganizerDatabase(path, tree, {});
}

struct Rig {
  Rig() : rig(mRadioTrack, false), card(rig.Hardware()) {
    card.SetModel(mRadioTrack);
    card.SetPort(card.GetDevCap(mRadioTrack).DefaultPort);
    card.SwitchOn();
  }
  sim::SimulatedRig rig;
  TRadioCard card;
  PresetsBank bank;
  int current = 0;
  shots::SilentPrompter prompts;
};

void BM_OrganizerOpen10000(benchmark::State& state) {
  QTemporaryDir dir;
  const std::filesystem::path db = dir.filePath("Ondivo.db").toStdString();
  WriteDatabase(db, 10000);
  Rig r;
  for (auto _ : state) {
    tdOrganizer dialog(nullptr,
                       {r.bank, r.current, r.card, 0.1, false, 2, 0, 4, db, {}, r.prompts, {}});
    dialog.show();
    QApplication::processEvents();
    state.PauseTiming();
    dialog.TreeView()->expandAll();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OrganizerOpen10000)->Unit(benchmark::kMillisecond);

void BM_OrganizerScroll10000(benchmark::State& state) {
  QTemporaryDir dir;
  const std::filesystem::path db = dir.filePath("Ondivo.db").toStdString();
  WriteDatabase(db, 10000);
  Rig r;
  tdOrganizer dialog(nullptr,
                     {r.bank, r.current, r.card, 0.1, false, 2, 0, 4, db, {}, r.prompts, {}});
  dialog.show();
  dialog.TreeView()->expandAll();
  QApplication::processEvents();
  QScrollBar* bar = dialog.TreeView()->verticalScrollBar();
  for (auto _ : state) {
    // One page at a time, repainting each, as a held Page Down does.
    for (int at = 0; at <= bar->maximum(); at += bar->pageStep()) {
      bar->setValue(at);
      dialog.TreeView()->viewport()->repaint();
    }
    bar->setValue(0);
  }
}
BENCHMARK(BM_OrganizerScroll10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
