#include "sim/RdsGenerator.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace ondivo::sim {

namespace {

RdsBlock Word(uint16_t word, uint8_t id) {
  return {static_cast<uint8_t>(word & 0xFF), static_cast<uint8_t>(word >> 8), id};
}

uint8_t CharAt(const std::string& text, size_t i) {
  return i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

}  // namespace

std::vector<RdsBlock> RdsGenerator::Group(uint16_t pi, uint16_t b, uint16_t c, uint16_t d) {
  return {Word(pi, 0), Word(b, 1), Word(c, 2), Word(d, 3)};
}

std::vector<RdsBlock> RdsGenerator::ServiceGroup(uint16_t pi, int segment,
                                                 const std::string& name) {
  const auto at = static_cast<size_t>(segment * 2);
  const uint16_t b = static_cast<uint16_t>(0x0000 | (segment & 3));
  const uint16_t d = static_cast<uint16_t>(CharAt(name, at) << 8 | CharAt(name, at + 1));
  return Group(pi, b, 0xE0CD, d);  // block C of 0A: alternative frequencies, unused here
}

std::vector<RdsBlock> RdsGenerator::TextGroup(uint16_t pi, int segment, bool abFlag,
                                              const std::string& text) {
  const auto at = static_cast<size_t>(segment * 4);
  uint8_t chars[4];
  for (size_t i = 0; i < 4; ++i) {
    chars[i] = at + i == text.size() ? 0x0D : CharAt(text, at + i);
  }
  const uint16_t b = static_cast<uint16_t>(0x2000 | (abFlag ? 0x10 : 0) | (segment & 0xF));
  return Group(pi, b, static_cast<uint16_t>(chars[0] << 8 | chars[1]),
               static_cast<uint16_t>(chars[2] << 8 | chars[3]));
}

RdsGenerator::RdsGenerator(RdsStation station) : station_(std::move(station)) {
  std::string text = station_.RadioText.substr(0, 64);
  // Segments up to and including the end marker (none needed when the text fills 64).
  const int textSegments = text.size() >= 64 ? 16 : static_cast<int>(text.size() / 4 + 1);
  int nextText = 0;
  for (int round = 0; round < textSegments || round < 4; ++round) {
    for (int segment = 0; segment < 4; ++segment) {
      const auto group = ServiceGroup(station_.PI, segment, station_.ProgramService);
      cycle_.insert(cycle_.end(), group.begin(), group.end());
      if (segment % 2 == 1) {
        const auto textGroup = TextGroup(station_.PI, nextText, false, text);
        cycle_.insert(cycle_.end(), textGroup.begin(), textGroup.end());
        nextText = (nextText + 1) % textSegments;
      }
    }
  }
}

RdsBlock RdsGenerator::BlockAt(uint64_t n) const {
  return cycle_[n % cycle_.size()];
}

bool RdsGenerator::BitAt(uint64_t n) const {
  const RdsBlock block = BlockAt(n / rds::kBlockBits);
  const uint32_t word =
      rds::Encode(static_cast<uint16_t>(block.Msb << 8 | block.Lsb), block.Block & 7);
  return (word >> (rds::kBlockBits - 1 - n % rds::kBlockBits)) & 1u;
}

RdsStation LandscapeRds(const LandscapeStation& station) {
  std::string name = station.Name;
  std::string ps;
  for (char c : name.substr(0, 8))
    ps += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ps.resize(8, ' ');
  const auto pi = static_cast<uint16_t>(0xD000 + std::lround(station.Frequency * 10) % 0x1000);
  char text[64];
  std::snprintf(text, sizeof(text), "You are listening to %s on %.2f MHz", station.Name,
                station.Frequency);
  return {pi, ps, text};
}

}  // namespace ondivo::sim
