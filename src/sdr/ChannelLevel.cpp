#include "sdr/ChannelLevel.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

namespace ondivo::sdr {

namespace {
constexpr size_t kSize = 512;
constexpr double kSpectraPerSecond = 200.0;
constexpr float kAveraging = 0.2f;  // each new spectrum's weight
// FFTW's planner is not thread-safe; receivers may be built on different threads.
std::mutex& PlannerMutex() {
  static std::mutex m;
  return m;
}
}  // namespace

struct ChannelLevel::Plan {
  fftwf_complex* In;
  fftwf_complex* Out;
  fftwf_plan Forward;
};

ChannelLevel::ChannelLevel(double rate, double channelWidthHz)
    : mSize(kSize),
      mHop(std::max<size_t>(kSize, static_cast<size_t>(rate / kSpectraPerSecond))),
      mBinHz(rate / kSize),
      mChannelHalfWidth(channelWidthHz / 2),
      mWindow(kSize),
      mAverage(kSize, 0.0f),
      mScratch(kSize),
      mFrame(kSize),
      mPlan(std::make_unique<Plan>()) {
  for (size_t i = 0; i < kSize; ++i)
    mWindow[i] = static_cast<float>(0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / kSize));
  const std::lock_guard lock(PlannerMutex());
  mPlan->In = fftwf_alloc_complex(kSize);
  mPlan->Out = fftwf_alloc_complex(kSize);
  mPlan->Forward = fftwf_plan_dft_1d(static_cast<int>(kSize), mPlan->In, mPlan->Out, FFTW_FORWARD,
                                     FFTW_ESTIMATE);
}

ChannelLevel::~ChannelLevel() {
  const std::lock_guard lock(PlannerMutex());
  fftwf_destroy_plan(mPlan->Forward);
  fftwf_free(mPlan->In);
  fftwf_free(mPlan->Out);
}

void ChannelLevel::Reset() {
  std::fill(mAverage.begin(), mAverage.end(), 0.0f);
  mFrames = 0;
  mUntilNext = 0;
}

void ChannelLevel::Process(const Iq* in, size_t n) {
  // A spectrum starts every mHop samples and needs mSize of them in one block; a block too
  // short for that just moves the start on (the measurement is statistical).
  size_t i = mUntilNext;
  while (i + mSize <= n) {
    Analyse(in + i);
    i += mHop;
  }
  mUntilNext = i >= n ? i - n : 0;
}

void ChannelLevel::Analyse(const Iq* frame) {
  for (size_t i = 0; i < mSize; ++i) {
    mPlan->In[i][0] = frame[i].real() * mWindow[i];
    mPlan->In[i][1] = frame[i].imag() * mWindow[i];
  }
  fftwf_execute(mPlan->Forward);
  const float weight = mFrames == 0 ? 1.0f : kAveraging;
  for (size_t k = 0; k < mSize; ++k) {
    const float power = mPlan->Out[k][0] * mPlan->Out[k][0] + mPlan->Out[k][1] * mPlan->Out[k][1];
    mAverage[k] += weight * (power - mAverage[k]);
  }
  ++mFrames;
}

double ChannelLevel::MarginDb() const {
  // Inside: the middle of the channel (the edges carry little of an FM signal's power).
  // Outside: beyond one and a half channel widths from the centre.
  double inside = 0;
  size_t insideCount = 0;
  std::vector<float>& outside = mScratch;
  outside.clear();
  for (size_t k = 0; k < mSize; ++k) {
    const auto bin =
        static_cast<std::ptrdiff_t>(k) - (k < mSize / 2 ? 0 : static_cast<std::ptrdiff_t>(mSize));
    const double f = std::abs(static_cast<double>(bin) * mBinHz);
    if (f <= 0.75 * mChannelHalfWidth) {
      inside += mAverage[k];
      ++insideCount;
    } else if (f >= 3 * mChannelHalfWidth) {
      outside.push_back(mAverage[k]);
    }
  }
  if (insideCount == 0 || outside.empty()) return 0;
  auto middle = outside.begin() + static_cast<std::ptrdiff_t>(outside.size() / 2);
  std::nth_element(outside.begin(), middle, outside.end());
  const double floor = std::max(static_cast<double>(*middle), 1e-30);
  return 10 * std::log10(std::max(inside / insideCount, 1e-30) / floor);
}

}  // namespace ondivo::sdr
