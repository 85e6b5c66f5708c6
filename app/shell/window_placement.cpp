#include "window_placement.h"

// The window as spans that cannot overflow, whatever corner was saved.
typedef struct Span {
  int64_t low, high;
} Span;

static int64_t Overlap(Span a, int32_t b0, int32_t b1) {
  int64_t low = a.low > b0 ? a.low : b0;
  int64_t high = a.high < b1 ? a.high : b1;
  return high > low ? high - low : 0;
}

// How far apart two spans are along one axis; 0 when they touch or overlap.
static int64_t Gap(Span a, int32_t b0, int32_t b1) {
  if (a.high <= b0) return b0 - a.high;
  if (b1 <= a.low) return a.low - b1;
  return 0;
}

static int Shows(Span a, int32_t b0, int32_t b1) {
  int64_t length = a.high - a.low;
  int64_t needed = length < PLACEMENT_MIN_VISIBLE ? length : (int64_t)PLACEMENT_MIN_VISIBLE;
  return length > 0 && Overlap(a, b0, b1) >= needed;
}

// The start of the span moved as little as possible into [low, high); a span longer than that
// starts at `low`.
static int32_t Within(Span a, int32_t low, int32_t high) {
  int64_t start = a.low;
  if (a.high > high) start = high - (a.high - a.low);
  if (start < low) start = low;
  return (int32_t)start;
}

void PlaceSavedWindow(int32_t *x, int32_t *y, int32_t width, int32_t height,
                      const ScreenRect *areas, int count) {
  Span across = {*x, (int64_t)*x + width};
  Span down = {*y, (int64_t)*y + height};
  if (count <= 0) return;
  for (int i = 0; i < count; ++i) {
    if (Shows(across, areas[i].left, areas[i].right) && Shows(down, areas[i].top, areas[i].bottom))
      return;
  }
  int nearest = 0;
  double best = -1;
  for (int i = 0; i < count; ++i) {
    double dx = (double)Gap(across, areas[i].left, areas[i].right);
    double dy = (double)Gap(down, areas[i].top, areas[i].bottom);
    double distance = dx * dx + dy * dy;
    if (best < 0 || distance < best) best = distance, nearest = i;
  }
  *x = Within(across, areas[nearest].left, areas[nearest].right);
  *y = Within(down, areas[nearest].top, areas[nearest].bottom);
}
