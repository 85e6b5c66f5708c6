// The recording stand-in interpreter: evaluations read "<number>" as that value and
// "err<code>" as a failure with that code; the BASIC entries record and run nothing but the
// filter probes.
#include "fake_exprn.h"

#include <stdlib.h>
#include <string.h>

namespace {

FakeLog fakeLog;

typedef LONG(WINAPI *Filter)(const char *path, const char *directory);

uint32_t FieldAt(const unsigned char *area, size_t offset) {
  uint32_t value;
  memcpy(&value, area + offset, sizeof value);
  return value;
}

FakeCall *Record(const char *name, uint32_t argument) {
  if (fakeLog.callCount >= 16) return NULL;
  FakeCall *call = &fakeLog.calls[fakeLog.callCount++];
  lstrcpynA(call->name, name, sizeof call->name);
  call->argument = argument;
  GetCurrentDirectoryA(sizeof call->directory, call->directory);
  return call;
}

void RecordWorkArea(const char *name, void *workArea) {
  FakeCall *call = Record(name, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(workArea)));
  if (!call) return;
  const unsigned char *area = static_cast<const unsigned char *>(workArea);
  call->fields[0] = FieldAt(area, 0);
  call->fields[1] = FieldAt(area, 96);
  call->fields[2] = FieldAt(area, 4624);
  call->workAreaWasZero = 1;
  for (int i = 0; i < 7000; ++i)
    if (area[i]) call->workAreaWasZero = 0;
}

LONG Evaluate(const char *text, double *value) {
  ++fakeLog.evaluations;
  lstrcpynA(fakeLog.lastText, text, sizeof fakeLog.lastText);
  if (strncmp(text, "err", 3) == 0) return atol(text + 3);
  char *end;
  double parsed = strtod(text, &end);
  if (end == text || *end) return -1;
  *value = parsed;
  return 0;
}

}  // namespace

extern "C" {

FakeLog *FakeInterpreterLog(void) {
  return &fakeLog;
}

LONG WINAPI FakeEvaluateStandard(LONG first, const char *text, double *value) {
  fakeLog.firstArgument = first;
  return Evaluate(text, value);
}

LONG __cdecl FakeEvaluateRequest(unsigned char *request) {
  fakeLog.requestWasClean = 1;
  for (int i = 4; i < 40; ++i)
    if (request[i]) fakeLog.requestWasClean = 0;
  const char *text;
  memcpy(&text, request, sizeof text);
  double value;
  LONG code = Evaluate(text, &value);
  if (code == 0) memcpy(request + 32, &value, sizeof value);
  return code;
}

LONG_PTR WINAPI FakeLoadSource(const char *file) {
  Record("loadsrc", 0);
  // Relative to the current directory, as the program relies on.
  return GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES ? 0 : FAKE_SCRIPT_HANDLE;
}

LONG WINAPI FakeFree(LONG_PTR handle) {
  Record("free", static_cast<uint32_t>(handle));
  return 0;
}

LONG WINAPI FakeInitialize(void *workArea) {
  RecordWorkArea("initialize", workArea);
  return 0;
}

LONG WINAPI FakeTerminate(void *workArea) {
  RecordWorkArea("terminate", workArea);
  return 0;
}

LONG WINAPI FakeBasic(void *workArea) {
  RecordWorkArea("basic", workArea);
  const unsigned char *area = static_cast<const unsigned char *>(workArea);
  uint32_t program = FieldAt(area, 0);
  if (program != FAKE_SCRIPT_HANDLE) {
    lstrcpynA(fakeLog.prologue, reinterpret_cast<const char *>(program), sizeof fakeLog.prologue);
    return fakeLog.firstRunResult;
  }
  Filter filter = reinterpret_cast<Filter>(FieldAt(area, 96));
  const char *directory = reinterpret_cast<const char *>(FieldAt(area, 4624));
  // A program that left a field empty gets a failed run, not a crash.
  if (!filter || !directory) return -28;
  lstrcpynA(fakeLog.filterDirectory, directory, sizeof fakeLog.filterDirectory);
  for (int i = 0; i < fakeLog.probeCount && i < 8; ++i)
    fakeLog.answers[i] = filter(fakeLog.probes[i], directory);
  return 0;
}

}  // extern "C"
