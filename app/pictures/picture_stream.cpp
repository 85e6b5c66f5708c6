// The streaming fit.  Which source pixels the bicubic stretch reads is known before the first
// row arrives: each destination column reads four source columns, each destination row four
// source rows.  So each arriving row is filtered along itself only at those columns (for every
// row, since the filter down reaches over many rows), kept in a ring as long as the filter
// down can still reach it, filtered down only at the rows the stretch reads, and each
// destination row is drawn as soon as its four source rows are done.
//
// With two threads the reader reads each row into a slot of a ring and hands it to the worker,
// which does the rest in row order.  Filtering a row along (its channel planes, then the filter
// at the read columns) may be claimed by either thread: when the ring is nearly full, the
// reader claims the row it has just handed over before reading the next, so the work divides
// itself between the two when reading is the faster part, and the reader does nothing but read
// when it is the slower one.  Whole rows, each thread with planes of its own, so that a row's
// planes stay in the cache of the thread that made them; only the compact filtered row passes
// to the worker.
//
// A thread that runs out of work sleeps on a semaphore, and the other wakes it only once there
// is a batch of work for it: waking a thread costs the waker a system call, too dear for every
// row.
#include "picture_stream.h"

#include <emmintrin.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include "filter_pass.h"
#include "picture.h"
#include "resample_steps.h"
#include "row_planes.h"
#include "worker_thread.h"

namespace {

// Rows the reader may run ahead of the filter (fewer for a picture of fewer rows: a very wide
// one would otherwise take 32 rows of room for two).
const int kRingRows = 32;
// The reader helps once the worker lags this many rows behind it, unless told otherwise.
const int32_t kHelpDistance = kRingRows - 8;
// Rows a sleeping worker is given at once.
const int32_t kWakeBatch = 8;

// One row handed over, and whether filtering it along has been claimed and finished (changed
// by both threads with atomic operations).
struct Slot {
  uint8_t *raw;  // the row as read
  int32_t row;
  int32_t claimed;
  int32_t finished;
};

// What a destination column reads: its four source columns' places in a compact row (-1 for
// those beyond the picture, which count as black) and their weights.
struct ColumnSample {
  int32_t inside;
  int32_t place[4];
  double weights[4];
};

// Where a thread spreads the row it filters along.
struct Planes {
  uint8_t *values;    // red, green, blue; planeLength bytes each
  uint32_t *differs;  // bit i: pixel i differs from pixel i + 1
  int32_t *sums;      // working room for filtering along (AlongScratchWords)
};

// A thread that sleeps until another has made progress: it says so in `sleeping` (and, for the
// worker, how many rows it waits for), then takes a count of `wake`.
struct Sleeper {
  WorkerSemaphore *wake;
  int32_t sleeping;
  int32_t until;
};

}  // namespace

struct PictureStream {
  int32_t width, height;
  StreamRowFormat format;
  size_t rowBytes;
  StreamTarget target;

  // Rows handed over by the reader.
  int pending;       // NextStreamRow has handed out the next slot
  int32_t ringRows;  // slots in use: kRingRows, or the picture's height when that is less
  Slot slots[kRingRows];
  int32_t rowsIn;     // committed by the reader (atomic)
  int32_t rowsTaken;  // finished by the filter (atomic)
  WorkerThread *worker;
  Sleeper workerSleep, readerSleep;
  int32_t stop;                 // set by the reader when it gives up (atomic)
  FallbackCounts helperCounts;  // the reader's share of filtering along
  int32_t helpDistance;         // lag of the worker at which the reader helps
  uint32_t rowsHelped;
  Planes readerPlanes, workerPlanes;

