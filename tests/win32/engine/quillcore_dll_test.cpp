// quillcore.dll as the program meets it: loaded from the program directory, entered through
// "_Quillomar@4" with stdcall callbacks, on the real tick counter and calendar clock.  Waits
// are kept at 0 or out of reach so the games run as fast as the host answers.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "quillcore.h"
#include "reference_engine.h"
#include "steered_player.h"

namespace {

typedef int32_t(__stdcall *EntryProc)(HostRecord *);

class QuillcoreDll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Tests run from <build>/bin; the program directory is <build>/dist.
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof path);
    std::string dir(path, length);
    dir.resize(dir.find_last_of('\\') + 1);
    std::string dll = dir + "..\\dist\\quillcore.dll";
    module = LoadLibraryA(dll.c_str());
    ASSERT_NE(module, nullptr) << dll;
    entry = reinterpret_cast<EntryProc>(
        reinterpret_cast<void *>(GetProcAddress(module, "_Quillomar@4")));
    ASSERT_NE(entry, nullptr);
  }
  static void TearDownTestSuite() {
    if (module) FreeLibrary(module);
    module = nullptr;
    entry = nullptr;
  }
  void SetUp() override { ASSERT_NE(entry, nullptr); }

  static HMODULE module;
  static EntryProc entry;
};

HMODULE QuillcoreDll::module = nullptr;
EntryProc QuillcoreDll::entry = nullptr;

struct DllHost {
  HostRecord record;  // first: the engine is handed its address
  std::vector<std::string> spawn_views;
  std::vector<ClearReport> reports;
  std::string events;
  int32_t (*decide)(DllHost &) = nullptr;
  SteeredPlayer player;
  size_t planned = 0;
  int max_spawns = 200;
};

void __stdcall OnSpawn(const char *view, const char *, int32_t, void *user) {
  DllHost *host = static_cast<DllHost *>(user);
  host->spawn_views.emplace_back(view, BOARD_CELLS);
  host->events += 'S';
}

void __stdcall OnRedraw(const char *, void *user) {
  static_cast<DllHost *>(user)->events += 'R';
}

int32_t __stdcall OnInput(void *user) {
  DllHost *host = static_cast<DllHost *>(user);
  host->events += 'I';
  return host->decide ? host->decide(*host) : CMD_QUIT;
}

void __stdcall OnClear(int32_t *, const ClearReport *report, void *user) {
  DllHost *host = static_cast<DllHost *>(user);
  host->reports.push_back(*report);
  host->events += 'C';
}

void MakeHost(DllHost &host) {
  memset(&host.record, 0, sizeof host.record);
  host.record.spawn_proc = OnSpawn;
  host.record.redraw_proc = OnRedraw;
  host.record.input_proc = OnInput;
  host.record.clear_proc = OnClear;
  host.record.blockfreq = -1;
  host.record.freq_weight = 7;
  host.record.guide_shadow = 1;
  host.record.lv2_norma = 1;
  host.record.lv2_block = 6;
  host.record.lv2_upline = 1;
  host.record.wait = 0;
  host.record.user = &host;
}

int32_t AlwaysDrop(DllHost &) {
  return CMD_DROP;
}

// Steers each new piece; out-of-reach wait, so pieces only move when told.
int32_t Steer(DllHost &host) {
  if (host.spawn_views.size() > size_t(host.max_spawns)) return CMD_QUIT;
  if (host.spawn_views.size() != host.planned) {
    host.planned = host.spawn_views.size();
    host.player.PlanFor(host.spawn_views.back());
  }
  return host.player.NextCommand();
}

