// A real main window over a 20 x 20 block picture and no saved settings, made for each test
// and destroyed after it, with the fixtures it wrote removed again.
#pragma once

#include <gtest/gtest.h>

#include "shell_harness.h"

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveFixture("init.inf");
    WriteFixture("block.bmp", BmpFile(PatternPicture(20, 20, 1)));
    window = CreateTestMainWindow();
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    DestroyTestMainWindow(window);
    RemoveFixture("init.inf");
    RemoveFixture("block.bmp");
  }
  HWND window = NULL;
};
