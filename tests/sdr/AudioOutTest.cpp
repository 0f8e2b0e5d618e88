// From the receiver thread to the sound card: the lock-free ring between two threads, ALSA
// playback into a file PCM (the real ALSA path), and the receiver thread end to end.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

#include "audio/AlsaAudioSink.h"
#include "audio/AudioPlayback.h"
#include "audio/FrameRing.h"
#include "sdr/ReceiverThread.h"
#include "tests/support/FmStationSynth.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToneAnalysis.h"

namespace ondivo {
namespace {

TEST(FrameRingTest, CarriesEveryFrameInOrderBetweenTwoThreads) {
  // A small ring and uneven block sizes on both sides, so it wraps and runs full and empty
  // many times; a lost, doubled or torn frame breaks the count.
  FrameRing ring(64, 2);
  constexpr size_t kFrames = 200000;
  std::thread producer([&] {
    float block[2 * 37];
    for (size_t next = 0; next < kFrames;) {
      const size_t n = std::min<size_t>(37, kFrames - next);
      for (size_t i = 0; i < n; ++i) block[2 * i] = block[2 * i + 1] = static_cast<float>(next + i);
      size_t done = 0;
      while (done < n) {
        done += ring.Write(block + 2 * done, n - done);
        if (done < n) std::this_thread::yield();
      }
      next += n;
    }
  });
  float block[2 * 23];
  size_t expected = 0, mismatches = 0;
  while (expected < kFrames) {
    const size_t n = ring.Read(block, 23);
    for (size_t i = 0; i < n; ++i, ++expected)
      mismatches +=
          block[2 * i] != static_cast<float>(expected) || block[2 * i + 1] != block[2 * i];
    if (n == 0) std::this_thread::yield();
  }
  producer.join();
  EXPECT_EQ(mismatches, 0u);
  EXPECT_EQ(ring.Fill(), 0u);
}

// An ALSA configuration of our own (ALSA_CONFIG_PATH) whose "sdrfile" PCM writes raw 16-bit
// frames to a file, as the emulated sound card's playback does.
class AlsaFileOutput {
 public:
  AlsaFileOutput() {
    std::ofstream(dir / "asound.conf") << "pcm.sdrfile { type file slave.pcm { type null } file \""
                                       << Raw().string() << "\" format \"raw\" }\n";
    ::setenv("ALSA_CONFIG_PATH", (dir / "asound.conf").c_str(), 1);
  }
  ~AlsaFileOutput() { ::unsetenv("ALSA_CONFIG_PATH"); }
  std::filesystem::path Raw() const { return dir / "out.raw"; }
  // One channel of what was played, as floats.
  std::vector<float> Channel(int which) const {
    std::ifstream in(Raw(), std::ios::binary);
    std::vector<float> out;
    int16_t frame[2];
    while (in.read(reinterpret_cast<char*>(frame), sizeof frame))
      out.push_back(frame[which] / 32768.0f);
    return out;
  }
  test::TempDir dir;
};

TEST(AlsaAudioSinkTest, PlaysIntoThePcmAndNamesAnOutputItCannotOpen) {
  AlsaFileOutput output;
  AlsaAudioSink sink("sdrfile");
  sink.Open(48000, 2);
  std::vector<float> frames(2 * 4800);
  for (size_t i = 0; i < 4800; ++i) {
    frames[2 * i] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 1000 * i / 48000));
    frames[2 * i + 1] = -1.5f;  // clipped, not wrapped
  }
  sink.Write(frames.data(), 4800);
  sink.Close();
  const auto left = output.Channel(0), right = output.Channel(1);
  ASSERT_EQ(left.size(), 4800u);
  EXPECT_NEAR(*std::max_element(left.begin(), left.end()), 0.5f, 1e-3f);
  EXPECT_EQ(right[100], -1.0f);

  AlsaAudioSink missing("nosuchpcm");
  try {
    missing.Open(48000, 2);
    FAIL() << "opened a PCM that does not exist";
  } catch (const eAudioSink& e) {
    EXPECT_NE(std::string(e.what()).find("\"nosuchpcm\""), std::string::npos) << e.what();
  }
}

