// Linked with the import library as the main program is, so the loader itself must resolve
// "_Quillomar@4" in quillcore.dll before the first test runs.
#include <gtest/gtest.h>

#include <string.h>

#include "quillcore.h"

namespace {

int calls = 0;

void __stdcall OnSpawn(const char *, const char *, int32_t, void *) {
  ++calls;
}
void __stdcall OnRedraw(const char *, void *) {
  ++calls;
}
int32_t __stdcall OnInput(void *) {
  ++calls;
  return CMD_QUIT;
}
void __stdcall OnClear(int32_t *, const ClearReport *, void *) {
  ++calls;
}

HostRecord Record() {
  HostRecord record;
  memset(&record, 0, sizeof record);
  record.spawn_proc = OnSpawn;
  record.redraw_proc = OnRedraw;
  record.input_proc = OnInput;
  record.clear_proc = OnClear;
  record.blockfreq = -1;
  record.wait = 0xFFFFFFFFu;
  return record;
}

TEST(QuillcoreImport, DirectCallPlaysAndRefusesThroughTheImportedEntry) {
  HostRecord record = Record();
  EXPECT_EQ(Quillomar(&record), 0);
  EXPECT_EQ(calls, 2);

  record.input_proc = nullptr;
  EXPECT_EQ(Quillomar(&record), -1);
  EXPECT_EQ(calls, 2);
}

}  // namespace