  // The filter, owned by whichever thread filters.
  FilterPass along, down;
  int32_t planeLength;  // values of one channel plane, the repeated edge pixels included
  ColumnGroup *groups;
  int32_t groupCount;
  int32_t compactValues;        // 12 per group, rounded up to a multiple of 16
  int32_t *columnIndex;         // per source column read: its red value's place in a compact row
  uint8_t *readRow;             // per source row: 1 when the stretch reads it
  ColumnSample *columnSamples;  // per destination column
  uint8_t *alongRing;           // alongSlots rows filtered along, compactValues each
  // Per value of the last row filtered along: how many rows above it hold the same value, at
  // most 255 (the widest window spans 126).
  uint8_t *sameAbove;
  int32_t alongSlots;
  const uint8_t **window;  // 2 x down.taps + 1 row pointers for the filter down
  uint8_t *downRows;       // 4 rows filtered both ways, compactValues bytes each
  int32_t *downSums;       // working room for filtering down (DownScratchWords)
  int32_t nextDown;        // next source row the filter down considers
  int32_t lastDown;        // last source row filtered both ways, -1 before the first
  int32_t nextY;           // next destination row to draw
  FallbackCounts alongCounts, downCounts;
};

namespace {

void FreeStream(PictureStream *s) {
  DestroyWorkerSemaphore(s->workerSleep.wake);
  DestroyWorkerSemaphore(s->readerSleep.wake);
  for (int i = 0; i < kRingRows; ++i) free(s->slots[i].raw);
  Planes *const planes[2] = {&s->readerPlanes, &s->workerPlanes};
  for (Planes *p : planes) {
    free(p->values);
    free(p->differs);
    free(p->sums);
  }
  free(s->sameAbove);
  free(s->groups);
  free(s->columnIndex);
  free(s->readRow);
  free(s->columnSamples);
  free(s->alongRing);
  free(s->window);
  free(s->downRows);
  free(s->downSums);
  free(s);
}

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

// The read columns, their groups of up to four neighbours and their places in a compact row:
// group g fills values 12 g .. 12 g + 11, the reds of its four columns, then the greens, then
// the blues.
int SetUpColumns(PictureStream *s) {
  const int32_t w = s->width, W = s->target.width;
  uint8_t *marks = (uint8_t *)calloc((size_t)w, 1);
  s->columnIndex = (int32_t *)malloc((size_t)w * sizeof(int32_t));
  s->groups = (ColumnGroup *)malloc((size_t)w * sizeof(ColumnGroup));
  s->columnSamples = (ColumnSample *)malloc((size_t)W * sizeof(ColumnSample));
  if (!marks || !s->columnIndex || !s->groups || !s->columnSamples) {
    free(marks);
    return 0;
  }
  MarkRead(W, w, marks);
  for (int32_t x = 0; x < w; ++x) {
    s->columnIndex[x] = -1;
    if (!marks[x]) continue;
    ColumnGroup *last = s->groupCount ? &s->groups[s->groupCount - 1] : NULL;
    if (last && last->keep < 4 && last->x + last->keep == x) {
      ++last->keep;
    } else {
      s->groups[s->groupCount++] = {x, 1};
      last = &s->groups[s->groupCount - 1];
    }
    s->columnIndex[x] = 12 * (s->groupCount - 1) + (x - last->x);
  }
  free(marks);
  s->compactValues = (12 * s->groupCount + 15) / 16 * 16;
  const double ratio = (double)W / w;
  for (int32_t X = 0; X < W; ++X) {
    AxisSample sample;
    MapDestinationAxis(X, W, w, ratio, &sample);
    ColumnSample *column = &s->columnSamples[X];
    column->inside = sample.inside;
    AxisWeights(sample.fraction, column->weights);
    for (int c = 0; c < 4; ++c) {
      const int32_t x = sample.first + c;
      column->place[c] = sample.inside && x >= 0 && x < w ? s->columnIndex[x] : -1;
    }
  }
  return 1;
}

int AllocatePlanes(const PictureStream *s, Planes *planes) {
  planes->values = (uint8_t *)malloc((size_t)s->planeLength * 3);
  planes->differs = (uint32_t *)malloc(((size_t)s->width + 31) / 32 * sizeof(uint32_t));
  planes->sums = (int32_t *)calloc((size_t)AlongScratchWords(s->groupCount), sizeof(int32_t));
  return planes->values && planes->differs && planes->sums;
}

int SetUp(PictureStream *s) {
  const int32_t w = s->width, h = s->height;
  SetUpFilterPass(&s->along, (double)s->target.width / (double)w);
  SetUpFilterPass(&s->down, (double)s->target.height / (double)h);
  s->rowBytes = (size_t)w * s->format;
  // ROW_PLANE_LEAD values before pixel 0, 16 x alongBlocks + 16 after the last (see
  // RowPlanes).
  s->planeLength = (ROW_PLANE_LEAD + w + 16 * s->along.alongBlocks + 16 + 15) / 16 * 16;
  s->ringRows = h < kRingRows ? h : kRingRows;
  for (int i = 0; i < s->ringRows; ++i)
    if (!(s->slots[i].raw = (uint8_t *)malloc(s->rowBytes))) return 0;
  s->readRow = (uint8_t *)calloc((size_t)h, 1);
  if (!s->readRow || !SetUpColumns(s) || !AllocatePlanes(s, &s->workerPlanes)) return 0;
  MarkRead(s->target.height, h, s->readRow);
  // The rows the filter down reaches, and the rows the reader may have filtered along
  // ahead of the worker.
  s->alongSlots = 2 * s->down.taps + 1 + s->ringRows;
  s->alongRing = (uint8_t *)calloc((size_t)s->alongSlots * s->compactValues, 1);
  s->window = (const uint8_t **)malloc((size_t)s->alongSlots * sizeof(uint8_t *));
  s->sameAbove = (uint8_t *)calloc((size_t)s->compactValues, 1);
  s->downRows = (uint8_t *)malloc((size_t)4 * s->compactValues);
  s->downSums = (int32_t *)calloc((size_t)DownScratchWords(s->compactValues), sizeof(int32_t));
  if (!s->alongRing || !s->window || !s->sameAbove || !s->downRows || !s->downSums) return 0;
  s->lastDown = -1;
  return 1;
}

// Draws destination row Y from the rows filtered both ways.
void DrawRow(PictureStream *s, int32_t Y, const AxisSample *down) {
  uint8_t *out = s->target.pixels + (ptrdiff_t)Y * s->target.rowLength;
  if (!down->inside) {
    memset(out, 0, (size_t)s->target.width * 3);
    return;
  }
  // The four source rows filtered both ways, NULL for those beyond the picture.
  const uint8_t *filtered[4];
  for (int r = 0; r < 4; ++r) {
    const int32_t row = down->first + r;
    filtered[r] =
        row < 0 || row >= s->height ? NULL : s->downRows + (size_t)(row & 3) * s->compactValues;
  }
  double wy[4];
  AxisWeights(down->fraction, wy);
  for (int32_t X = 0; X < s->target.width; ++X, out += 3) {
    const ColumnSample *column = &s->columnSamples[X];
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
  const int32_t n = s->down.taps, h = s->height;
  for (int32_t k = -n; k <= n; ++k) {
    int32_t row = y + k < 0 ? 0 : y + k > h - 1 ? h - 1 : y + k;
    s->window[k + n] = s->alongRing + (size_t)(row % s->alongSlots) * s->compactValues;
  }
  // The window's rows run from `top` to the last row filtered along.
  const int32_t top = y - n < 0 ? 0 : y - n, bottom = y + n > h - 1 ? h - 1 : y + n;
  FilterRowDown(&s->down, s->window, s->sameAbove, bottom - top, s->compactValues, s->downSums,
                s->downRows + (size_t)(y & 3) * s->compactValues, &s->downCounts);
  s->lastDown = y;
}

// Filters a handed-over row along, into the row's place in the ring.
void FilterAlong(PictureStream *s, Slot *slot, const Planes *planes, FallbackCounts *counts) {
  SpreadRow(s->format, slot->raw, s->width, s->planeLength, planes->values, planes->differs);
  uint8_t *filtered = s->alongRing + (size_t)(slot->row % s->alongSlots) * s->compactValues;
  RowPlanes row;
  for (int c = 0; c < 3; ++c)
    row.plane[c] = planes->values + (size_t)c * s->planeLength + ROW_PLANE_LEAD;
  row.width = s->width;
  row.differs = planes->differs;
  FilterRowAlong(&s->along, &row, s->groups, s->groupCount, planes->sums, filtered, counts);
}

// Counts for each value of row r filtered along how many rows above it hold the same value.
void CountSameAbove(PictureStream *s, int32_t r) {
  const uint8_t *row = s->alongRing + (size_t)(r % s->alongSlots) * s->compactValues;
  const uint8_t *above =
      s->alongRing + (size_t)((r + s->alongSlots - 1) % s->alongSlots) * s->compactValues;
  uint8_t *same = s->sameAbove;
  if (r == 0) {
    memset(same, 0, (size_t)s->compactValues);
    return;
  }
  const __m128i one = _mm_set1_epi8(1);
  for (int32_t i = 0; i < s->compactValues; i += 16) {
    const __m128i equal = _mm_cmpeq_epi8(_mm_loadu_si128((const __m128i *)(row + i)),
                                         _mm_loadu_si128((const __m128i *)(above + i)));
    const __m128i more = _mm_adds_epu8(_mm_loadu_si128((const __m128i *)(same + i)), one);
    _mm_storeu_si128((__m128i *)(same + i), _mm_and_si128(more, equal));
  }
}

// Filters the slot's row along unless the other thread has claimed it.  Returns 1 when it did.
int FilterClaimedRow(PictureStream *s, Slot *slot, const Planes *planes, FallbackCounts *counts) {
  if (__atomic_exchange_n(&slot->claimed, 1, __ATOMIC_ACQ_REL)) return 0;
  FilterAlong(s, slot, planes, counts);
  __atomic_store_n(&slot->finished, 1, __ATOMIC_RELEASE);
  return 1;
}

// Everything one handed-over row allows: filtering it along, filtering down the rows that now
// have all their neighbours, and the destination rows that now have all their source rows.
void TakeRow(PictureStream *s, Slot *slot) {
  const int32_t r = slot->row, h = s->height;
  FilterClaimedRow(s, slot, &s->workerPlanes, &s->alongCounts);
  // A row the reader claimed takes it a moment to finish.
  while (!__atomic_load_n(&slot->finished, __ATOMIC_ACQUIRE)) YieldWorkerThread();
  CountSameAbove(s, r);
  const int last = r == h - 1;
  while (s->nextDown < h && (s->nextDown + s->down.taps <= r || last)) {
    if (s->readRow[s->nextDown]) {
      FilterDown(s, s->nextDown);
      DrawReadyRows(s);
    }
    ++s->nextDown;
  }
  if (last) DrawReadyRows(s);
  __atomic_store_n(&s->rowsTaken, r + 1, __ATOMIC_SEQ_CST);
}

// Sleeps until `ready` holds, which the other thread makes true and then calls Wake.  The
// sleeper says it sleeps before it looks again, and the waker looks after it has made progress,
// so one of them always sees the other (both with sequentially consistent operations).
template <class Ready>
void SleepUntil(Sleeper *sleeper, int32_t until, Ready ready) {
  while (!ready()) {
    __atomic_store_n(&sleeper->until, until, __ATOMIC_SEQ_CST);
    __atomic_store_n(&sleeper->sleeping, 1, __ATOMIC_SEQ_CST);
    if (ready()) {
      // Taken back; if a waker took it first, its count is on the way and must be taken.
      if (!__atomic_exchange_n(&sleeper->sleeping, 0, __ATOMIC_SEQ_CST))
        WaitWorkerSemaphore(sleeper->wake);
      return;
    }
    WaitWorkerSemaphore(sleeper->wake);
  }
}

// Wakes the sleeper if it sleeps and `reached` (the progress made) is what it waits for.
void Wake(Sleeper *sleeper, int32_t reached) {
  if (!__atomic_load_n(&sleeper->sleeping, __ATOMIC_SEQ_CST) ||
      reached < __atomic_load_n(&sleeper->until, __ATOMIC_SEQ_CST))
    return;
  if (__atomic_exchange_n(&sleeper->sleeping, 0, __ATOMIC_SEQ_CST))
    SignalWorkerSemaphore(sleeper->wake);
}

void RunWorker(void *argument) {
  PictureStream *s = (PictureStream *)argument;
  for (int32_t r = 0; r < s->height; ++r) {
    // Woken for a batch of rows (or the last ones), or when the reader gives up.
    const int32_t batch = r + kWakeBatch < s->height ? r + kWakeBatch : s->height;
    SleepUntil(&s->workerSleep, batch, [s, r] {
      return __atomic_load_n(&s->rowsIn, __ATOMIC_SEQ_CST) > r ||
             __atomic_load_n(&s->stop, __ATOMIC_SEQ_CST);
    });
    if (__atomic_load_n(&s->rowsIn, __ATOMIC_SEQ_CST) <= r) return;
    TakeRow(s, &s->slots[r % s->ringRows]);
    Wake(&s->readerSleep, r + 1);
  }
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
  s->helpDistance =
      target->helpAfter > 0 && target->helpAfter < kRingRows ? target->helpAfter : kHelpDistance;
  if (!SetUp(s)) {
    FreeStream(s);
    return NULL;
  }
  if (target->threads > 1) {
    s->workerSleep.wake = CreateWorkerSemaphore(0);
    s->readerSleep.wake = CreateWorkerSemaphore(0);
    if (s->workerSleep.wake && s->readerSleep.wake && AllocatePlanes(s, &s->readerPlanes))
      s->worker = StartWorkerThread(RunWorker, s);
  }
  return s;
}

uint8_t *NextStreamRow(PictureStream *s) {
  // The slot is free once the worker has taken the row it held before.
  const int32_t r = s->rowsIn;
  if (s->worker && !s->pending)
    SleepUntil(&s->readerSleep, r - s->ringRows + 1, [s, r] {
      return __atomic_load_n(&s->rowsTaken, __ATOMIC_SEQ_CST) > r - s->ringRows;
    });
  s->pending = 1;
  return s->slots[r % s->ringRows].raw;
}

void CommitStreamRow(PictureStream *s) {
  const int32_t r = s->rowsIn;
  Slot *slot = &s->slots[r % s->ringRows];
  s->pending = 0;
  slot->row = r;
  slot->claimed = 0;
  slot->finished = 0;
  if (!s->worker) {
    ++s->rowsIn;
    TakeRow(s, slot);
    return;
  }
  __atomic_store_n(&s->rowsIn, r + 1, __ATOMIC_SEQ_CST);
  Wake(&s->workerSleep, r + 1);
  // Help while the worker is well behind: it then reaches this row only after the filtering
  // claimed here is done, and never waits for it.
  if (__atomic_load_n(&s->rowsTaken, __ATOMIC_ACQUIRE) + s->helpDistance <= r &&
      FilterClaimedRow(s, slot, &s->readerPlanes, &s->helperCounts))
    ++s->rowsHelped;
}

int ClosePictureStream(PictureStream *s, int complete, StreamStats *stats) {
  if (!s) return 0;
  const int whole = complete && s->rowsIn == s->height;
  if (s->worker) {
    if (!whole) {
      __atomic_store_n(&s->stop, 1, __ATOMIC_SEQ_CST);
      Wake(&s->workerSleep, s->height);
    }
    JoinWorkerThread(s->worker);
  }
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
