// Cost of the front panel's six frequency digits (33 x 47 each): a repaint with nothing
// changed, and repaints after digits change, in each digit style.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <array>
#include <memory>

#include "controls/Display.h"

namespace {

using namespace ondivo;

struct StyleCase {
  TDigitStyle style;
  int segWidth;
};

// The digit styles and segment widths the front panel uses.
constexpr std::array<StyleCase, 4> kStyles = {
    {{ds16Seg, 3}, {ds5x7Bulb, 6}, {ds5x7Dot, 6}, {ds7Seg, 4}}};

class SixDigits {
 public:
  explicit SixDigits(const StyleCase& style) : image_(6 * 33, 47, QImage::Format_RGB32) {
    panel_.resize(6 * 33, 47);
    for (int i = 0; i < 6; ++i) {
      digits_[i] = new TDisplay(&panel_);  // owned by the panel
      digits_[i]->setGeometry(i * 33, 0, 33, 47);
      digits_[i]->SetMargin(2);
      digits_[i]->SetSegWidth(style.segWidth);
      digits_[i]->SetDigitStyle(style.style);
      digits_[i]->SetOnColor(Qt::green);
      digits_[i]->SetOffColor(Qt::darkGreen);
      digits_[i]->SetBackColor(Qt::black);
    }
    Show(" 98500");
    Repaint();
  }

  void Show(const char* text) {
    for (int i = 0; i < 6; ++i) digits_[i]->SetDigit(QChar(text[i]));
  }

  void Repaint() {
    panel_.render(&image_);
    benchmark::DoNotOptimize(image_.constBits());
  }

 private:
  QWidget panel_;
  std::array<TDisplay*, 6> digits_{};
  QImage image_;
};

void BM_RepaintUnchanged(benchmark::State& state) {
  SixDigits digits(kStyles[state.range(0)]);
  for (auto _ : state) digits.Repaint();
}

// All six digits change before every repaint.
void BM_RepaintAllSixChanged(benchmark::State& state) {
  SixDigits digits(kStyles[state.range(0)]);
  bool flip = false;
  for (auto _ : state) {
    digits.Show(flip ? "123456" : "654321");
    flip = !flip;
    digits.Repaint();
  }
  state.counters["per_digit"] = benchmark::Counter(
      6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Fine tuning: only the last digit changes.
void BM_RepaintOneChanged(benchmark::State& state) {
  SixDigits digits(kStyles[state.range(0)]);
  bool flip = false;
  for (auto _ : state) {
    digits.Show(flip ? " 98500" : " 98550");
    flip = !flip;
    digits.Repaint();
  }
}

// Arguments: 0 sixteen-segment, 1 bulbs, 2 dots, 3 seven-segment.
BENCHMARK(BM_RepaintUnchanged)->DenseRange(0, 3);
BENCHMARK(BM_RepaintAllSixChanged)->DenseRange(0, 3);
BENCHMARK(BM_RepaintOneChanged)->DenseRange(0, 3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  if (runtime.isValid()) qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
