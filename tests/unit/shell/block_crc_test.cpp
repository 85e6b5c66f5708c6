#include "block_crc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One bit at a time, straight from the definition: MSB first, poly 0x04C11DB7.
uint32_t BitwiseCrc(const std::vector<uint8_t> &bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t b : bytes) {
    for (int bit = 7; bit >= 0; --bit) {
      const uint32_t in = (b >> bit) & 1u;
      const uint32_t top = crc >> 31;
      crc <<= 1;
      if (top ^ in) crc ^= 0x04C11DB7u;
    }
  }
  return crc ^ 0xFFFFFFFFu;
}

TEST(BlockCrc, GivesTheCheckValueAndZeroForNoBytes) {
  EXPECT_EQ(BlockCrc("123456789", 9), 0xFC891918u);
  EXPECT_EQ(BlockCrc(nullptr, 0), 0u);
  EXPECT_EQ(BlockCrc("x", 0), 0u);
}

TEST(BlockCrc, AgreesWithABitwiseReferenceOnEveryLength) {
  std::vector<uint8_t> bytes;
  uint32_t seed = 7;
  for (int length = 0; length <= 300; ++length) {
    ASSERT_EQ(BlockCrc(bytes.data(), (uint32_t)bytes.size()), BitwiseCrc(bytes)) << length;
    seed = seed * 214013u + 2531011u;
    bytes.push_back((uint8_t)(seed >> 16));
  }
}

}  // namespace
