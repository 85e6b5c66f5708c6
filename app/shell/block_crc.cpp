#include "block_crc.h"

namespace {

const uint32_t kPolynomial = 0x04C11DB7u;

// The remainder of each possible top byte, built by the compiler so no thread ever races to
// fill it.
struct CrcTable {
  uint32_t entry[256];
  constexpr CrcTable() : entry() {
    for (uint32_t b = 0; b < 256; ++b) {
      uint32_t r = b << 24;
      for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) ? (r << 1) ^ kPolynomial : r << 1;
      entry[b] = r;
    }
  }
};

constexpr CrcTable kTable;

}  // namespace

uint32_t BlockCrc(const void *bytes, uint32_t count) {
  // With no bytes the inverted initial value is 0 already; the guard only spares a null pointer.
  if (count == 0) return 0;
  const uint8_t *p = static_cast<const uint8_t *>(bytes);
  uint32_t crc = 0xFFFFFFFFu;
  for (uint32_t i = 0; i < count; ++i) crc = (crc << 8) ^ kTable.entry[(crc >> 24) ^ p[i]];
  return ~crc;
}
