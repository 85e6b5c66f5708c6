// Clear counting and the level-1 speed-up it triggers.
#include "statistics.h"

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

namespace {

GameHost HostInLevel(int32_t level, uint32_t norma) {
  GameHost host;
  memset(&host, 0, sizeof host);
  host.level = level;
  host.lv1_norma = norma;
  host.lv1_threshold = norma;  // as every Start sets it
  host.lv1_speed = 70;
  host.record.wait = 500;
  host.poll_wait = 50;
  return host;
}

ClearReport Report(int32_t ones, int32_t twos, int32_t threes, int32_t fours) {
  ClearReport report = {{ones, twos, threes, fours}};
  return report;
}

TEST(TotalLines, WeightsEachCounterByItsRowCount) {
  const uint32_t singlesAndFours[4] = {10, 0, 0, 2};
  EXPECT_EQ(TotalLines(singlesAndFours), 18u);
  const uint32_t mixed[4] = {1, 1, 1, 1};
  EXPECT_EQ(TotalLines(mixed), 10u);
}

TEST(TotalLines, WrapsAroundInUnsignedArithmetic) {
  const uint32_t fours[4] = {0, 0, 0, 0x40000000u};
  EXPECT_EQ(TotalLines(fours), 0u);
  const uint32_t mixed[4] = {0xFFFFFFFFu, 1, 0, 0};
  EXPECT_EQ(TotalLines(mixed), 1u);
}

TEST(ClearCounting, EachRunIsCountedByItsRowCount) {
  GameHost host = HostInLevel(0, 30);
  ClearReport twoRows = Report(0, 1, 0, 0);
  CountClearReport(&host, &twoRows);
  ClearReport twoSingles = Report(2, 0, 0, 0);
  CountClearReport(&host, &twoSingles);
  EXPECT_EQ(host.linecnt[0], 2u);
  EXPECT_EQ(host.linecnt[1], 1u);
  EXPECT_EQ(host.linecnt[2], 0u);
  EXPECT_EQ(host.linecnt[3], 0u);
  EXPECT_EQ(TotalLines(host.linecnt), 4u);
}

TEST(ClearCounting, LevelZeroNeverChangesTheSpeed) {
  GameHost host = HostInLevel(0, 0);
  ClearReport four = Report(0, 0, 0, 1);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(CountClearReport(&host, &four), 0);
  EXPECT_EQ(host.record.wait, 500u);
  EXPECT_EQ(host.poll_wait, 50u);
  EXPECT_EQ(host.lv1_threshold, 0u);
}

TEST(ClearCounting, DefaultQuotaSpeedsUpAtThirtySixtyAndNinetyRows) {
  GameHost host = HostInLevel(1, 30);
  std::vector<uint32_t> stepsAt;
  ClearReport single = Report(1, 0, 0, 0);
  for (int i = 0; i < 100; ++i) {
    if (CountClearReport(&host, &single)) stepsAt.push_back(TotalLines(host.linecnt));
  }
  EXPECT_EQ(stepsAt, (std::vector<uint32_t>{30, 60, 90}));
  EXPECT_EQ(host.lv1_threshold, 120u);
  EXPECT_EQ(host.record.wait + host.poll_wait, 550u - 3 * 70);
}

TEST(ClearCounting, ZeroQuotaSpeedsUpOnEveryReportInLevelsOneAndTwo) {
  for (int32_t level = 1; level <= 2; ++level) {
    GameHost host = HostInLevel(level, 0);
    ClearReport single = Report(1, 0, 0, 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(CountClearReport(&host, &single), 1) << level;
    EXPECT_EQ(host.record.wait + host.poll_wait, 550u - 5 * 70) << level;
  }
}

TEST(ClearCounting, PassingSeveralThresholdsAtOnceStepsOnlyOnceAndLaterReportsCatchUp) {
  GameHost host = HostInLevel(1, 1);
  ClearReport four = Report(0, 0, 0, 1);
  EXPECT_EQ(CountClearReport(&host, &four), 1);
  EXPECT_EQ(host.lv1_threshold, 2u);
  EXPECT_EQ(host.record.wait, 430u);

  // Reports that add no rows still let the trailing threshold catch up, one step each.
  ClearReport none = Report(0, 0, 0, 0);
  EXPECT_EQ(CountClearReport(&host, &none), 1);
  EXPECT_EQ(CountClearReport(&host, &none), 1);
  EXPECT_EQ(CountClearReport(&host, &none), 1);
  EXPECT_EQ(host.lv1_threshold, 5u);
  EXPECT_EQ(CountClearReport(&host, &none), 0);
  EXPECT_EQ(host.record.wait + host.poll_wait, 550u - 4 * 70);
}

TEST(ClearCounting, TotalThatWrapsToZeroFallsBelowTheThreshold) {
  GameHost host = HostInLevel(1, 30);
  host.linecnt[3] = 0x3FFFFFFFu;
  ClearReport four = Report(0, 0, 0, 1);
  EXPECT_EQ(CountClearReport(&host, &four), 0);
  EXPECT_EQ(host.linecnt[3], 0x40000000u);
  EXPECT_EQ(host.record.wait, 500u);
}

}  // namespace
