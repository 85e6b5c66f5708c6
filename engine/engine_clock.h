// The engine's two readings of time, behind a replaceable hook so that tests can drive the fall
// timing (including the tick counter's wrap-around) and the random seed deterministically.
// Not exported from quillcore.dll; only code linked with the static core can replace it.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct EngineClock {
  uint32_t (*tick_count)(void);        // milliseconds, wraps at 2^32 like timeGetTime
  uint32_t (*calendar_seconds)(void);  // whole seconds of calendar time, like time(NULL)
} EngineClock;

// Replaces the clock for every later engine call; the record is copied.  A null `clock`, or a
// null member, restores the system's reading for that member.  Call only while no game runs.
void SetEngineClock(const EngineClock *clock);

// The current readings through the installed clock.
uint32_t EngineTickCount(void);
uint32_t EngineCalendarSeconds(void);

#ifdef __cplusplus
}
#endif
