// POSIX threads and semaphores behind the worker-thread interface.
#include "worker_thread.h"

#include <errno.h>
#include <pthread.h>
#include <sched.h>
#include <semaphore.h>
#include <stdlib.h>

struct WorkerThread {
  pthread_t thread;
  void (*run)(void *);
  void *argument;
};

struct WorkerSemaphore {
  sem_t semaphore;
};

static void *RunWorker(void *argument) {
  WorkerThread *thread = (WorkerThread *)argument;
  thread->run(thread->argument);
  return NULL;
}

WorkerThread *StartWorkerThread(void (*run)(void *), void *argument) {
  WorkerThread *thread = (WorkerThread *)malloc(sizeof *thread);
  if (!thread) return NULL;
  thread->run = run;
  thread->argument = argument;
  if (pthread_create(&thread->thread, NULL, RunWorker, thread) != 0) {
    free(thread);
    return NULL;
  }
  return thread;
}

void JoinWorkerThread(WorkerThread *thread) {
  if (!thread) return;
  pthread_join(thread->thread, NULL);
  free(thread);
}

void YieldWorkerThread(void) {
  sched_yield();
}

WorkerSemaphore *CreateWorkerSemaphore(int initial) {
  WorkerSemaphore *semaphore = (WorkerSemaphore *)malloc(sizeof *semaphore);
  if (!semaphore) return NULL;
  if (sem_init(&semaphore->semaphore, 0, (unsigned)initial) != 0) {
    free(semaphore);
    return NULL;
  }
  return semaphore;
}

void WaitWorkerSemaphore(WorkerSemaphore *semaphore) {
  while (sem_wait(&semaphore->semaphore) != 0 && errno == EINTR) {
  }
}

void SignalWorkerSemaphore(WorkerSemaphore *semaphore) {
  sem_post(&semaphore->semaphore);
}

void DestroyWorkerSemaphore(WorkerSemaphore *semaphore) {
  if (!semaphore) return;
  sem_destroy(&semaphore->semaphore);
  free(semaphore);
}
