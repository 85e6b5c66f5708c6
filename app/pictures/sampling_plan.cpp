// Which source pixels the bicubic stretch reads is known before the first row arrives: each
// destination column reads four source columns, each destination row four source rows.
#include "sampling_plan.h"

#include <stdlib.h>
#include <string.h>

namespace {

// Marks the source pixels one axis of the stretch reads: the four neighbours of every
// destination pixel inside the range guard, as far as they lie in the picture.
void MarkRead(int32_t destinationSize, int32_t sourceSize, uint8_t *marks) {
  const double ratio = (double)destinationSize / sourceSize;
  for (int32_t i = 0; i < destinationSize; ++i) {
    AxisSample sample;
    MapDestinationAxis(i, destinationSize, sourceSize, ratio, &sample);
    if (!sample.inside) continue;
    for (int32_t j = sample.first; j < sample.first + 4; ++j)
      if (j >= 0 && j < sourceSize) marks[j] = 1;
  }
}

// The read columns, their groups and their places in a compact row; then what each
// destination column reads.
int SetUpColumns(SamplingPlan *plan, int32_t w, int32_t W) {
  uint8_t *marks = (uint8_t *)calloc((size_t)w, 1);
  plan->columnIndex = (int32_t *)malloc((size_t)w * sizeof(int32_t));
  plan->groups = (ColumnGroup *)malloc((size_t)w * sizeof(ColumnGroup));
  plan->columnSamples = (ColumnSample *)malloc((size_t)W * sizeof(ColumnSample));
  if (!marks || !plan->columnIndex || !plan->groups || !plan->columnSamples) {
    free(marks);
    return 0;
  }
  MarkRead(W, w, marks);
  for (int32_t x = 0; x < w; ++x) {
    plan->columnIndex[x] = -1;
    if (!marks[x]) continue;
    ColumnGroup *last = plan->groupCount ? &plan->groups[plan->groupCount - 1] : NULL;
    if (last && last->keep < 4 && last->x + last->keep == x) {
      ++last->keep;
    } else {
      plan->groups[plan->groupCount++] = {x, 1};
      last = &plan->groups[plan->groupCount - 1];
    }
    plan->columnIndex[x] = COMPACT_GROUP_VALUES * (plan->groupCount - 1) + (x - last->x);
  }
  free(marks);
  plan->compactValues = (COMPACT_GROUP_VALUES * plan->groupCount + 15) / 16 * 16;
  const double ratio = (double)W / w;
  for (int32_t X = 0; X < W; ++X) {
    AxisSample sample;
    MapDestinationAxis(X, W, w, ratio, &sample);
    ColumnSample *column = &plan->columnSamples[X];
    column->inside = sample.inside;
    AxisWeights(sample.fraction, column->weights);
    for (int c = 0; c < 4; ++c) {
      const int32_t x = sample.first + c;
      column->place[c] = sample.inside && x >= 0 && x < w ? plan->columnIndex[x] : -1;
    }
  }
  return 1;
}

}  // namespace

int SetUpSamplingPlan(SamplingPlan *plan, int32_t width, int32_t height, int32_t W, int32_t H) {
  plan->readRow = (uint8_t *)calloc((size_t)height, 1);
  if (!plan->readRow || !SetUpColumns(plan, width, W)) return 0;
  MarkRead(H, height, plan->readRow);
  return 1;
}

void FreeSamplingPlan(SamplingPlan *plan) {
  free(plan->groups);
  free(plan->columnIndex);
  free(plan->readRow);
  free(plan->columnSamples);
  memset(plan, 0, sizeof *plan);
}

void DrawPlannedRow(const SamplingPlan *plan, const AxisSample *down,
                    const uint8_t *const filtered[4], int32_t W, uint8_t *out) {
  if (!down->inside) {
    memset(out, 0, (size_t)W * 3);
    return;
  }
  double wy[4];
  AxisWeights(down->fraction, wy);
  for (int32_t X = 0; X < W; ++X, out += 3) {
    const ColumnSample *column = &plan->columnSamples[X];
    if (!column->inside) {
      out[0] = out[1] = out[2] = 0;
      continue;
    }
    uint32_t near[4][4];
    for (int r = 0; r < 4; ++r) {
      for (int c = 0; c < 4; ++c) {
        const int32_t place = column->place[c];
        if (!filtered[r] || place < 0) {
          near[r][c] = 0;
          continue;
        }
        // A pixel's red, green and blue lie four values apart (see ColumnGroup).
        const uint8_t *p = filtered[r] + place;
        near[r][c] = (uint32_t)p[0] | ((uint32_t)p[4] << 8) | ((uint32_t)p[8] << 16);
      }
    }
    const uint32_t word = WeighNeighboursWith(near, column->weights, wy);
    out[0] = (uint8_t)(word >> 16);
    out[1] = (uint8_t)(word >> 8);
    out[2] = (uint8_t)word;
  }
}