// Synthesized IQ handed over in device-sized reads; optionally fails after a number of reads.
class SynthesizedSource final : public sdr::IqSource {
 public:
  SynthesizedSource(std::vector<sdr::Iq> iq, double rate, int failAfter = -1)
      : mIq(std::move(iq)), mRate(rate), mFailAfter(failAfter) {}
  // Called on the reading thread before each read, with the read's number.
  std::function<void(int)> BeforeRead;
  double Rate() const override { return mRate; }
  size_t Read(sdr::Iq* out, size_t max) override {
    if (BeforeRead) BeforeRead(mReads);
    if (mFailAfter >= 0 && mReads == mFailAfter) throw sdr::eIqSource("The SDR device stopped");
    ++mReads;
    const size_t n = std::min({max, mIq.size() - mAt, size_t{9600}});
    std::copy_n(mIq.data() + mAt, n, out);
    mAt += n;
    return n;
  }

 private:
  std::vector<sdr::Iq> mIq;
  double mRate;
  int mFailAfter, mReads = 0;
  size_t mAt = 0;
};

TEST(ReceiverThreadTest, StationPlaysThroughTheRingIntoAlsa) {
  constexpr double kRate = 960e3, kOffset = 250e3;
  AlsaFileOutput output;
  SynthesizedSource source(
      test::SynthesizeIq({.OffsetHz = kOffset, .CarrierToNoiseDb = 30}, kRate, 0.3), kRate);
  FrameRing ring(48000, 2);
  AlsaAudioSink sink("sdrfile");
  AudioPlayback playback(ring, sink, 48000, 2400);
  sdr::ReceiverThread receiver(source, ring, {.StationOffsetHz = kOffset, .MaxBlock = 9600}, 2400);
  EXPECT_FALSE(receiver.Reception());  // nothing measured yet
  playback.Start();
  receiver.Start();
  receiver.Finish();  // the source ends after 0.3 s
  playback.Finish();
  EXPECT_EQ(receiver.Reception(), tSignal::sStereo);
  EXPECT_EQ(receiver.Failure(), "");
  EXPECT_EQ(playback.Failure(), "");

  const auto left = output.Channel(0), right = output.Channel(1);
  ASSERT_GE(left.size(), 9600u);  // 0.3 s less the 20 ms dropped at the start
  const std::vector<float> l(left.end() - 4800, left.end()), r(right.end() - 4800, right.end());
  const test::ToneSpectrum ls(l, 48000), rs(r, 48000);
  EXPECT_GT(ls.ToneDb(1000) - rs.ToneDb(1000), 30);
  EXPECT_GT(rs.ToneDb(3000) - ls.ToneDb(3000), 30);
}

TEST(ReceiverThreadTest, ARetuneForgetsTheOldChannelUntilTheNewOneIsMeasured) {
  constexpr double kRate = 960e3, kOffset = 250e3;
  SynthesizedSource source(
      test::SynthesizeIq({.OffsetHz = kOffset, .CarrierToNoiseDb = 30}, kRate, 0.4), kRate);
  FrameRing ring(48000, 2);
  sdr::ReceiverThread receiver(source, ring, {.StationOffsetHz = kOffset, .MaxBlock = 9600}, 2400);
  std::optional<tSignal> beforeRetune, justAfter;
  source.BeforeRead = [&](int read) {
    if (read != 20) return;  // 200 ms in, to an empty channel
    beforeRetune = receiver.Reception();
    receiver.Tune(-kOffset);
    justAfter = receiver.Reception();
  };
  receiver.Start();
  receiver.Finish();
  EXPECT_EQ(beforeRetune, tSignal::sStereo);
  EXPECT_FALSE(justAfter);
  EXPECT_EQ(receiver.Reception(), tSignal::sNone);
}

