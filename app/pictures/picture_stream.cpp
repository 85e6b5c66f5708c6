// The streaming fit (see picture_stream.h for the stages and who owns which buffer): the
// sampling plan says which columns and rows the stretch reads (sampling_plan.h), the hand-over
// moves rows from the reader to the worker (stream_handover.h), and this file runs the filter
// over each row taken: filtering it along into the ring of compact rows, filtering down the
// rows that now have all their neighbours, and drawing the destination rows that now have all
// their source rows.
//
// Filtering a row along (its channel planes, then the filter at the read columns) may be
// claimed by either thread: when the ring is nearly full, the reader claims the row it has just
// handed over before reading the next, so the work divides itself between the two when reading
// is the faster part, and the reader does nothing but read when it is the slower one.  Whole
// rows, each thread with planes of its own, so that a row's planes stay in the cache of the
// thread that made them; only the compact filtered row passes to the worker.
#include "picture_stream.h"

#include <emmintrin.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include "filter_pass.h"
#include "picture.h"
#include "resample_steps.h"
#include "row_planes.h"
#include "sampling_plan.h"
#include "stream_handover.h"

namespace {

// Where a thread spreads the row it filters along.
struct Planes {
  uint8_t *values;    // red, green, blue; planeLength bytes each
  uint32_t *differs;  // bit i: pixel i differs from pixel i + 1
  int32_t *sums;      // working room for filtering along (AlongScratchWords)
};

}  // namespace

struct PictureStream {
  int32_t width, height;
  StreamRowFormat format;
  size_t rowBytes;
  StreamTarget target;

  // Rows handed over by the reader; the reader's share of filtering along.
  RowHandover handover;
  FallbackCounts helperCounts;
  uint32_t rowsHelped;
  Planes readerPlanes, workerPlanes;

  // The filter, owned by whichever thread takes the rows.
  SamplingPlan plan;
  FilterPass along, down;
  int32_t planeLength;  // values of one channel plane, the repeated edge pixels included
  uint8_t *alongRing;   // alongSlots compact rows filtered along
  // Per value of the last row filtered along: how many rows above it hold the same value, at
  // most 255 (the widest window spans 126).
  uint8_t *sameAbove;
  int32_t alongSlots;
  const uint8_t **window;  // 2 x down.taps + 1 row pointers for the filter down
  uint8_t *downRows;       // 4 compact rows filtered both ways
  int32_t *downSums;       // working room for filtering down (DownScratchWords)
  int32_t nextDown;        // next source row the filter down considers
  int32_t lastDown;        // last source row filtered both ways, -1 before the first
  int32_t nextY;           // next destination row to draw
  FallbackCounts alongCounts, downCounts;
};

