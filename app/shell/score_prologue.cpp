#include "score_prologue.h"

#include <stdio.h>

#include "statistics.h"

int FormatScorePrologue(char *out, size_t outSize, const uint32_t linecnt[4],
                        const GameSettings *settings) {
  // Every value is printed as an unsigned 32-bit number, so a blockfreq of -1 (no favoured
  // piece) reads 4294967295 in the script.
  typedef unsigned long U;
  int length =
      snprintf(out, outSize,
               "\t\t1000 dim linecnt(4)\n"
               "\t\t1010 linecnt(0) = %lu\n"
               "\t\t1020 linecnt(1) = %lu\n"
               "\t\t1030 linecnt(2) = %lu\n"
               "\t\t1040 linecnt(3) = %lu\n"
               "\t\t1050 totalline =  %lu\n"
               "\t\t1060 wait = %lu\n"
               "\t\t1070 level = %lu\n"
               "\t\t1080 lv1_norma = %lu\n"
               "\t\t1090 lv1_speed = %lu\n"
               "\t\t1100 lv2_block = %lu\n"
               "\t\t1110 lv2_norma = %lu\n"
               "\t\t1120 lv2_upline = %lu\n"
               "\t\t1130 blockfreq = %lu\n"
               "\t\t1140 guide_shadow = %lu\n"
               "\t\t1150 guide_stripe = %lu\n"
               "\t\t1160 stripe_intensity = %lu\n",
               U(linecnt[0]), U(linecnt[1]), U(linecnt[2]), U(linecnt[3]), U(TotalLines(linecnt)),
               U(SettingsWait(settings)), U(uint32_t(settings->level)), U(settings->lv1_norma),
               U(settings->lv1_speed), U(settings->lv2_block), U(settings->lv2_norma),
               U(settings->lv2_upline), U(uint32_t(settings->blockfreq)),
               U(uint32_t(settings->guide_shadow)), U(uint32_t(settings->guide_stripe)),
               U(uint32_t(settings->stripe_intensity)));
  return length >= 0 && static_cast<size_t>(length) < outSize;
}
