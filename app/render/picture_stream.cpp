// The streaming fit.  Which source pixels the bicubic stretch reads is known before the first
// row arrives: each destination column reads four source columns, each destination row four
// source rows.  So each arriving row is filtered along itself only at those columns (for every
// row, since the vertical filter reaches across many rows), kept in a ring as long as the
// vertical filter can still reach it, filtered across rows only at the rows the stretch reads,
// and each destination row is drawn as soon as its four source rows are done.
//
// With two threads the reader spreads each row it reads into a slot and hands it to the
// worker, which does the rest in row order.  Filtering along a row is split into chunks that
// either thread may claim: when the worker falls behind, the reader claims chunks of the row it
// has just handed over before reading the next, so the work divides itself between the two.
#include "picture_stream.h"

#include <emmintrin.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include "filter_pass.h"
#include "resample_steps.h"
#include "worker_thread.h"

namespace {

// Rows the reader may run ahead of the filter.
const int kRingRows = 8;
// Chunks each row's filtering along is cut into, for the two threads to share.
const int32_t kChunks = 8;
// The longest side taken: the row buffers hold a few dozen bytes per pixel of a row.
const int32_t kMaxSide = 1 << 24;
// How many rows the worker must lag behind the reader before the reader helps.
const int32_t kHelpDistance = 3;

// One row handed over: its values spread out as floats, and how many of its chunks have been
// claimed and finished (changed by both threads with atomic operations).
struct Slot {
  float *padded;
  int32_t *runEnd;  // per pixel of `padded`: the last pixel of its run of equal pixels
  int32_t row;
  int32_t claimed;
  int32_t finished;
};

// Up to four neighbouring source columns that are filtered together.
struct ColumnGroup {
  int32_t x;        // first source column
  int32_t keep;     // how many of the four are read
  int32_t compact;  // index of column x among the read columns
};

}  // namespace

struct PictureStream {
  int32_t width, height;
  StreamRowFormat format;
  size_t rowBytes;
  StreamTarget target;

  // Rows handed over by the reader.
  uint8_t *raw;  // the row being read
  Slot slots[kRingRows];
  int32_t rowsIn;     // committed by the reader
  int32_t rowsTaken;  // finished by the filter (atomic)
  WorkerThread *worker;
  WorkerSemaphore *filled, *empty;
  volatile int stop;            // set by the reader before it wakes the worker for the last time
  FallbackCounts helperCounts;  // the reader's share of filtering along

  // The filter, owned by whichever thread filters.
  FilterPass across, down;
  int32_t pad;  // repeated edge pixels on each side of a slot's row
  ColumnGroup *groups;
  int32_t groupCount;
  int32_t groupsPerChunk;
  int32_t readColumns;        // columns the stretch reads
  int32_t compactFloats;      // 3 x readColumns, rounded up to a multiple of 8
  int32_t *columnIndex;       // per source column: index among the read columns, or -1
  uint8_t *readRow;           // per source row: 1 when the stretch reads it
  AxisSample *columnSamples;  // per destination column
  float *acrossRing;          // acrossSlots rows filtered along, compactFloats each
  int32_t *sameAbove;         // per value of the last row filtered along: rows above it equal to it
  int32_t acrossSlots;
  const float **window;  // 2 x down.taps + 1 row pointers for the vertical filter
  uint8_t *downRows;     // 4 rows filtered both ways, compactFloats bytes each
  int32_t nextDown;      // next source row the vertical filter considers
  int32_t lastDown;      // last source row filtered both ways, -1 before the first
  int32_t nextY;         // next destination row to draw
  FallbackCounts acrossCounts, downCounts;
};