namespace {

void FreeStream(PictureStream *s) {
  FreeHandover(&s->handover);
  Planes *const planes[2] = {&s->readerPlanes, &s->workerPlanes};
  for (Planes *p : planes) {
    free(p->values);
    free(p->differs);
    free(p->sums);
  }
  FreeSamplingPlan(&s->plan);
  free(s->sameAbove);
  free(s->alongRing);
  free(s->window);
  free(s->downRows);
  free(s->downSums);
  free(s);
}

int AllocatePlanes(const PictureStream *s, Planes *planes) {
  planes->values = (uint8_t *)malloc((size_t)s->planeLength * 3);
  planes->differs = (uint32_t *)malloc(((size_t)s->width + 31) / 32 * sizeof(uint32_t));
  planes->sums = (int32_t *)calloc((size_t)AlongScratchWords(s->plan.groupCount), sizeof(int32_t));
  return planes->values && planes->differs && planes->sums;
}

void TakeRow(void *context, HandoverSlot *slot);

int SetUp(PictureStream *s) {
  const int32_t w = s->width, h = s->height;
  SetUpFilterPass(&s->along, (double)s->target.width / (double)w);
  SetUpFilterPass(&s->down, (double)s->target.height / (double)h);
  s->rowBytes = (size_t)w * s->format;
  // ROW_PLANE_LEAD values before pixel 0, 16 x alongBlocks + 16 after the last (see
  // RowPlanes).
  s->planeLength = (ROW_PLANE_LEAD + w + 16 * s->along.alongBlocks + 16 + 15) / 16 * 16;
  if (!SetUpHandover(&s->handover, h, s->rowBytes, s->target.helpAfter, TakeRow, s) ||
      !SetUpSamplingPlan(&s->plan, w, h, s->target.width, s->target.height) ||
      !AllocatePlanes(s, &s->workerPlanes))
    return 0;
  // The rows the filter down reaches, and the rows the reader may have filtered along
  // ahead of the worker.
  const int32_t compact = s->plan.compactValues;
  s->alongSlots = 2 * s->down.taps + 1 + s->handover.ringRows;
  s->alongRing = (uint8_t *)calloc((size_t)s->alongSlots * compact, 1);
  s->window = (const uint8_t **)malloc((size_t)s->alongSlots * sizeof(uint8_t *));
  s->sameAbove = (uint8_t *)calloc((size_t)compact, 1);
  s->downRows = (uint8_t *)malloc((size_t)4 * compact);
  s->downSums = (int32_t *)calloc((size_t)DownScratchWords(compact), sizeof(int32_t));
  if (!s->alongRing || !s->window || !s->sameAbove || !s->downRows || !s->downSums) return 0;
  s->lastDown = -1;
  return 1;
}

// Draws destination row Y from the rows filtered both ways.
void DrawRow(PictureStream *s, int32_t Y, const AxisSample *down) {
  // The four source rows filtered both ways, NULL for those beyond the picture.
  const uint8_t *filtered[4];
  for (int r = 0; r < 4; ++r) {
    const int32_t row = down->first + r;
    filtered[r] = row < 0 || row >= s->height
                      ? NULL
                      : s->downRows + (size_t)(row & 3) * s->plan.compactValues;
  }
  DrawPlannedRow(&s->plan, down, filtered, s->target.width,
                 s->target.pixels + (ptrdiff_t)Y * s->target.rowLength);
}

// Draws every destination row whose source rows are all filtered both ways.
void DrawReadyRows(PictureStream *s) {
  const int32_t H = s->target.height, h = s->height;
  const double ratio = (double)H / h;
  while (s->nextY < H) {
    AxisSample down;
    MapDestinationAxis(s->nextY, H, h, ratio, &down);
    if (down.inside) {
      int32_t lowest = down.first < 0 ? 0 : down.first;
      int32_t highest = down.first + 3 > h - 1 ? h - 1 : down.first + 3;
      if (lowest <= highest && highest > s->lastDown) return;
    }
    DrawRow(s, s->nextY, &down);
    ++s->nextY;
  }
}

// Filters source row y down, from the rows filtered along that the ring holds.
void FilterDown(PictureStream *s, int32_t y) {
  const int32_t n = s->down.taps, h = s->height, compact = s->plan.compactValues;
  for (int32_t k = -n; k <= n; ++k) {
    int32_t row = y + k < 0 ? 0 : y + k > h - 1 ? h - 1 : y + k;
    s->window[k + n] = s->alongRing + (size_t)(row % s->alongSlots) * compact;
  }
  // The window's rows run from `top` to the last row filtered along.
  const int32_t top = y - n < 0 ? 0 : y - n, bottom = y + n > h - 1 ? h - 1 : y + n;
  FilterRowDown(&s->down, s->window, s->sameAbove, bottom - top, compact, s->downSums,
                s->downRows + (size_t)(y & 3) * compact, &s->downCounts);
  s->lastDown = y;
}

// Filters a handed-over row along, into the row's place in the ring.
void FilterAlong(PictureStream *s, HandoverSlot *slot, const Planes *planes,
                 FallbackCounts *counts) {
  SpreadRow(s->format, slot->raw, s->width, s->planeLength, planes->values, planes->differs);
  uint8_t *filtered = s->alongRing + (size_t)(slot->row % s->alongSlots) * s->plan.compactValues;
  RowPlanes row;
  for (int c = 0; c < 3; ++c)
    row.plane[c] = planes->values + (size_t)c * s->planeLength + ROW_PLANE_LEAD;
  row.width = s->width;
  row.differs = planes->differs;
  FilterRowAlong(&s->along, &row, s->plan.groups, s->plan.groupCount, planes->sums, filtered,
                 counts);
}

// Counts for each value of row r filtered along how many rows above it hold the same value.
void CountSameAbove(PictureStream *s, int32_t r) {
  const int32_t compact = s->plan.compactValues;
  const uint8_t *row = s->alongRing + (size_t)(r % s->alongSlots) * compact;
  const uint8_t *above = s->alongRing + (size_t)((r + s->alongSlots - 1) % s->alongSlots) * compact;
  uint8_t *same = s->sameAbove;
  if (r == 0) {
    memset(same, 0, (size_t)compact);
    return;
  }
  const __m128i one = _mm_set1_epi8(1);
  for (int32_t i = 0; i < compact; i += 16) {
    const __m128i equal = _mm_cmpeq_epi8(_mm_loadu_si128((const __m128i *)(row + i)),
                                         _mm_loadu_si128((const __m128i *)(above + i)));
    const __m128i more = _mm_adds_epu8(_mm_loadu_si128((const __m128i *)(same + i)), one);
    _mm_storeu_si128((__m128i *)(same + i), _mm_and_si128(more, equal));
  }
}

// Filters the slot's row along unless the other thread has claimed it.  Returns 1 when it did.
int FilterClaimedRow(PictureStream *s, HandoverSlot *slot, const Planes *planes,
                     FallbackCounts *counts) {
  if (!ClaimSlot(slot)) return 0;
  FilterAlong(s, slot, planes, counts);
  FinishSlot(slot);
  return 1;
}

// Everything one handed-over row allows: filtering it along, filtering down the rows that now
// have all their neighbours, and the destination rows that now have all their source rows.
void TakeRow(void *context, HandoverSlot *slot) {
  PictureStream *s = (PictureStream *)context;
  const int32_t r = slot->row, h = s->height;
  FilterClaimedRow(s, slot, &s->workerPlanes, &s->alongCounts);
  AwaitSlot(slot);
  CountSameAbove(s, r);
  const int last = r == h - 1;
  while (s->nextDown < h && (s->nextDown + s->down.taps <= r || last)) {
    if (s->plan.readRow[s->nextDown]) {
      FilterDown(s, s->nextDown);
      DrawReadyRows(s);
    }
    ++s->nextDown;
  }
  if (last) DrawReadyRows(s);
}

}  // namespace

