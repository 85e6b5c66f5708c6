// The tests' stand-in libraries placed beside the test program under the candidate names that
// the program's library search finds first, and removed again after each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fake_exprn.h"
#include "interpreter.h"

// The test program's directory, ending in a backslash.
std::string TestDirectory();

// Copies the built variant "fake_<variant>.dll" to `candidate` ("Exprn40.dll"...).
bool PlaceLibrary(const char *variant, const char *candidate);

// The record of the library that LoadInterpreter kept; null without one.
FakeLog *BoundFakeLog();

class CandidateLibraries : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};
