#include "tile_drawing.h"

int32_t FrameRowPad(int32_t width) {
  return (4 - (3 * width) % 4) % 4;
}

void InitSurfaceJob(SurfaceJob *job, uint8_t *frame, int32_t rowPad, const uint32_t *picture,
                    int32_t width, int32_t height, int32_t background) {
  job->frame = frame;
  job->picture = picture;
  job->width = width;
  job->height = height;
  job->background = background;
  job->hw = width >> 1;
  job->hh = height >> 1;
  job->lastColumn = width - 1;
  job->rowBytes = 3 * width;
  job->lastRow = height - 1;
  job->frameBytes = height * (3 * width + rowPad);
  job->transform = 0;
}

// Truncating division that wraps like the processor's 32-bit arithmetic instead of trapping on
// the one quotient that does not fit.
static int32_t Quotient(int32_t numerator, int32_t denominator) {
  if (denominator == -1) return (int32_t)(0u - (uint32_t)numerator);
  return numerator / denominator;
}

static void PutPixel(uint8_t *pixel, uint32_t colour) {
  pixel[0] = (uint8_t)colour;
  pixel[1] = (uint8_t)(colour >> 8);
  pixel[2] = (uint8_t)(colour >> 16);
}

void DrawTile(const SurfaceJob *job) {
  const FrameTransform *t = job->transform;
  int32_t stride = job->frameBytes / job->height;
  // The running terms add in unsigned arithmetic: 32-bit wrap-around, as the terms are
  // defined, without undefined behaviour.
  uint32_t rowDen = (uint32_t)t->denC + (uint32_t)t->denTop;
  uint32_t rowU = (uint32_t)t->uC + (uint32_t)t->uTop;
  uint32_t rowV = (uint32_t)t->vC + (uint32_t)t->vTop;
  for (int32_t y = 0; y <= job->lastRow; ++y) {
    uint8_t *pixel = job->frame + y * stride;
    uint32_t columnDen = (uint32_t)t->denLeft;
    uint32_t columnU = (uint32_t)t->uLeft;
    uint32_t columnV = (uint32_t)t->vLeft;
    for (int32_t x = 0; x <= job->lastColumn; ++x, pixel += 3) {
      int32_t den = (int32_t)(rowDen + columnDen);
      int32_t uNumerator = (int32_t)(rowU + columnU);
      int32_t vNumerator = (int32_t)(rowV + columnV);
      int32_t u, v;
      if (den != 0) {
        u = Quotient(uNumerator, den);
        v = Quotient(vNumerator, den);
      } else {
        u = uNumerator >= 0 ? job->hw : -job->hw;
        v = vNumerator >= 0 ? job->hh : -job->hh;
      }
      // Quotients in (-1, 1) truncate to 0 from both sides; shifting the non-positive ones
      // down keeps the picture's left and right halves the same width.
      if (u <= 0) u = (int32_t)((uint32_t)u - 1u);
      if (v <= 0) v = (int32_t)((uint32_t)v - 1u);
      int32_t column = (int32_t)((uint32_t)u + (uint32_t)job->hw);
      int32_t row = (int32_t)((uint32_t)v + (uint32_t)job->hh);
      if (column >= 0 && column <= job->lastColumn && row >= 0 && row <= job->lastRow) {
        PutPixel(pixel, job->picture[row * job->width + column]);
      } else if (job->background >= 0) {
        PutPixel(pixel, (uint32_t)job->background);
      }
      columnDen += (uint32_t)t->denX;
      columnU += (uint32_t)t->uX;
      columnV += (uint32_t)t->vX;
    }
    rowDen += (uint32_t)t->denY;
    rowU += (uint32_t)t->uY;
    rowV += (uint32_t)t->vY;
  }
}

void FillFrame(uint8_t *frame, int32_t width, int32_t height, int32_t rowPad, uint32_t colour) {
  for (int32_t y = 0; y < height; ++y) {
    uint8_t *pixel = frame + y * (3 * width + rowPad);
    for (int32_t x = 0; x < width; ++x, pixel += 3) PutPixel(pixel, colour);
  }
}

void CopyFrameToPicture(const uint8_t *frame, int32_t width, int32_t height, int32_t rowPad,
                        uint32_t *picture) {
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t *pixel = frame + y * (3 * width + rowPad);
    for (int32_t x = 0; x < width; ++x, pixel += 3) {
      *picture++ = pixel[0] | (uint32_t)pixel[1] << 8 | (uint32_t)pixel[2] << 16;
    }
  }
}
