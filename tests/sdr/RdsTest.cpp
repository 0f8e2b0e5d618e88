// RDS from the multiplex: the block code on bit streams made here, then the whole branch on
// IQ synthesized with a known group sequence (name time, block errors, transmitter clock).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "radio/RdsDecoder.h"
#include "sdr/FmReceiver.h"
#include "sdr/RdsBlockSync.h"
#include "sim/RdsGenerator.h"
#include "tests/support/FmStationSynth.h"

namespace ondivo::sdr {
namespace {

const sim::RdsStation kStation{0xD2A5, "ONDIVO 1", "Tuned by software all the way"};

uint16_t Word(const RdsBlock& b) {
  return static_cast<uint16_t>(b.Msb << 8 | b.Lsb);
}

TEST(RdsBlockSyncTest, FindsBlocksMidStreamAndMendsOnlyShortBursts) {
  // A version B group (C') among version A ones, the stream entered in the middle of a block.
  std::vector<RdsBlock> sent;
  for (int g = 0; g < 6; ++g) {
    const auto group = g == 3 ? sim::RdsGenerator::Group(0xD2A5, 0x0800, 0xD2A5, 0x4142)
                              : sim::RdsGenerator::ServiceGroup(0xD2A5, g % 4, "ONDIVO 1");
    sent.insert(sent.end(), group.begin(), group.end());
  }
  sent[14].Block = RdsDecoder::kCAlt;
  std::vector<uint8_t> bits;
  for (const RdsBlock& b : sent)
    for (int i = rds::kBlockBits - 1; i >= 0; --i)
      bits.push_back((rds::Encode(Word(b), b.Block) >> i) & 1);
  // Wrong bits: a 2-bit burst in block 12, a single one in block 13, a 3-bit burst in 16.
  for (int at : {12 * 26 + 5, 12 * 26 + 6, 13 * 26 + 20, 16 * 26 + 3, 16 * 26 + 5})
    bits[static_cast<size_t>(at)] ^= 1;

  RdsBlockSync sync;
  std::vector<RdsBlock> got;
  for (size_t i = 13; i < bits.size(); ++i)
    if (RdsBlock b; sync.Push(bits[i], b)) got.push_back(b);
  ASSERT_FALSE(got.empty());
  const size_t first = sent.size() - got.size();
  EXPECT_LE(first, 3u);  // sync on the second block seen after the entry point
  for (size_t i = 0; i < got.size(); ++i) {
    const size_t n = first + i;
    SCOPED_TRACE(n);
    EXPECT_EQ(got[i].Block & RdsDecoder::kBlockMask, sent[n].Block);
    const uint8_t flags = got[i].Block & (RdsDecoder::kBlockCorrected | RdsDecoder::kBlockError);
    EXPECT_EQ(flags, n == 12 || n == 13 ? RdsDecoder::kBlockCorrected
                     : n == 16          ? RdsDecoder::kBlockError
                                        : 0);
    if (!(flags & RdsDecoder::kBlockError)) {
      EXPECT_EQ(Word(got[i]), Word(sent[n]));
    }
  }
}

constexpr double kIqRate = 960e3;
constexpr double kOffset = 250e3;
constexpr size_t kBlock = 9600;  // 10 ms

struct Heard {
  double NameSeconds = -1;  // when the decoder first showed the whole name
  std::string Name, Text;
  double BlockErrorRate = 1;
};

// Receives the station for `seconds` and compares every block slot after the first block
// found with what was sent.
Heard Listen(test::FmStation station, double seconds, unsigned seed = 1) {
  const auto generator = std::make_shared<sim::RdsGenerator>(kStation);
  station.OffsetHz = kOffset;
  station.RdsBit = [generator](uint64_t n) { return generator->BitAt(n); };
  const auto iq = test::SynthesizeIq(station, kIqRate, seconds, seed);
  FmReceiver receiver({.IqRate = kIqRate, .StationOffsetHz = kOffset, .MaxBlock = kBlock});
  std::vector<float> frames(receiver.MaxFrames() * 2);
  RdsDecoder decoder;
  Heard heard;
  std::vector<RdsBlock> blocks;
  double firstBlockSeconds = -1;
  for (size_t start = 0; start + kBlock <= iq.size(); start += kBlock) {
    receiver.Process(iq.data() + start, kBlock, frames.data());
    const double now = static_cast<double>(start + kBlock) / kIqRate;
    for (const RdsBlock& b : receiver.RdsBlocks()) {
      if (firstBlockSeconds < 0) firstBlockSeconds = now;
      blocks.push_back(b);
      decoder.Feed(b.Lsb, b.Msb, b.Block);
      if (heard.NameSeconds < 0 && decoder.ProgramService() == kStation.ProgramService)
        heard.NameSeconds = now;
    }
  }
  heard.Name = decoder.ProgramService();
  heard.Text = decoder.RadioText();
  if (blocks.size() < 8) return heard;
  // Where in the sent stream the first block stands: the first position whose run of
  // blocks matches.
  const double slots =
      std::max(static_cast<double>(blocks.size()),
               1 + (seconds - firstBlockSeconds) * rds::kBitRate / rds::kBlockBits);
  for (uint64_t at = 0; at < 1000; ++at) {
    size_t good = 0;
    for (size_t i = 0; i < blocks.size(); ++i) {
      const RdsBlock sent = generator->BlockAt(at + i);
      good += !(blocks[i].Block & RdsDecoder::kBlockError) &&
              (blocks[i].Block & RdsDecoder::kBlockMask) == sent.Block &&
              Word(blocks[i]) == Word(sent);
      if (i == 8 && good < 8) break;
    }
    if (good >= 8) {
      heard.BlockErrorRate = 1 - static_cast<double>(good) / slots;
      break;
    }
  }
  return heard;
}

TEST(RdsReceiveTest, NameWithinTwoSecondsAtTwentyFiveDb) {
  // The stream starts half a bit and half a block in: timing and block sync both acquire.
  const Heard heard = Listen({.CarrierToNoiseDb = 25, .RdsStartBits = 13.5}, 2.2);
  std::printf("name after %.2f s\n", heard.NameSeconds);
  EXPECT_EQ(heard.Name, kStation.ProgramService);
  EXPECT_GT(heard.NameSeconds, 0);
  EXPECT_LE(heard.NameSeconds, 2.0);
}

TEST(RdsReceiveTest, BlockErrorRateUnderOnePercentAtTwentyDb) {
  const Heard heard = Listen({.CarrierToNoiseDb = 20, .RdsStartBits = 0.3}, 6.0, 7);
  std::printf("block error rate %.2f %%\n", 100 * heard.BlockErrorRate);
  EXPECT_LT(heard.BlockErrorRate, 0.01);
  EXPECT_EQ(heard.Text, kStation.RadioText);
}

TEST(RdsReceiveTest, TransmitterBitClockOffEitherWay) {
  // ±10 ppm is what transmitters are held to; 300 ppm drifts by most of a bit in the time,
  // which only a loop that follows the clock survives.
  for (const double ppm : {10.0, -10.0, 300.0}) {
    SCOPED_TRACE(ppm);
    const Heard heard =
        Listen({.CarrierToNoiseDb = 25, .RdsClockPpm = ppm, .RdsStartBits = 0.7}, 2.2, 3);
    EXPECT_EQ(heard.Name, kStation.ProgramService);
    EXPECT_LT(heard.BlockErrorRate, 0.01);
  }
}

}  // namespace
}  // namespace ondivo::sdr