namespace {

void FreeStream(PictureStream *s) {
  DestroyWorkerSemaphore(s->filled);
  DestroyWorkerSemaphore(s->empty);
  free(s->raw);
  for (int i = 0; i < kRingRows; ++i) {
    free(s->slots[i].padded);
    free(s->slots[i].runEnd);
  }
  free(s->sameAbove);
  free(s->groups);
  free(s->columnIndex);
  free(s->readRow);
  free(s->columnSamples);
  free(s->acrossRing);
  free(s->window);
  free(s->downRows);
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

// The read columns, their compact indices and their groups of up to four neighbours.
int SetUpColumns(PictureStream *s) {
  const int32_t w = s->width, W = s->target.width;
  uint8_t *marks = (uint8_t *)calloc((size_t)w, 1);
  s->columnIndex = (int32_t *)malloc((size_t)w * sizeof(int32_t));
  s->groups = (ColumnGroup *)malloc((size_t)w * sizeof(ColumnGroup));
  s->columnSamples = (AxisSample *)malloc((size_t)W * sizeof(AxisSample));
  if (!marks || !s->columnIndex || !s->groups || !s->columnSamples) {
    free(marks);
    return 0;
  }
  MarkRead(W, w, marks);
  const double ratio = (double)W / w;
  for (int32_t X = 0; X < W; ++X) MapDestinationAxis(X, W, w, ratio, &s->columnSamples[X]);
  int32_t count = 0;
  for (int32_t x = 0; x < w; ++x) {
    s->columnIndex[x] = marks[x] ? count : -1;
    if (!marks[x]) continue;
    ColumnGroup *last = s->groupCount ? &s->groups[s->groupCount - 1] : NULL;
    if (last && last->keep < 4 && last->x + last->keep == x) {
      ++last->keep;
    } else {
      s->groups[s->groupCount++] = {x, 1, count};
    }
    ++count;
  }
  free(marks);
  s->readColumns = count;
  s->compactFloats = (3 * count + 7) / 8 * 8;
  return 1;
}

int SetUp(PictureStream *s) {
  const int32_t w = s->width, h = s->height;
  SetUpFilterPass(&s->across, (double)s->target.width / (double)w);
  SetUpFilterPass(&s->down, (double)s->target.height / (double)h);
  s->rowBytes = (size_t)w * s->format;
  s->raw = (uint8_t *)calloc(s->rowBytes + 4, 1);
  s->pad = s->across.taps + 4;
  for (int i = 0; i < kRingRows; ++i) {
    s->slots[i].padded = (float *)malloc(((size_t)w + 2 * s->pad) * 3 * sizeof(float));
    s->slots[i].runEnd = (int32_t *)malloc(((size_t)w + 2 * s->pad) * sizeof(int32_t));
    if (!s->slots[i].padded || !s->slots[i].runEnd) return 0;
  }
  s->readRow = (uint8_t *)calloc((size_t)h, 1);
  if (!s->raw || !s->readRow || !SetUpColumns(s)) return 0;
  s->groupsPerChunk = (s->groupCount + kChunks - 1) / kChunks;
  MarkRead(s->target.height, h, s->readRow);
  // The rows the vertical filter reaches, and the rows the reader may have filtered along
  // ahead of the worker.
  s->acrossSlots = 2 * s->down.taps + 1 + kRingRows;
  s->acrossRing = (float *)calloc((size_t)s->acrossSlots * s->compactFloats, sizeof(float));
  s->window = (const float **)malloc((size_t)s->acrossSlots * sizeof(float *));
  s->sameAbove = (int32_t *)calloc((size_t)s->compactFloats, sizeof(int32_t));
  s->downRows = (uint8_t *)malloc((size_t)4 * s->compactFloats);
  if (!s->acrossRing || !s->window || !s->sameAbove || !s->downRows) return 0;
  s->lastDown = -1;
  return 1;
}

// Whether pixels i and i + 1 of a row as read are equal.  The row buffer carries 4 bytes more
// than the row, so an RGB pixel can be read as one 32-bit word.
inline int SamePixels(StreamRowFormat format, const uint8_t *raw, int32_t i) {
  uint32_t a, b;
  switch (format) {
    case ROW_GREY:
      return raw[i] == raw[i + 1];
    case ROW_RGB:
      memcpy(&a, raw + 3 * i, 4);
      memcpy(&b, raw + 3 * i + 3, 4);
      return ((a ^ b) & 0xFFFFFFu) == 0;
    default:
      memcpy(&a, raw + 4 * i, 4);
      memcpy(&b, raw + 4 * i + 4, 4);
      return ((a ^ b) & 0xFFFFFFu) == 0;
  }
}

// One arriving row as floats with its edge pixels repeated `pad` times on each side.
void Spread(PictureStream *s, const uint8_t *raw, float *padded, int32_t *runEnd) {
  const int32_t w = s->width;
  float *out = padded + 3 * s->pad;
  if (s->format == ROW_RGB) {
    const size_t count = (size_t)w * 3;
    size_t i = 0;
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
      const __m128i bytes = _mm_loadu_si128((const __m128i *)(raw + i));
      const __m128i low = _mm_unpacklo_epi8(bytes, zero), high = _mm_unpackhi_epi8(bytes, zero);
      _mm_storeu_ps(out + i, _mm_cvtepi32_ps(_mm_unpacklo_epi16(low, zero)));
      _mm_storeu_ps(out + i + 4, _mm_cvtepi32_ps(_mm_unpackhi_epi16(low, zero)));
      _mm_storeu_ps(out + i + 8, _mm_cvtepi32_ps(_mm_unpacklo_epi16(high, zero)));
      _mm_storeu_ps(out + i + 12, _mm_cvtepi32_ps(_mm_unpackhi_epi16(high, zero)));
    }
    for (; i < count; ++i) out[i] = (float)raw[i];
  } else if (s->format == ROW_GREY) {
    for (int32_t x = 0; x < w; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = (float)raw[x];
  } else {
    const uint32_t *words = (const uint32_t *)raw;
    for (int32_t x = 0; x < w; ++x) {
      out[3 * x] = (float)(words[x] & 0xFF);
      out[3 * x + 1] = (float)((words[x] >> 8) & 0xFF);
      out[3 * x + 2] = (float)((words[x] >> 16) & 0xFF);
    }
  }
  const float *first = out, *last = out + 3 * (w - 1);
  for (int32_t i = 1; i <= s->pad; ++i) {
    memcpy(out - 3 * i, first, 3 * sizeof(float));
    memcpy(out + 3 * (w - 1 + i), last, 3 * sizeof(float));
  }
  // Runs of equal pixels, from the right: flat stretches of a picture skip the filter.
  // Compared on the row as read, branch-free: neighbouring pixels of a photograph differ
  // unpredictably.  The repeated edge pixels belong to the runs of the edge pixels.
  int32_t *run = runEnd + s->pad;
  int32_t current = w + s->pad - 1;
  for (int32_t i = w - 1; i < w + s->pad; ++i) run[i] = current;
  for (int32_t i = w - 2; i >= 0; --i) {
    current = SamePixels(s->format, raw, i) ? current : i;
    run[i] = current;
  }
  for (int32_t i = -1; i >= -s->pad; --i) run[i] = current;
}

// Draws destination row Y from the rows filtered both ways.
void DrawRow(PictureStream *s, int32_t Y, const AxisSample *down) {
  uint8_t *out = s->target.pixels + (ptrdiff_t)Y * s->target.rowLength;
  const int32_t w = s->width, h = s->height;
  for (int32_t X = 0; X < s->target.width; ++X, out += 3) {
    const AxisSample *across = &s->columnSamples[X];
    if (!down->inside || !across->inside) {
      out[0] = out[1] = out[2] = 0;
      continue;
    }
    uint32_t near[4][4];
    for (int r = 0; r < 4; ++r) {
      const int32_t row = down->first + r;
      const uint8_t *filtered = s->downRows + (size_t)(row & 3) * s->compactFloats;
      for (int c = 0; c < 4; ++c) {
        const int32_t col = across->first + c;
        if (row < 0 || row >= h || col < 0 || col >= w) {
          near[r][c] = 0;
          continue;
        }
        const uint8_t *p = filtered + 3 * s->columnIndex[col];
        near[r][c] = (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16);
      }
    }
    const uint32_t word = WeighNeighbours(near, across->fraction, down->fraction);
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

// Filters source row y across rows, from the rows filtered along that the ring holds.
void FilterDown(PictureStream *s, int32_t y) {
  const int32_t n = s->down.taps, h = s->height;
  for (int32_t k = -n; k <= n; ++k) {
    int32_t row = y + k < 0 ? 0 : y + k > h - 1 ? h - 1 : y + k;
    s->window[k + n] = s->acrossRing + (size_t)(row % s->acrossSlots) * s->compactFloats;
  }
  // The window's rows run from `top` to the last row filtered along.
  const int32_t top = y - n < 0 ? 0 : y - n, bottom = y + n > h - 1 ? h - 1 : y + n;
  FilterAcrossRows(&s->down, s->window, s->sameAbove, bottom - top, s->compactFloats,
                   s->downRows + (size_t)(y & 3) * s->compactFloats, &s->downCounts);
  s->lastDown = y;
}

// Filters along one chunk of a handed-over row, into the row's place in the ring.
void FilterChunk(PictureStream *s, const Slot *slot, int32_t chunk, FallbackCounts *counts) {
  float *filtered = s->acrossRing + (size_t)(slot->row % s->acrossSlots) * s->compactFloats;
  const float *row = slot->padded + 3 * s->pad;
  const int32_t *runEnd = slot->runEnd + s->pad;
  const int32_t first = chunk * s->groupsPerChunk;
  const int32_t end =
      first + s->groupsPerChunk < s->groupCount ? first + s->groupsPerChunk : s->groupCount;
  float four[12];
  for (int32_t g = first; g < end; ++g) {
    const ColumnGroup *group = &s->groups[g];
    FilterFourColumns(&s->across, row, runEnd, group->x, group->keep, four, counts);
    memcpy(filtered + 3 * group->compact, four, (size_t)group->keep * 3 * sizeof(float));
  }
}

// Counts for each value of row r filtered along how many rows above it hold the same value.
void CountSameAbove(PictureStream *s, int32_t r) {
  const float *row = s->acrossRing + (size_t)(r % s->acrossSlots) * s->compactFloats;
  const float *above =
      s->acrossRing + (size_t)((r + s->acrossSlots - 1) % s->acrossSlots) * s->compactFloats;
  int32_t *same = s->sameAbove;
  if (r == 0) {
    memset(same, 0, (size_t)s->compactFloats * sizeof(int32_t));
    return;
  }
  const __m128i one = _mm_set1_epi32(1);
  for (int32_t i = 0; i < s->compactFloats; i += 4) {
    const __m128i equal =
        _mm_castps_si128(_mm_cmpeq_ps(_mm_loadu_ps(row + i), _mm_loadu_ps(above + i)));
    const __m128i count = _mm_add_epi32(_mm_loadu_si128((const __m128i *)(same + i)), one);
    _mm_storeu_si128((__m128i *)(same + i), _mm_and_si128(count, equal));
  }
}

// Claims and filters chunks of the slot's row until none is left.
void FilterClaimedChunks(PictureStream *s, Slot *slot, FallbackCounts *counts) {
  for (;;) {
    const int32_t chunk = __atomic_fetch_add(&slot->claimed, 1, __ATOMIC_ACQ_REL);
    if (chunk >= kChunks) return;
    FilterChunk(s, slot, chunk, counts);
    __atomic_fetch_add(&slot->finished, 1, __ATOMIC_RELEASE);
  }
}

// Everything one handed-over row allows: filtering it along, the rows across that now have
// all their neighbours, and the destination rows that now have all their source rows.
void TakeRow(PictureStream *s, Slot *slot) {
  const int32_t r = slot->row, h = s->height;
  FilterClaimedChunks(s, slot, &s->acrossCounts);
  // A chunk the reader claimed takes it a moment to finish.
  while (__atomic_load_n(&slot->finished, __ATOMIC_ACQUIRE) < kChunks) YieldWorkerThread();
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
  __atomic_store_n(&s->rowsTaken, r + 1, __ATOMIC_RELEASE);
}

void RunWorker(void *argument) {
  PictureStream *s = (PictureStream *)argument;
  for (int32_t r = 0; r < s->height; ++r) {
    WaitWorkerSemaphore(s->filled);
    if (s->stop) return;
    TakeRow(s, &s->slots[r % kRingRows]);
    SignalWorkerSemaphore(s->empty);
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
  if (width > kMaxSide || height > kMaxSide) return NULL;
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
  if (target->threads > 1) {
    s->filled = CreateWorkerSemaphore(0);
    s->empty = CreateWorkerSemaphore(kRingRows);
    if (s->filled && s->empty) s->worker = StartWorkerThread(RunWorker, s);
  }
  return s;
}

uint8_t *NextStreamRow(PictureStream *s) {
  return s->raw;
}

void CommitStreamRow(PictureStream *s) {
  const int32_t r = s->rowsIn;
  Slot *slot = &s->slots[r % kRingRows];
  if (s->worker) WaitWorkerSemaphore(s->empty);
  Spread(s, s->raw, slot->padded, slot->runEnd);
  slot->row = r;
  slot->claimed = 0;
  slot->finished = 0;
  ++s->rowsIn;
  if (!s->worker) {
    TakeRow(s, slot);
    return;
  }
  SignalWorkerSemaphore(s->filled);
  // Help while the worker is well behind: it then reaches this row only after the chunks
  // claimed here are done, and never waits for them.
  if (__atomic_load_n(&s->rowsTaken, __ATOMIC_ACQUIRE) + kHelpDistance <= r)
    FilterClaimedChunks(s, slot, &s->helperCounts);
}

int ClosePictureStream(PictureStream *s, int complete, StreamStats *stats) {
  if (!s) return 0;
  const int whole = complete && s->rowsIn == s->height;
  if (s->worker) {
    if (!whole) {
      s->stop = 1;
      SignalWorkerSemaphore(s->filled);
    }
    JoinWorkerThread(s->worker);
  }
  if (!whole) BlackenStreamTarget(&s->target);
  if (stats) {
    stats->acrossExact = s->acrossCounts.exact + s->helperCounts.exact;
    stats->acrossFlat = s->acrossCounts.flat + s->helperCounts.flat;
    stats->downExact = s->downCounts.exact;
    stats->downFlat = s->downCounts.flat;
  }
  FreeStream(s);
  return whole;
}
