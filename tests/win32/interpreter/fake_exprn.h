// A stand-in interpreter library made by the tests: it answers evaluations from a tiny
// language of its own and records every call the program makes into it, so the tests can
// check what crossed the library boundary.  Built in several variants that differ only in
// their exports (see the .def files).
#pragma once

#include <windows.h>

#include <stdint.h>

// Handle that the fake's loader returns for an existing file.
#define FAKE_SCRIPT_HANDLE 0x5C0DEu

struct FakeCall {
  char name[24];             // the export called
  uint32_t argument;         // its (first) argument
  char directory[MAX_PATH];  // the current directory at the call
  uint32_t fields[3];        // work-area calls: the fields at 0, 96 and 4624
  int workAreaWasZero;       // work-area calls: all 7000 bytes zero
};

struct FakeLog {
  // Set by the test.
  LONG firstRunResult;  // what the prologue run returns
  int probeCount;       // paths the user's script run asks the filter about
  char probes[8][MAX_PATH];
  // Recorded by the fake.
  int callCount;
  FakeCall calls[16];
  char prologue[2048];             // the text of the prologue run, byte for byte
  LONG answers[8];                 // the filter's answers to the probes
  char filterDirectory[MAX_PATH];  // the filter's second argument as the fake passed it
  int evaluations;
  LONG firstArgument;   // three-argument form: its first argument
  int requestWasClean;  // one-argument form: every byte but the text pointer zero
  char lastText[512];
};

typedef FakeLog *(*FakeLogFunction)(void);