void BlackenStreamTarget(const StreamTarget *target) {
  for (int32_t y = 0; y < target->height; ++y)
    memset(target->pixels + (ptrdiff_t)y * target->rowLength, 0, (size_t)target->width * 3);
}

PictureStream *OpenPictureStream(int32_t width, int32_t height, StreamRowFormat format,
                                 const StreamTarget *target) {
  if (width <= 0 || height <= 0 || target->width <= 0 || target->height <= 0) return NULL;
  // Every buffer size below then fits a 32-bit size_t.
  if (width > PICTURE_MAX_SIDE || height > PICTURE_MAX_SIDE) return NULL;
  PictureStream *s = (PictureStream *)calloc(1, sizeof *s);
  if (!s) return NULL;
  s->width = width;
  s->height = height;
  s->format = format;
  s->target = *target;
  if (!SetUp(s)) {
    FreeStream(s);
    return NULL;
  }
  if (target->threads > 1 && CreateHandoverSleepers(&s->handover) &&
      AllocatePlanes(s, &s->readerPlanes))
    StartHandoverWorker(&s->handover);
  return s;
}

uint8_t *NextStreamRow(PictureStream *s) {
  return HandoverNextRow(&s->handover);
}

void CommitStreamRow(PictureStream *s) {
  HandoverSlot *help = HandoverCommitRow(&s->handover);
  if (help && FilterClaimedRow(s, help, &s->readerPlanes, &s->helperCounts)) ++s->rowsHelped;
}

int ClosePictureStream(PictureStream *s, int complete, StreamStats *stats) {
  if (!s) return 0;
  const int whole = complete && s->handover.rowsIn == s->height;
  StopHandover(&s->handover, whole);
  if (!whole) BlackenStreamTarget(&s->target);
  if (stats) {
    stats->alongExact = s->alongCounts.exact + s->helperCounts.exact;
    stats->alongFlat = s->alongCounts.flat + s->helperCounts.flat;
    stats->alongRefined = s->alongCounts.refined + s->helperCounts.refined;
    stats->downRefined = s->downCounts.refined;
    stats->downExact = s->downCounts.exact;
    stats->downFlat = s->downCounts.flat;
    stats->rowsHelped = s->rowsHelped;
  }
  FreeStream(s);
  return whole;
}
