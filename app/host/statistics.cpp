#include "statistics.h"

#include "speed_step.h"

uint32_t TotalLines(const uint32_t linecnt[4]) {
  return linecnt[0] + 2u * linecnt[1] + 3u * linecnt[2] + 4u * linecnt[3];
}

int CountClearReport(GameHost *host, const ClearReport *report) {
  for (int k = 0; k < 4; ++k) host->linecnt[k] += (uint32_t)report->count[k];
  if (host->level == 0) return 0;
  if (TotalLines(host->linecnt) < host->lv1_threshold) return 0;
  host->lv1_threshold += host->lv1_norma;
  ApplySpeedStep(host);
  return 1;
}
