#include "game_commands.h"

#include "game_thread.h"
#include "game_settings.h"
#include "score_script.h"
#include "surfaces.h"

void StartGameFromSettings(HWND window) {
  // A game whose end notice is still queued is finished first by that notice.
  if (game_thread) return;
  GameRules rules;
  rules.wait_fall = gameSettings.wait_fall;
  rules.wait_poll = gameSettings.wait_poll;
  rules.level = gameSettings.level;
  rules.lv1_norma = gameSettings.lv1_norma;
  rules.lv1_speed = gameSettings.lv1_speed;
  rules.lv2_block = gameSettings.lv2_block;
  rules.lv2_norma = gameSettings.lv2_norma;
  rules.lv2_upline = gameSettings.lv2_upline;
  rules.blockfreq = gameSettings.blockfreq;
  rules.guide_shadow = gameSettings.guide_shadow;
  rules.transparent_enabled = gameSettings.transparent_enabled;
  rules.transparent_colour = gameSettings.transparent_colour;
  StartGame(window, &rules);
}

void StopGame(HWND window) {
  if (!StopGameThread()) return;
  RunScoreScript();
  ResetDisplay(&gameHost.render);
  SetMenuStates(window, 0);
  InvalidateRect(window, NULL, FALSE);
}

void StopGameForSessionEnd(void) {
  gameHost.score_script_done = 1;
  StopGameThread();
}

void HandleGameEnded(HWND window) {
  if (CloseEndedGameThread(window)) RunScoreScript();
}
