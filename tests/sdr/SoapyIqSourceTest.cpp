// The receiver on IQ from a real SoapySDR device: our emulated one (driver=ondivo), loaded by
// SoapySDR from the build's module folder, synthesizing the station landscape around the
// tuned centre.
#include "sdr/SoapyIqSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "sdr/FmReceiver.h"
#include "sim/SimulatedSdr.h"
#include "tests/support/FmStationSynth.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToneAnalysis.h"

namespace ondivo::sdr {
namespace {

constexpr double kAudioRate = 48000;

class SoapyIqSourceTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { sim::FindEmulatedSdr(); }

  struct Heard {
    std::vector<float> Left, Right;  // the last 100 ms
    tSignal State;
  };
  static Heard Listen(SoapyIqSource& source, double stationHz) {
    source.TuneStation(stationHz);
    FmReceiver receiver({.IqRate = source.Rate(),
                         .StationOffsetHz = SoapyIqSource::kStationOffsetHz,
                         .MaxBlock = 8192});
    std::vector<Iq> iq(8192);
    std::vector<float> frames(receiver.MaxFrames() * 2);
    Heard heard;
    for (size_t total = 0; total < 0.3 * source.Rate();) {
      const size_t n = source.Read(iq.data(), iq.size());
      total += n;
      const size_t got = receiver.Process(iq.data(), n, frames.data());
      for (size_t i = 0; i < got; ++i) {
        heard.Left.push_back(frames[2 * i]);
        heard.Right.push_back(frames[2 * i + 1]);
      }
    }
    const auto tail = static_cast<std::ptrdiff_t>(0.1 * kAudioRate);
    heard.Left.erase(heard.Left.begin(), heard.Left.end() - tail);
    heard.Right.erase(heard.Right.begin(), heard.Right.end() - tail);
    heard.State = receiver.State();
    return heard;
  }
};

void ExpectStereoTones(const std::vector<float>& l, const std::vector<float>& r) {
  const test::ToneSpectrum left(l, kAudioRate), right(r, kAudioRate);
  EXPECT_GE(left.ToneDb(1000) - left.OtherDb(50, 15000, {1000, 3000}), 30);
  EXPECT_GE(right.ToneDb(3000) - right.OtherDb(50, 15000, {1000, 3000}), 30);
  EXPECT_GE(left.ToneDb(1000) - right.ToneDb(1000), 30);
  EXPECT_GE(right.ToneDb(3000) - left.ToneDb(3000), 30);
}

TEST_F(SoapyIqSourceTest, ReceivesTheLandscapeThroughTheEmulatedDevice) {
  SoapyIqSource source("driver=ondivo,pace=0");
  EXPECT_EQ(source.Rate(), 2.4e6);  // the highest listed rate up to 2.4 Msps

  // 88.1 MHz is stereo with 1 kHz left and 3 kHz right; 87.6 MHz sits in the same window.
  const Heard stereo = Listen(source, 88.1e6);
  EXPECT_EQ(stereo.State, tSignal::sStereo);
  ExpectStereoTones(stereo.Left, stereo.Right);

  // Retuned in the same stream to 88.9 MHz, a mono station: both tones on both channels.
  const Heard mono = Listen(source, 88.9e6);
  EXPECT_EQ(mono.State, tSignal::sMono);
  const test::ToneSpectrum monoLeft(mono.Left, kAudioRate), monoRight(mono.Right, kAudioRate);
  for (double tone : {1000.0, 3000.0})
    EXPECT_NEAR(monoLeft.ToneDb(tone), monoRight.ToneDb(tone), 0.5) << tone;
  EXPECT_NEAR(monoLeft.ToneDb(1000), monoLeft.ToneDb(3000), 6);
}

TEST_F(SoapyIqSourceTest, ReplaysACu8CaptureTunedAcrossItsWindow) {
  // Captured at 87.8 MHz with the station at 88.1 MHz; tuning to it puts the centre 50 kHz
  // higher, so the replay has to move the capture.
  constexpr double kRate = 1.024e6;
  const auto iq = test::SynthesizeIq({.OffsetHz = 300e3, .CarrierToNoiseDb = 40}, kRate, 0.35);
  std::string bytes;
  for (const auto& x : iq)
    for (float v : {x.real(), x.imag()})
      bytes +=
          static_cast<char>(std::lround(std::clamp(127.5f + 0.25f * 127.5f * v, 0.0f, 255.0f)));
  const test::TempDir dir;
  test::WriteBytes(dir / "capture.cu8", bytes);

  SoapyIqSource source("driver=ondivo,pace=0,file=" + (dir / "capture.cu8").string() +
                       ",format=cu8,rate=1024000,center=87800000");
  const Heard heard = Listen(source, 88.1e6);
  EXPECT_EQ(heard.State, tSignal::sStereo);
  ExpectStereoTones(heard.Left, heard.Right);
}

TEST_F(SoapyIqSourceTest, ADeviceThatFailsItsReadsIsTold) {
  SoapyIqSource source("driver=ondivo,pace=0,failafter=20000");
  std::vector<Iq> iq(8192);
  size_t total = 0;
  try {
    while (total < 100000) total += source.Read(iq.data(), iq.size());
  } catch (const eIqSource& e) {
    EXPECT_STREQ(e.what(), "The SDR device stopped delivering samples: STREAM_ERROR");
  }
  EXPECT_EQ(total, 20000u);
}

TEST_F(SoapyIqSourceTest, ADeviceThatIsNotThereIsToldByItsArguments) {
  try {
    SoapyIqSource source("driver=nosuchradio");
    FAIL() << "opened";
  } catch (const eIqSource& e) {
    EXPECT_NE(std::string(e.what()).find("driver=nosuchradio"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace ondivo::sdr
