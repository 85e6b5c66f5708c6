// Speed step, Down-key speed-up and the key table of a running game.
#include "speed_step.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

GameHost HostWithTiming(uint32_t fall, uint32_t poll, uint32_t speed) {
  GameHost host;
  memset(&host, 0, sizeof host);
  host.record.wait = fall;
  host.poll_wait = poll;
  host.lv1_speed = speed;
  host.level = 1;
  return host;
}

TEST(SpeedStep, DefaultTimingLosesSeventyMillisecondsOfFallInterval) {
  GameHost host = HostWithTiming(500, 50, 70);
  ApplySpeedStep(&host);
  EXPECT_EQ(host.poll_wait, 50u);
  EXPECT_EQ(host.record.wait, 430u);
}

TEST(SpeedStep, WhatIsLeftUnderFiftyBecomesPollTime) {
  GameHost host = HostWithTiming(50, 50, 70);
  ApplySpeedStep(&host);
  EXPECT_EQ(host.poll_wait, 30u);
  EXPECT_EQ(host.record.wait, 0u);
}

TEST(SpeedStep, TimePerRowAtOrBelowTheStepEndsAtZero) {
  const uint32_t sums[][2] = {{20, 50}, {0, 70}, {19, 50}, {0, 0}};
  for (const auto &s : sums) {
    GameHost host = HostWithTiming(s[0], s[1], 70);
    ApplySpeedStep(&host);
    EXPECT_EQ(host.poll_wait, 0u) << s[0] << "+" << s[1];
    EXPECT_EQ(host.record.wait, 0u) << s[0] << "+" << s[1];
  }
}

// Reference: take lv1_speed off the time per row without going below zero, then keep up to
// 50 ms of the rest as poll time.
TEST(SpeedStep, AgreesWithASaturatingReferenceOverManyTimings) {
  const uint32_t speeds[] = {0, 1, 49, 50, 51, 70, 1000, 0xFFFFFFFFu};
  for (uint32_t speed : speeds) {
    for (uint32_t poll = 0; poll <= 50; poll += 5) {
      for (uint32_t fall = 0; fall < 1200; fall += 7) {
        int64_t left = (int64_t)fall + poll - speed;
        if (left < 0) left = 0;
        int64_t refPoll = left < 50 ? left : 50;
        int64_t refFall = left - refPoll;

        GameHost host = HostWithTiming(fall, poll, speed);
        ApplySpeedStep(&host);
        ASSERT_EQ(host.poll_wait, (uint32_t)refPoll) << fall << "+" << poll << "-" << speed;
        ASSERT_EQ(host.record.wait, (uint32_t)refFall) << fall << "+" << poll << "-" << speed;
      }
    }
  }
}

TEST(SoftDrop, HoldingDownDividesTheIntervalBySixteenAndReleasingRestoresIt) {
  GameHost host = HostWithTiming(430, 50, 70);
  CheckSoftDrop(&host, 1);
  EXPECT_EQ(host.soft_drop, 1);
  EXPECT_EQ(host.record.wait, 26u);
  CheckSoftDrop(&host, 1);  // still held: no second division
  EXPECT_EQ(host.record.wait, 26u);
  CheckSoftDrop(&host, 0);
  EXPECT_EQ(host.soft_drop, 0);
  EXPECT_EQ(host.record.wait, 430u);
  CheckSoftDrop(&host, 0);  // still released: the interval stays
  EXPECT_EQ(host.record.wait, 430u);
}

TEST(SoftDrop, SpeedStepWhileHeldLowersTheKeptIntervalAndSetsASixteenthOfIt) {
  GameHost host = HostWithTiming(500, 50, 70);
  CheckSoftDrop(&host, 1);
  ASSERT_EQ(host.record.wait, 31u);
  ApplySpeedStep(&host);
  EXPECT_EQ(host.saved_wait, 430u);
  EXPECT_EQ(host.record.wait, 430u / 16);
  EXPECT_EQ(host.poll_wait, 50u);
  CheckSoftDrop(&host, 0);
  EXPECT_EQ(host.record.wait, 430u);
}

TEST(KeyCommands, EachForwardedKeyMapsToItsEngineCommand) {
  EXPECT_EQ(EngineCommandForKey(40007), 1);   // Left
  EXPECT_EQ(EngineCommandForKey(40008), 2);   // Right
  EXPECT_EQ(EngineCommandForKey(40009), 3);   // Up: turn left
  EXPECT_EQ(EngineCommandForKey(40010), 5);   // Space: drop
  EXPECT_EQ(EngineCommandForKey(40011), -1);  // Pause, kept by input_proc
  EXPECT_EQ(EngineCommandForKey(40012), 6);   // Delete: clear
}

TEST(KeyCommands, IdentifiersOutsideTheKeyRangeGiveNoCommand) {
  const uint32_t outside[] = {0, 40001, 40006, 40013, 0x10000u + 40007, 0xFFFFFFFFu};
  for (uint32_t id : outside) EXPECT_EQ(EngineCommandForKey(id), CMD_NONE) << id;
}

}  // namespace
