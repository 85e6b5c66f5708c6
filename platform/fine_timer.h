// The system timer at 1 ms while something of the program keeps time (Windows only).  By
// default Windows ticks every 15.6 ms: every wait and every reading of the clock would be
// rounded up to that step, so a 50 ms poll would last up to 62.5 ms and a 10 ms frame 15.6 ms.
// A game and the animated about panel each ask for the finer tick for as long as they run,
// and give it back on every way they end.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Asks for 1 ms timer resolution.  Returns 1 when the request was granted (pair it with one
// EndFineTimer), 0 when it was refused (then nothing is to be given back).
int BeginFineTimer(void);

// Gives back one granted request.
void EndFineTimer(void);

// The two system calls behind Begin and End (timeBeginPeriod and timeEndPeriod), replaceable
// so that tests can count the requests.  A null record, or a null member, restores the
// system's call.  Call only while nothing holds a request.
typedef struct FineTimerCalls {
  UINT(WINAPI *begin_period)(UINT milliseconds);
  UINT(WINAPI *end_period)(UINT milliseconds);
} FineTimerCalls;
void SetFineTimerCalls(const FineTimerCalls *calls);

#ifdef __cplusplus
}
#endif
