#include "fake_host.h"

#include <algorithm>

#include "engine_clock.h"
#include "reference_engine.h"

namespace fake_clock {
uint32_t tick;
uint32_t seconds;
int tick_reads;

static uint32_t Tick() {
  ++tick_reads;
  return tick;
}

static uint32_t Seconds() {
  return seconds;
}
}  // namespace fake_clock

void EngineTest::SetUp() {
  fake_clock::tick = 1000;
  fake_clock::seconds = 12345;
  fake_clock::tick_reads = 0;
  EngineClock clock = {fake_clock::Tick, fake_clock::Seconds};
  SetEngineClock(&clock);
}

void EngineTest::TearDown() {
  SetEngineClock(nullptr);
}

namespace {

FakeHost *HostOf(void *user) {
  return static_cast<FakeHost *>(user);
}

void QUILLCORE_CALL OnSpawn(const char *view, const char *next, int32_t tally, void *user) {
  FakeHost *host = HostOf(user);
  host->spawn_views.emplace_back(view, BOARD_CELLS);
  host->next_pictures.emplace_back(next, PIECE_PICTURE_CELLS);
  host->tallies.push_back(tally);
  host->last_view.assign(view, BOARD_CELLS);
  host->events += 'S';
}

void QUILLCORE_CALL OnRedraw(const char *view, void *user) {
  FakeHost *host = HostOf(user);
  host->redraw_views.emplace_back(view, BOARD_CELLS);
  host->last_view.assign(view, BOARD_CELLS);
  host->events += 'R';
}

int32_t QUILLCORE_CALL OnInput(void *user) {
  FakeHost *host = HostOf(user);
  host->inputs++;
  host->events += 'I';
  return host->decide(*host);
}

void QUILLCORE_CALL OnClear(int32_t *tally, const ClearReport *report, void *user) {
  FakeHost *host = HostOf(user);
  *tally += host->tally_step;
  host->reports.push_back(*report);
  host->events += 'C';
}

}  // namespace

FakeHost::FakeHost() {
  record = HostRecord();
  record.spawn_proc = OnSpawn;
  record.redraw_proc = OnRedraw;
  record.input_proc = OnInput;
  record.clear_proc = OnClear;
  record.blockfreq = -1;
  record.freq_weight = 7;
  record.guide_shadow = 1;
  record.lv2_norma = 1;
  record.lv2_block = 6;
  record.lv2_upline = 1;
  record.wait = 1000;
  record.user = this;
  decide = [](FakeHost &host) {
    if (host.script.empty()) return static_cast<int32_t>(CMD_QUIT);
    int32_t command = host.script.front();
    host.script.pop_front();
    return command;
  };
}

int32_t FakeHost::Play() {
  return Quillomar(&record);
}

std::vector<std::pair<int, int>> FallingCells(const std::string &view) {
  std::vector<std::pair<int, int>> cells = reference::CellsOf(view, 'O');
  std::sort(cells.begin(), cells.end());
  return cells;
}
