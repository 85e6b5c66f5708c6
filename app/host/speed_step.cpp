#include "speed_step.h"

#include "resource.h"

// Indexed by command identifier - IDK_FIRST, in the order of the identifiers.
static const int32_t keyCommands[IDK_LAST - IDK_FIRST + 1] = {
    CMD_LEFT,         // IDK_LEFT
    CMD_RIGHT,        // IDK_RIGHT
    CMD_ROTATE_LEFT,  // IDK_ROTATE
    CMD_DROP,         // IDK_DROP
    CMD_PAUSE,        // IDK_PAUSE
    CMD_CLEAR,        // IDK_CLEAR
};

void ApplySpeedStep(GameHost *host) {
  // While Down is held, `wait` is only the sped-up copy; the player's interval is the kept one.
  uint32_t perRow = (host->soft_drop ? host->saved_wait : host->record.wait) + host->poll_wait;
  uint32_t fall = 0;
  if (perRow <= host->lv1_speed) {
    host->poll_wait = 0;
  } else {
    perRow -= host->lv1_speed;
    if (perRow <= POLL_WAIT_LIMIT) {
      host->poll_wait = perRow;
    } else {
      host->poll_wait = POLL_WAIT_LIMIT;
      fall = perRow - POLL_WAIT_LIMIT;
    }
  }
  if (host->soft_drop) {
    host->saved_wait = fall;
    host->record.wait = fall >> SOFT_DROP_SHIFT;
  } else {
    host->record.wait = fall;
  }
}

void CheckSoftDrop(GameHost *host, int downHeld) {
  if (downHeld && !host->soft_drop) {
    host->saved_wait = host->record.wait;
    host->soft_drop = 1;
    host->record.wait >>= SOFT_DROP_SHIFT;
  } else if (!downHeld && host->soft_drop) {
    host->record.wait = host->saved_wait;
    host->soft_drop = 0;
  }
}

int32_t EngineCommandForKey(uint32_t commandId) {
  if (commandId < IDK_FIRST || commandId > IDK_LAST) return CMD_NONE;
  return keyCommands[commandId - IDK_FIRST];
}
