#include "fine_timer.h"

#include <mmsystem.h>

static const UINT kFinePeriod = 1;  // ms

static FineTimerCalls installed = {timeBeginPeriod, timeEndPeriod};

void SetFineTimerCalls(const FineTimerCalls *calls) {
  installed.begin_period = calls && calls->begin_period ? calls->begin_period : timeBeginPeriod;
  installed.end_period = calls && calls->end_period ? calls->end_period : timeEndPeriod;
}

int BeginFineTimer(void) {
  return installed.begin_period(kFinePeriod) == TIMERR_NOERROR;
}

void EndFineTimer(void) {
  installed.end_period(kFinePeriod);
}
