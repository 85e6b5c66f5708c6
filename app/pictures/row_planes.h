// One row as read, spread into the channel planes that filtering along it reads (see RowPlanes
// in filter_pass.h): one plane for each of red, green and blue, with the edge pixels repeated
// beyond both ends.
#pragma once

#include <stdint.h>

#include "picture_stream.h"

// Repeated edge values before pixel 0 of each plane: the widest filter reaches 63 pixels.
#define ROW_PLANE_LEAD 64

// Spreads `raw` (`width` pixels in `format`) into three planes of `length` values each, at
// `planes` (red, green, blue), pixel 0 at ROW_PLANE_LEAD; every value after the row repeats
// its edge pixel.  `length` must leave at least 16 values after the row.  Sets bit i % 32 of
// differs[i / 32] when pixel i differs from pixel i + 1 ((width + 31) / 32 words).
void SpreadRow(StreamRowFormat format, const uint8_t *raw, int32_t width, int32_t length,
               uint8_t *planes, uint32_t *differs);
