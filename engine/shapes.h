// The piece pictures: seven four-cell pieces in four rotations each, as 4x4 frames of "O" and
// blank written row by row.  Constant data shared by every game.
#pragma once

#include <stdint.h>

#include "quillcore.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { SHAPE_PIECES = 7, SHAPE_ROTATIONS = 4, SHAPE_FRAME = 4 };
static_assert(SHAPE_FRAME * SHAPE_FRAME == PIECE_PICTURE_CELLS, "a piece picture is its frame");

// Rotation first, then piece: piece p in rotation q is the PIECE_PICTURE_CELLS (4 x 4) bytes at
// ShapeTable[q] + p * PIECE_PICTURE_CELLS.
// Rotation q + 1 is rotation q turned a quarter turn clockwise.  The last byte of each
// rotation's table is the terminator of the text it is written as, never part of a picture.
extern const char ShapeTable[SHAPE_ROTATIONS][SHAPE_PIECES * PIECE_PICTURE_CELLS + 1];

// The 16-byte picture of `piece` (0..6) in `rotation` (0..3).  Points into ShapeTable; never
// null for indices in range, which callers guarantee.
const char *ShapePicture(int32_t piece, int32_t rotation);

#ifdef __cplusplus
}
#endif
