// The checksum of the block picture kept in the settings file: it tells whether the saved
// window position still belongs to the same picture (and so the same window size).
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// CRC-32/BZIP2 of `count` bytes in memory order (polynomial 0x04C11DB7, initial value
// 0xFFFFFFFF, most significant bit first, result inverted).  No bytes give 0; `bytes` may then
// be null.  Pure: safe from any thread.
uint32_t BlockCrc(const void *bytes, uint32_t count);

#ifdef __cplusplus
}
#endif
