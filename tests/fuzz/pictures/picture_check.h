// What every picture a reader returns must be.
#pragma once

#include "picture.h"

// Traps unless `read` and `picture` are a reader's consistent result: a picture of the stated
// size whose every pixel can be read and has a zero top byte, or no pixel block at all.
// Releases the picture.
void CheckReadPicture(int read, PictureBuffer *picture);