// A receiver that falls behind: each wait of the playback thread brings a fifth of a period.
// After running dry the playback waits for the target fill again, so the sound comes in few
// long stretches with gaps between them, never as a rattle of scraps.
TEST(AudioPlaybackTest, AfterRunningDryItWaitsForTheTargetFillBeforeItPlaysAgain) {
  class Stretches final : public AudioSink {
   public:
    void Open(unsigned, unsigned) override {}
    void Write(const float*, size_t count) override { played.back() += count; }
    void Close() override {}
    std::vector<size_t> played{0};  // frames played between two waits
  } sink;
  FrameRing ring(4096, 2);
  class LateReceiver final : public Delay {
   public:
    LateReceiver(FrameRing& ring, Stretches& sink) : mRing(ring), mSink(sink) {}
    void Wait(int) override {
      if (mSink.played.back() != 0) mSink.played.push_back(0);
      if (mWritten < 4800) {
        const std::vector<float> frames(2 * 100, 0.25f);
        mWritten += mRing.Write(frames.data(), 100);
        return;
      }
      const std::lock_guard lock(mutex);
      done = true;
      wake.notify_all();
    }
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;

   private:
    FrameRing& mRing;
    Stretches& mSink;
    size_t mWritten = 0;
  } receiver(ring, sink);
  AudioPlayback playback(ring, sink, 48000, 960, &receiver);
  playback.Start();
  {
    std::unique_lock lock(receiver.mutex);
    EXPECT_TRUE(
        receiver.wake.wait_for(lock, std::chrono::seconds(10), [&] { return receiver.done; }));
  }
  playback.Stop();
  std::erase(sink.played, 0u);
  EXPECT_EQ(sink.played.size(), 4u);
  for (const size_t stretch : sink.played) EXPECT_GE(stretch, 960u);
}

// The sound card's clock against the SDR's: a sound card that keeps the ring fuller than the
// target gets a little less sound per IQ sample, one that keeps it emptier a little more, and
// never more than the correction's limit of 500 ppm either way.
TEST(ReceiverThreadTest, TheRingFillSteersTheResamplingRatio) {
  constexpr double kRate = 960e3, kOffset = 250e3;
  const auto iq = test::SynthesizeIq({.OffsetHz = kOffset, .CarrierToNoiseDb = 30}, kRate, 1.2);
  // Frames made from the whole recording while the sound card holds the ring at heldFill; the
  // receiver sees one block (480 frames) more than that when it steers.
  const auto produced = [&](size_t heldFill) {
    SynthesizedSource source(iq, kRate);
    FrameRing ring(16384, 2);
    sdr::ReceiverThread receiver(source, ring, {.StationOffsetHz = kOffset, .MaxBlock = 9600},
                                 2400);
    std::vector<float> card(2 * 16384);
    double taken = 0;
    source.BeforeRead = [&](int) {
      if (const size_t fill = ring.Fill(); fill > heldFill)
        taken += static_cast<double>(ring.Read(card.data(), fill - heldFill));
    };
    receiver.Start();
    receiver.Finish();
    return taken + static_cast<double>(ring.Fill());
  };
  // A quarter off the target asks for 250 ppm, far off for the limit; the smoothed fill takes a
  // few dozen blocks to get there, so the run as a whole gets somewhat less.
  const double even = produced(1920);
  const double ppm = even * 1e-6;
  const double fuller = (even - produced(2520)) / ppm, emptier = (produced(1320) - even) / ppm;
  EXPECT_TRUE(fuller > 150 && fuller <= 250) << fuller;
  EXPECT_TRUE(emptier > 150 && emptier <= 250) << emptier;
  const double far = (even - produced(12000)) / ppm;
  EXPECT_TRUE(far > 400 && far <= 500) << far;
}

TEST(ReceiverThreadTest, AFailingReadIsToldAndEndsTheThread) {
  SynthesizedSource source(std::vector<sdr::Iq>(96000), 960e3, /*failAfter=*/3);
  FrameRing ring(4800, 2);
  sdr::ReceiverThread receiver(source, ring, {.MaxBlock = 9600}, 2400);
  receiver.Start();
  receiver.Finish();
  EXPECT_EQ(receiver.Failure(), "The SDR device stopped");
}

}  // namespace
}  // namespace ondivo
