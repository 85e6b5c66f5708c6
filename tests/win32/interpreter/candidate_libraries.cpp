#include "candidate_libraries.h"

namespace {

const char *const kCandidates[] = {"Exprn40.dll", "Exprn35.dll", "Exprn34.dll"};

void RemoveCandidates() {
  for (const char *name : kCandidates) DeleteFileA((TestDirectory() + name).c_str());
}

}  // namespace

std::string TestDirectory() {
  char module[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, module, sizeof module);
  std::string path(module, length);
  return path.substr(0, path.find_last_of("\\/") + 1);
}

bool PlaceLibrary(const char *variant, const char *candidate) {
  std::string from = TestDirectory() + "fake_" + variant + ".dll";
  return CopyFileA(from.c_str(), (TestDirectory() + candidate).c_str(), FALSE) != 0;
}

FakeLog *BoundFakeLog() {
  if (!interpreter.module) return NULL;
  FARPROC address = GetProcAddress(interpreter.module, "FakeInterpreterLog");
  if (!address) return NULL;
  return reinterpret_cast<FakeLogFunction>(reinterpret_cast<void (*)(void)>(address))();
}

void CandidateLibraries::SetUp() {
  RemoveCandidates();
}

void CandidateLibraries::TearDown() {
  FreeInterpreter();
  RemoveCandidates();
}
