// The sampling plan of the streaming fit (see picture_stream.h), worked out from the sizes
// before the first row arrives: which source columns and rows the bicubic stretch reads, where
// each read column's values sit in a compact row (see ColumnGroup in filter_kernels.h), and
// what each destination column reads and with which weights.  Read-only once set up, so both
// threads may use it.
#pragma once

#include <stdint.h>

#include "filter_kernels.h"
#include "resample_steps.h"

// What a destination column reads: its four source columns' places in a compact row (-1 for
// those beyond the picture, which count as black) and their weights.
typedef struct ColumnSample {
  int32_t inside;
  int32_t place[4];
  double weights[4];
} ColumnSample;

typedef struct SamplingPlan {
  ColumnGroup *groups;  // the read columns, in groups of up to four neighbours
  int32_t groupCount;
  int32_t compactValues;        // values of a compact row: 12 per group, to a multiple of 16
  int32_t *columnIndex;         // per source column read: its red value's place in a compact row
  uint8_t *readRow;             // per source row: 1 when the stretch reads it
  ColumnSample *columnSamples;  // per destination column
} SamplingPlan;

// Plans the stretch of a width x height picture onto W x H pixels; `plan` zeroed by the caller.
// Returns 0 when there is no memory (FreeSamplingPlan then releases what was had).
int SetUpSamplingPlan(SamplingPlan *plan, int32_t width, int32_t height, int32_t W, int32_t H);

void FreeSamplingPlan(SamplingPlan *plan);

// Draws one destination row of W pixels (bytes blue, green, red) to `out`: `down` says where it
// falls among the source rows, and filtered[r] is source row down->first + r filtered both ways
// as a compact row, NULL for a row beyond the picture.
void DrawPlannedRow(const SamplingPlan *plan, const AxisSample *down,
                    const uint8_t *const filtered[4], int32_t W, uint8_t *out);
