// The front panel: one TuneTo with its whole panel refresh on emulated hardware whose waits
// cost nothing, and the cold start of --simulate (real-time emulated hardware) to the first
// frame the panel paints.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "panel/Prompter.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "sim/SimulatedRig.h"

namespace ondivo {
namespace {

class NoPrompts final : public Prompter {
 public:
  void Message(const std::string&, Icon, const std::string&) override {}
  bool Ask(const std::string&, const std::string&, Icon) override { return false; }
  std::optional<std::string> OpenFile(const std::string&, const std::vector<FileFilter>&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFile(const std::string&, const std::vector<FileFilter>&,
                                      const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

std::filesystem::path PreparedConfig(const QTemporaryDir& dir) {
  const std::filesystem::path path = dir.path().toStdString();
  std::ofstream(path / "Ondivo.ini")
      << "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n"
         "[Frequency]\nFrequency=M 098.000\nTuneStep=4\n"
         "[Presets]\nList=1,2,\nStation01=M 088.100 Classic 88\nStation02=M 098.000 Forum\n";
  return path;
}

tMainServices Services(TRadioCard& card, Prompter& prompts, const std::filesystem::path& dir,
                       sim::SimulatedRig& rig) {
  tMainServices s;
  s.Card = &card;
  s.Prompts = &prompts;
  s.ConfigDir = dir;
  s.HardwareChanged = [&rig](tModel m) { rig.Follow(m); };
  return s;
}

// Counts the frames the panel paints.
class PaintCounter final : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

void BM_TuneToWithPanelRefresh(benchmark::State& state) {
  QTemporaryDir dir;
  sim::SimulatedRig rig(mRadioTrack, false);
  TRadioCard card(rig.Hardware());
  NoPrompts prompts;
  tdMain window(Services(card, prompts, PreparedConfig(dir), rig));
  window.Create();
  const bool paint = state.range(0) != 0;
  int n = 0;
  for (auto _ : state) {
    window.TuneTo(bFM, false, 88.0 + 0.1 * (n++ % 200));
    if (paint) window.repaint();
  }
  state.SetLabel(paint ? "with repaint" : "widgets updated");
}
BENCHMARK(BM_TuneToWithPanelRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ColdStartSimulateToFirstFrame(benchmark::State& state) {
  QTemporaryDir dir;
  const auto config = PreparedConfig(dir);
  for (auto _ : state) {
    sim::SimulatedRig rig(mRadioTrack, true);  // paced: the waits take real time
    TRadioCard card(rig.Hardware());
    NoPrompts prompts;
    tdMain window(Services(card, prompts, config, rig));
    PaintCounter counter;
    window.installEventFilter(&counter);
    window.Create();
    while (counter.paints == 0) QApplication::processEvents(QEventLoop::AllEvents, 5);
    state.PauseTiming();
    window.removeEventFilter(&counter);
    window.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ColdStartSimulateToFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace
}  // namespace ondivo

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
