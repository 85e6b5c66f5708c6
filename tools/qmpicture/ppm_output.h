// Binary PPM (P6, RGB, maxval 255) output of pictures and surfaces.
#pragma once

#include "compose.h"
#include "picture.h"

// Each returns 1, or 0 when the file cannot be written completely.
int WritePicturePpm(const char *path, const PictureBuffer *picture);
int WriteSurfacePpm(const char *path, const ComposeSurface *surface);
