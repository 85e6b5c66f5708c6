#include "shapes.h"

// Each line is one piece's 4x4 frame, four characters per frame row.  Pieces 0, 1 and 5 only
// alternate between two pictures and piece 4 never changes, but every entry is kept so that
// every lookup goes through the table.
// clang-format off
const char ShapeTable[SHAPE_ROTATIONS][SHAPE_PIECES * PIECE_PICTURE_CELLS + 1] = {
    {
        " O  " " OO " "  O " "    "  // 0
        "  O " " OO " " O  " "    "  // 1
        " O  " " O  " "OO  " "    "  // 2
        " O  " " O  " " OO " "    "  // 3
        "    " " OO " " OO " "    "  // 4
        " O  " " O  " " O  " " O  "  // 5
        " O  " "OOO " "    " "    "  // 6
    },
    {
        "    " " OO " "OO  " "    "
        "    " "OO  " " OO " "    "
        "O   " "OOO " "    " "    "
        "    " "OOO " "O   " "    "
        "    " " OO " " OO " "    "
        "    " "OOOO" "    " "    "
        " O  " " OO " " O  " "    "
    },
    {
        " O  " " OO " "  O " "    "
        "  O " " OO " " O  " "    "
        " OO " " O  " " O  " "    "
        "OO  " " O  " " O  " "    "
        "    " " OO " " OO " "    "
        " O  " " O  " " O  " " O  "
        "    " "OOO " " O  " "    "
    },
    {
        "    " " OO " "OO  " "    "
        "    " "OO  " " OO " "    "
        "    " "OOO " "  O " "    "
        "  O " "OOO " "    " "    "
        "    " " OO " " OO " "    "
        "    " "OOOO" "    " "    "
        " O  " "OO  " " O  " "    "
    },
};
// clang-format on

const char *ShapePicture(int32_t piece, int32_t rotation) {
  return ShapeTable[rotation] + piece * PIECE_PICTURE_CELLS;
}
