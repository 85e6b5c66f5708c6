// Win32 threads and semaphores behind the worker-thread interface.  The thread is created with
// CreateThread: it calls nothing of the C runtime that needs per-thread set-up.
#include "worker_thread.h"

#include <windows.h>

#include <stdlib.h>

struct WorkerThread {
  HANDLE thread;
  void (*run)(void *);
  void *argument;
};

struct WorkerSemaphore {
  HANDLE semaphore;
};

static DWORD WINAPI RunWorker(LPVOID argument) {
  WorkerThread *thread = (WorkerThread *)argument;
  thread->run(thread->argument);
  return 0;
}

WorkerThread *StartWorkerThread(void (*run)(void *), void *argument) {
  WorkerThread *thread = (WorkerThread *)malloc(sizeof *thread);
  if (!thread) return NULL;
  thread->run = run;
  thread->argument = argument;
  thread->thread = CreateThread(NULL, 0, RunWorker, thread, 0, NULL);
  if (!thread->thread) {
    free(thread);
    return NULL;
  }
  return thread;
}

void JoinWorkerThread(WorkerThread *thread) {
  if (!thread) return;
  WaitForSingleObject(thread->thread, INFINITE);
  CloseHandle(thread->thread);
  free(thread);
}

void YieldWorkerThread(void) {
  Sleep(0);
}

WorkerSemaphore *CreateWorkerSemaphore(int initial) {
  WorkerSemaphore *semaphore = (WorkerSemaphore *)malloc(sizeof *semaphore);
  if (!semaphore) return NULL;
  semaphore->semaphore = CreateSemaphoreA(NULL, initial, 0x7FFFFFFF, NULL);
  if (!semaphore->semaphore) {
    free(semaphore);
    return NULL;
  }
  return semaphore;
}

void WaitWorkerSemaphore(WorkerSemaphore *semaphore) {
  WaitForSingleObject(semaphore->semaphore, INFINITE);
}

void SignalWorkerSemaphore(WorkerSemaphore *semaphore) {
  ReleaseSemaphore(semaphore->semaphore, 1, NULL);
}

void DestroyWorkerSemaphore(WorkerSemaphore *semaphore) {
  if (!semaphore) return;
  CloseHandle(semaphore->semaphore);
  free(semaphore);
}