TEST_F(QuillcoreDll, ExportsOnlyTheEngineEntry) {
  const BYTE *base = reinterpret_cast<const BYTE *>(module);
  const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
  ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
  const IMAGE_NT_HEADERS32 *nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(base + dos->e_lfanew);
  ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
  const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  ASSERT_NE(dir.VirtualAddress, 0u);
  const IMAGE_EXPORT_DIRECTORY *exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + dir.VirtualAddress);
  EXPECT_STREQ(reinterpret_cast<const char *>(base + exports->Name), "quillcore.dll");
  ASSERT_EQ(exports->NumberOfNames, 1u);
  EXPECT_EQ(exports->NumberOfFunctions, 1u);
  const DWORD *names = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
  EXPECT_STREQ(reinterpret_cast<const char *>(base + names[0]), "_Quillomar@4");
  const DWORD *functions = reinterpret_cast<const DWORD *>(base + exports->AddressOfFunctions);
  const WORD *ordinals = reinterpret_cast<const WORD *>(base + exports->AddressOfNameOrdinals);
  EXPECT_EQ(reinterpret_cast<const void *>(base + functions[ordinals[0]]),
            reinterpret_cast<const void *>(entry));
}

TEST_F(QuillcoreDll, RefusesBadRecordsWithoutCallingBack) {
  DllHost host;
  MakeHost(host);
  host.record.clear_proc = nullptr;
  EXPECT_EQ(entry(&host.record), -1);
  MakeHost(host);
  host.record.blockfreq = 7;
  EXPECT_EQ(entry(&host.record), -1);
  EXPECT_EQ(host.events, "");
}

TEST_F(QuillcoreDll, QuitEndsTheGameWithZero) {
  DllHost host;
  MakeHost(host);
  host.record.wait = 0xFFFFFFFFu;
  EXPECT_EQ(entry(&host.record), 0);
  EXPECT_EQ(host.events, "SI");
}

TEST_F(QuillcoreDll, DroppingEveryPieceEndsTheGameWithOne) {
  DllHost host;
  MakeHost(host);
  host.decide = AlwaysDrop;
  EXPECT_EQ(entry(&host.record), 1);
  EXPECT_EQ(host.events.back(), 'S');
  EXPECT_GE(host.spawn_views.size(), 3u);
}

TEST_F(QuillcoreDll, SteeredGameReportsEveryRemovedRow) {
  DllHost host;
  MakeHost(host);
  host.record.wait = 0xFFFFFFFFu;
  host.decide = Steer;
  ASSERT_EQ(entry(&host.record), 0);
  ASSERT_FALSE(host.reports.empty());
  int rows = 0;
  for (const ClearReport &r : host.reports) {
    rows += r.count[0] + 2 * r.count[1] + 3 * r.count[2] + 4 * r.count[3];
  }
  // Every lock brings four blocks and every removed row takes sixteen.
  int locks = int(host.spawn_views.size()) - 1;
  EXPECT_EQ(reference::CountOf(host.spawn_views.back(), '#'), 4 * locks - 16 * rows);
}

TEST_F(QuillcoreDll, LevelTwoRaisesARowUnderTheStack) {
  DllHost host;
  MakeHost(host);
  host.record.wait = 0xFFFFFFFFu;
  host.record.level2 = 1;
  host.record.lv2_block = 1;
  host.max_spawns = 1;
  host.decide = [](DllHost &h) {
    return static_cast<int32_t>(h.spawn_views.size() > 1 ? CMD_QUIT : CMD_DROP);
  };
  ASSERT_EQ(entry(&host.record), 0);
  ASSERT_EQ(host.spawn_views.size(), 2u);
  std::string bottom = host.spawn_views[1].substr(23 * 16);
  int blocks = reference::CountOf(bottom, '#');
  EXPECT_TRUE(blocks == 13 || blocks == 14) << bottom;
  EXPECT_EQ(reference::CountOf(bottom, ' '), 16 - blocks);
  // The dropped piece sits where its guide was, one row higher.
  std::vector<std::pair<int, int>> guide = reference::CellsOf(host.spawn_views[0], '.');
  for (auto &cell : guide) cell.first -= 1;
  std::vector<std::pair<int, int>> above =
      reference::CellsOf(host.spawn_views[1].substr(0, 23 * 16), '#');
  EXPECT_EQ(above, guide);
}

}  // namespace
