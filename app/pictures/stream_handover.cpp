// The hand-over between the reader and the worker of the streaming fit.
#include "stream_handover.h"

#include <stdlib.h>

namespace {

// The reader helps once the worker lags this many rows behind it, unless told otherwise.
const int32_t kHelpDistance = HANDOVER_RING_ROWS - 8;
// Rows a sleeping worker is given at once.
const int32_t kWakeBatch = 8;

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

// Takes the slot's row and says so to the reader.
void Take(RowHandover *h, HandoverSlot *slot) {
  h->take(h->context, slot);
  __atomic_store_n(&h->rowsTaken, slot->row + 1, __ATOMIC_SEQ_CST);
}

void RunWorker(void *argument) {
  RowHandover *h = (RowHandover *)argument;
  for (int32_t r = 0; r < h->height; ++r) {
    // Woken for a batch of rows (or the last ones), or when the reader gives up.
    const int32_t batch = r + kWakeBatch < h->height ? r + kWakeBatch : h->height;
    SleepUntil(&h->workerSleep, batch, [h, r] {
      return __atomic_load_n(&h->rowsIn, __ATOMIC_SEQ_CST) > r ||
             __atomic_load_n(&h->stop, __ATOMIC_SEQ_CST);
    });
    if (__atomic_load_n(&h->rowsIn, __ATOMIC_SEQ_CST) <= r) return;
    Take(h, &h->slots[r % h->ringRows]);
    Wake(&h->readerSleep, r + 1);
  }
}

}  // namespace

int SetUpHandover(RowHandover *h, int32_t height, size_t rowBytes, int32_t helpAfter,
                  TakeRowProc take, void *context) {
  h->height = height;
  h->take = take;
  h->context = context;
  h->helpDistance = helpAfter > 0 && helpAfter < HANDOVER_RING_ROWS ? helpAfter : kHelpDistance;
  h->ringRows = height < HANDOVER_RING_ROWS ? height : HANDOVER_RING_ROWS;
  for (int i = 0; i < h->ringRows; ++i)
    if (!(h->slots[i].raw = (uint8_t *)malloc(rowBytes))) return 0;
  return 1;
}

int CreateHandoverSleepers(RowHandover *h) {
  h->workerSleep.wake = CreateWorkerSemaphore(0);
  h->readerSleep.wake = CreateWorkerSemaphore(0);
  return h->workerSleep.wake && h->readerSleep.wake;
}

void StartHandoverWorker(RowHandover *h) {
  h->worker = StartWorkerThread(RunWorker, h);
}

uint8_t *HandoverNextRow(RowHandover *h) {
  // The slot is free once the worker has taken the row it held before.
  const int32_t r = h->rowsIn;
  if (h->worker && !h->pending)
    SleepUntil(&h->readerSleep, r - h->ringRows + 1, [h, r] {
      return __atomic_load_n(&h->rowsTaken, __ATOMIC_SEQ_CST) > r - h->ringRows;
    });
  h->pending = 1;
  return h->slots[r % h->ringRows].raw;
}

HandoverSlot *HandoverCommitRow(RowHandover *h) {
  const int32_t r = h->rowsIn;
  HandoverSlot *slot = &h->slots[r % h->ringRows];
  h->pending = 0;
  slot->row = r;
  slot->claimed = 0;
  slot->finished = 0;
  if (!h->worker) {
    ++h->rowsIn;
    Take(h, slot);
    return NULL;
  }
  __atomic_store_n(&h->rowsIn, r + 1, __ATOMIC_SEQ_CST);
  Wake(&h->workerSleep, r + 1);
  // Help while the worker is well behind: it then reaches this row only after the filtering
  // claimed here is done, and never waits for it.
  return __atomic_load_n(&h->rowsTaken, __ATOMIC_ACQUIRE) + h->helpDistance <= r ? slot : NULL;
}

void StopHandover(RowHandover *h, int whole) {
  if (!h->worker) return;
  if (!whole) {
    __atomic_store_n(&h->stop, 1, __ATOMIC_SEQ_CST);
    Wake(&h->workerSleep, h->height);
  }
  JoinWorkerThread(h->worker);
  h->worker = NULL;
}

void FreeHandover(RowHandover *h) {
  DestroyWorkerSemaphore(h->workerSleep.wake);
  DestroyWorkerSemaphore(h->readerSleep.wake);
  h->workerSleep.wake = h->readerSleep.wake = NULL;
  for (int i = 0; i < HANDOVER_RING_ROWS; ++i) {
    free(h->slots[i].raw);
    h->slots[i].raw = NULL;
  }
}

void AwaitSlot(HandoverSlot *slot) {
  while (!__atomic_load_n(&slot->finished, __ATOMIC_ACQUIRE)) YieldWorkerThread();
}
