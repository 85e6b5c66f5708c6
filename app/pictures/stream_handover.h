// The hand-over between the two threads of the streaming fit (see picture_stream.h): the
// reader puts each row it reads into a slot of a ring and commits it; the worker takes the
// rows in order and hands each to the stream's `take`.  Filtering a row along may be claimed by
// either thread, so a slot says whether it was claimed and whether that work is finished.
//
// A thread that runs out of work sleeps on a semaphore, and the other wakes it only once there
// is a batch of work for it: waking a thread costs the waker a system call, too dear for every
// row.
//
// With one thread (no worker could be had, or none was asked for) the same calls take each
// row at once, in the reader's thread.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "worker_thread.h"

// Rows the reader may run ahead of the worker (fewer for a picture of fewer rows: a very wide
// one would otherwise take 32 rows of room for two).
#define HANDOVER_RING_ROWS 32

// One row handed over, and whether filtering it along has been claimed and finished (changed
// by both threads with atomic operations).
typedef struct HandoverSlot {
  uint8_t *raw;  // the row as read
  int32_t row;
  int32_t claimed;
  int32_t finished;
} HandoverSlot;

// A thread that sleeps until another has made progress: it says so in `sleeping` (and, for the
// worker, how many rows it waits for), then takes a count of `wake`.
typedef struct Sleeper {
  WorkerSemaphore *wake;
  int32_t sleeping;
  int32_t until;
} Sleeper;

// Everything one row allows, in row order; called in the worker's thread (in the reader's
// with one thread).
typedef void (*TakeRowProc)(void *context, HandoverSlot *slot);

typedef struct RowHandover {
  int32_t height;
  int pending;       // HandoverNextRow has handed out the next slot
  int32_t ringRows;  // slots in use: HANDOVER_RING_ROWS, or the picture's height when less
  HandoverSlot slots[HANDOVER_RING_ROWS];
  int32_t rowsIn;        // committed by the reader (atomic)
  int32_t rowsTaken;     // taken by the worker (atomic)
  int32_t helpDistance;  // lag of the worker at which the reader helps
  int32_t stop;          // set by the reader when it gives up (atomic)
  TakeRowProc take;
  void *context;
  WorkerThread *worker;
  Sleeper workerSleep, readerSleep;
} RowHandover;

// Prepares `handover` (zeroed by the caller) for `height` rows of `rowBytes` bytes each, taken
// by take(context, slot); `helpAfter` as in StreamTarget.  Returns 0 when there is no memory
// (FreeHandover then releases what was had).
int SetUpHandover(RowHandover *handover, int32_t height, size_t rowBytes, int32_t helpAfter,
                  TakeRowProc take, void *context);

// The semaphores the two threads sleep on.  Returns 0 when they cannot be had: then take the
// rows in one thread (do not call StartHandoverWorker).
int CreateHandoverSleepers(RowHandover *handover);

// Starts the worker; without it (NULL worker) every row is taken in the reader's thread.
void StartHandoverWorker(RowHandover *handover);

// The reader's side: the slot for the next row (waiting, with a worker, until the worker has
// taken the row the slot held before), then its commit.  HandoverCommitRow returns the slot
// for the reader to claim when the worker lags `helpDistance` rows or more behind; else NULL.
uint8_t *HandoverNextRow(RowHandover *handover);
HandoverSlot *HandoverCommitRow(RowHandover *handover);

// Stops the worker, if any: with `whole` nonzero after it has taken every row, otherwise as
// soon as it has finished the row in hand.  Then no thread but the caller's runs.
void StopHandover(RowHandover *handover, int whole);

// Releases the slots and semaphores (the worker must be stopped).
void FreeHandover(RowHandover *handover);

// Claims filtering the slot's row along; 0 when the other thread had claimed it already.
static inline int ClaimSlot(HandoverSlot *slot) {
  return !__atomic_exchange_n(&slot->claimed, 1, __ATOMIC_ACQ_REL);
}

// The claimed work is done: the row filtered along may be read by the other thread.
static inline void FinishSlot(HandoverSlot *slot) {
  __atomic_store_n(&slot->finished, 1, __ATOMIC_RELEASE);
}

// Waits for the claimed work on the slot's row to be finished; a row the reader claimed takes
// it a moment.
void AwaitSlot(HandoverSlot *slot);
