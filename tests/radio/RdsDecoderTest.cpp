#include "radio/RdsDecoder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "sim/RdsGenerator.h"

namespace ondivo {
namespace {

using sim::RdsBlock;
using sim::RdsGenerator;

constexpr uint16_t kPI = 0xD3A1;

// Feeds blocks, recording every service name the decoder shows along the way.
struct Listener {
  RdsDecoder decoder;
  std::vector<std::string> shown;
  void Feed(const std::vector<RdsBlock>& blocks) {
    for (const auto& b : blocks) {
      if (decoder.Feed(b.Lsb, b.Msb, b.Block) && !decoder.ProgramService().empty() &&
          (shown.empty() || shown.back() != decoder.ProgramService())) {
        shown.push_back(decoder.ProgramService());
      }
    }
  }
};

std::vector<RdsBlock> NameCycles(const std::string& name, int cycles, uint16_t pi = kPI) {
  std::vector<RdsBlock> out;
  for (int c = 0; c < cycles; ++c) {
    for (int s = 0; s < 4; ++s) {
      const auto g = RdsGenerator::ServiceGroup(pi, s, name);
      out.insert(out.end(), g.begin(), g.end());
    }
  }
  return out;
}

std::vector<RdsBlock> TextCycle(const std::string& text, bool ab, uint16_t pi = kPI) {
  std::vector<RdsBlock> out;
  const int segments = static_cast<int>(text.size() / 4 + 1);
  for (int s = 0; s < segments && s < 16; ++s) {
    const auto g = RdsGenerator::TextGroup(pi, s, ab, text);
    out.insert(out.end(), g.begin(), g.end());
  }
  return out;
}

TEST(RdsDecoderTest, ServiceNameNeedsEverySegmentTwiceAndPIIsConfirmed) {
  Listener l;
  l.Feed(NameCycles("JAZZ FM ", 1));
  EXPECT_EQ(l.decoder.ProgramService(), "") << "one pass is not enough";
  EXPECT_TRUE(l.decoder.HasPI());
  EXPECT_EQ(l.decoder.PI(), kPI);
  l.Feed(NameCycles("JAZZ FM ", 1));
  EXPECT_EQ(l.decoder.ProgramService(), "JAZZ FM ");
  EXPECT_EQ(l.shown, std::vector<std::string>{"JAZZ FM "});
}

TEST(RdsDecoderTest, RecoversTheNameFromARecordingWithCorruptedBlocks) {
  // A recording of a weak station: flagged errors, corrected blocks and one bit error the
  // checkword let through (an 'X' instead of a blank).
  auto blocks = NameCycles("JAZZ FM ", 6);
  blocks[1 * 4 + 3].Block |= RdsDecoder::kBlockError;      // segment 1's D lost
  blocks[2 * 4 + 1].Block |= RdsDecoder::kBlockError;      // segment 2's B lost
  blocks[5 * 4 + 3].Block |= RdsDecoder::kBlockCorrected;  // corrected: still good
  blocks[6 * 4 + 3].Msb = 'X';                             // segment 2 reads "XF" once
  blocks[9 * 4 + 0].Block |= RdsDecoder::kBlockError;      // block A lost: B..D still count
  blocks[12 * 4 + 2].Block = 7;                            // an invalid block id
  Listener l;
  l.Feed(blocks);
  EXPECT_EQ(l.decoder.ProgramService(), "JAZZ FM ");
  for (const auto& name : l.shown) EXPECT_EQ(name, "JAZZ FM ") << "showed " << name;
}

TEST(RdsDecoderTest, NeverShowsAHalfUpdatedNameWhenTheStationChangesIt) {
  Listener l;
  l.Feed(NameCycles("MORNING ", 3));
  // The station switches its name halfway through a cycle, and some blocks go missing.
  auto change = NameCycles("NEWS 24 ", 4);
  const auto old = NameCycles("MORNING ", 1);
  std::vector<RdsBlock> blocks(old.begin(), old.begin() + 8);
  blocks.insert(blocks.end(), change.begin() + 8, change.end());
  blocks[13].Block |= RdsDecoder::kBlockError;
  l.Feed(blocks);
  EXPECT_EQ(l.decoder.ProgramService(), "NEWS 24 ");
  EXPECT_EQ(l.shown, (std::vector<std::string>{"MORNING ", "NEWS 24 "}));
}

TEST(RdsDecoderTest, AnotherPIForgetsTheOldStation) {
  Listener l;
  l.Feed(NameCycles("CLASSIC ", 2));
  ASSERT_EQ(l.decoder.ProgramService(), "CLASSIC ");
  l.Feed(NameCycles("ROCK 101", 1, 0xC123));
  EXPECT_EQ(l.decoder.PI(), 0xC123);
  EXPECT_EQ(l.decoder.ProgramService(), "") << "the old name must not stay on another station";
  l.Feed(NameCycles("ROCK 101", 2, 0xC123));
  EXPECT_EQ(l.decoder.ProgramService(), "ROCK 101");
}

TEST(RdsDecoderTest, RadioTextIsShownWholeAndStartsAgainOnTheABFlag) {
  Listener l;
  const auto first = TextCycle("Now playing: Blue in Green", false);
  l.Feed(std::vector<RdsBlock>(first.begin(), first.end() - 4));
  EXPECT_EQ(l.decoder.RadioText(), "") << "the last segment is missing";
  l.Feed(std::vector<RdsBlock>(first.end() - 4, first.end()));
  EXPECT_EQ(l.decoder.RadioText(), "Now playing: Blue in Green");

  // A/B toggles: the old text stays until the new one is complete, with no leftovers.
  const auto second = TextCycle("Traffic", true);
  l.Feed(std::vector<RdsBlock>(second.begin(), second.begin() + 4));
  EXPECT_EQ(l.decoder.RadioText(), "Now playing: Blue in Green");
  l.Feed(second);
  EXPECT_EQ(l.decoder.RadioText(), "Traffic");
}

TEST(RdsDecoderTest, ATextChangedWithoutTheABFlagIsNeverShownMixed) {
  Listener l;
  l.Feed(TextCycle("An example of Radio Text", false));
  EXPECT_EQ(l.decoder.RadioText(), "An example of Radio Text");
  // The same flag, another text of the same length: no segment of the old one survives.
  const auto other = TextCycle("The Radio Data System!!", false);
  l.Feed(std::vector<RdsBlock>(other.begin(), other.begin() + 12));
  EXPECT_EQ(l.decoder.RadioText(), "An example of Radio Text");
  l.Feed(std::vector<RdsBlock>(other.begin() + 12, other.end()));
  EXPECT_EQ(l.decoder.RadioText(), "The Radio Data System!!");
  l.Feed(TextCycle("The Radio Data System!!", false));
  EXPECT_EQ(l.decoder.RadioText(), "The Radio Data System!!") << "a repeat changes nothing";
}

TEST(RdsDecoderTest, RadioTextOfGroup2BAndCharacterTable) {
  Listener l;
  // 2B: two characters a segment in block D, PI repeated in block C'.
  const std::string text = "Caf\x82 ";  // 0x82 is e-acute in the RDS table
  for (int s = 0; s < 3; ++s) {
    const uint8_t c0 = s * 2 < 5 ? static_cast<uint8_t>(text[static_cast<size_t>(s * 2)]) : 0x0D;
    const uint8_t c1 =
        s * 2 + 1 < 5 ? static_cast<uint8_t>(text[static_cast<size_t>(s * 2 + 1)]) : 0x0D;
    const uint16_t b = static_cast<uint16_t>(0x2800 | s);
    auto g = RdsGenerator::Group(kPI, b, kPI, static_cast<uint16_t>(c0 << 8 | c1));
    g[2].Block = RdsDecoder::kCAlt;
    l.Feed(g);
  }
  EXPECT_EQ(l.decoder.RadioText(), "Caf\xC3\xA9");
  EXPECT_TRUE(l.decoder.HasPI());
  EXPECT_EQ(RdsCharToUtf8(0x41), "A");
  EXPECT_EQ(RdsCharToUtf8(0x0A), " ");
}

}  // namespace
}  // namespace ondivo
