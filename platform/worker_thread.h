// A second thread for work that can run beside the caller's, and counting semaphores to hand
// it work: Win32 threads and semaphores on Windows, POSIX ones on Linux.  No exceptions; every
// creation reports failure as 0 or NULL, and the caller then does the work itself.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct WorkerThread WorkerThread;
typedef struct WorkerSemaphore WorkerSemaphore;

// Starts `run(argument)` on a new thread.  Returns NULL when no thread can be had.
WorkerThread *StartWorkerThread(void (*run)(void *), void *argument);

// Waits for the thread's function to return and releases the thread.  NULL is accepted.
void JoinWorkerThread(WorkerThread *thread);

// Lets another thread run; for a short wait on another thread's progress.
void YieldWorkerThread(void);

// A semaphore holding `initial` counts.  Returns NULL on failure.
WorkerSemaphore *CreateWorkerSemaphore(int initial);
// Takes one count, waiting while there is none.
void WaitWorkerSemaphore(WorkerSemaphore *semaphore);
// Gives one count back, waking one waiter.
void SignalWorkerSemaphore(WorkerSemaphore *semaphore);
// NULL is accepted.  No thread may be waiting on it.
void DestroyWorkerSemaphore(WorkerSemaphore *semaphore);

#ifdef __cplusplus
}
#endif
