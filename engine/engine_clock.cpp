#include "engine_clock.h"

#include <time.h>

#include "platform.h"

static uint32_t SystemTickCount(void) {
  return (uint32_t)timeGetTime();
}

static uint32_t SystemCalendarSeconds(void) {
  return (uint32_t)time(NULL);
}

static EngineClock installed = {SystemTickCount, SystemCalendarSeconds};

void SetEngineClock(const EngineClock *replacement) {
  installed.tick_count =
      replacement && replacement->tick_count ? replacement->tick_count : SystemTickCount;
  installed.calendar_seconds = replacement && replacement->calendar_seconds
                                   ? replacement->calendar_seconds
                                   : SystemCalendarSeconds;
}

uint32_t EngineTickCount(void) {
  return installed.tick_count();
}

uint32_t EngineCalendarSeconds(void) {
  return installed.calendar_seconds();
}
