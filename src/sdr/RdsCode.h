#pragma once
// The RDS block code: 16 information bits and a 10-bit checkword, the remainder of
// information·x¹⁰ divided by g(x) = x¹⁰ + x⁸ + x⁷ + x⁵ + x⁴ + x³ + 1, with the block's offset
// word added. A received 26-bit block divided by g(x) leaves its offset word when it arrived
// intact, which is how a receiver finds block boundaries and tells A, B, C, C' and D apart.
#include <array>
#include <cstddef>
#include <cstdint>

namespace ondivo {

// One block as the kernel hands it out (struct v4l2_rds_data) and RdsDecoder::Feed takes it:
// the information word, the block number (0..3, 4 for C') and the corrected/error flags.
struct RdsBlock {
  uint8_t Lsb = 0;
  uint8_t Msb = 0;
  uint8_t Block = 0;
};

namespace rds {

inline constexpr int kBlockBits = 26;
inline constexpr int kCheckBits = 10;
inline constexpr uint32_t kGenerator = 0x5B9;
// Offset words by block number: A, B, C, D, C'.
inline constexpr std::array<uint16_t, 5> kOffsets{0x0FC, 0x198, 0x168, 0x1B4, 0x350};
inline constexpr double kBitRate = 1187.5;

// The remainder of a 26-bit block divided by g(x).
constexpr uint16_t Syndrome(uint32_t block) {
  for (int bit = kBlockBits - 1; bit >= kCheckBits; --bit)
    if (block & (1u << bit)) block ^= kGenerator << (bit - kCheckBits);
  return static_cast<uint16_t>(block);
}

// The 26 bits sent for an information word as block number `block` (0..4).
constexpr uint32_t Encode(uint16_t information, int block) {
  const uint32_t shifted = static_cast<uint32_t>(information) << kCheckBits;
  return shifted | (Syndrome(shifted) ^ kOffsets[static_cast<std::size_t>(block)]);
}

}  // namespace rds
}  // namespace ondivo
