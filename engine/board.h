// The falling piece over the two boards: collision, stamping, landing row, guide, and the
// pictures handed to the host.  Every function works on one game's EngineState; `piece`,
// `rotation` and the board pointers must be valid.
#pragma once

#include <stdint.h>

#include "engine_state.h"

#ifdef __cplusplus
extern "C" {
#endif

// Fills a 384-byte board with blanks.
void BlankBoard(char *board);

// 1 when the current piece in `rotation` with its frame at (`col`, `row`) would have a block
// outside the board or on a non-blank cell of settled_board; 0 otherwise.  Only settled_board
// is read, so "O" and "." never block.
int32_t PieceCollides(const EngineState *state, int32_t col, int32_t row, int32_t rotation);

// Writes `cell` into view_board under every block of the current piece in its current rotation
// and column, with the frame at `row`.  Cells that would fall outside the board are skipped.
void StampPiece(EngineState *state, int32_t row, char cell);

// The frame row where the current piece would come to rest if it fell straight down from
// its current row; the current row itself when it already collides there.
int32_t LandingRow(const EngineState *state);

// Stamps the landing guide "." into view_board when the host asked for it.
void StampGuide(EngineState *state);

// Rebuilds view_board from settled_board with the guide and the piece, then redraw_proc.
void RefreshView(EngineState *state);

// Shows a piece that has just entered: guide and "O" at row 1 stamped into view_board (which
// the caller has made equal to settled_board), then spawn_proc with the next piece's picture.
void ShowSpawn(EngineState *state);

// Moves the piece by `delta_col` columns if it fits there and refreshes; 1 if it moved.
int32_t ShiftPiece(EngineState *state, int32_t delta_col);

// Turns the piece by `delta` quarter turns (+1 clockwise, -1 counter-clockwise, wrapping
// 0..3) if the turned picture fits where the piece stands, and refreshes; 1 if it turned.
int32_t TurnPiece(EngineState *state, int32_t delta);

#ifdef __cplusplus
}
#endif
