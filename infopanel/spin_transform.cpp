#include "spin_transform.h"

#include <math.h>

typedef struct Rotation {
  float cosX, sinX, cosY, sinY, cosZ, sinZ;
} Rotation;

// About z, then about x, then about y, in place.
static void Rotate(const Rotation *r, float p[3]) {
  float x = p[0] * r->cosZ - p[1] * r->sinZ;
  float y = p[0] * r->sinZ + p[1] * r->cosZ;
  float z = p[2];
  float y2 = y * r->cosX - z * r->sinX;
  float z2 = y * r->sinX + z * r->cosX;
  p[0] = x * r->cosY - z2 * r->sinY;
  p[1] = y2;
  p[2] = x * r->sinY + z2 * r->cosY;
}

static int32_t Scaled(float value) {
  float scaled = value * 32768.0f;
  if (!(scaled > -2147483648.0f)) return INT32_MIN;  // also a NaN
  if (scaled >= 2147483648.0f) return INT32_MAX;
  return (int32_t)scaled;
}

// The row and column start terms wrap in 32 bits as the drawing arithmetic does.
static int32_t Times(int32_t a, int32_t b) {
  return (int32_t)((uint32_t)a * (uint32_t)b);
}

void ComputeFrameTransform(const SurfacePose *pose) {
  int32_t hw = pose->width >> 1;
  int32_t hh = pose->height >> 1;
  float halfWidth = (float)hw;
  float kx = pose->scaleX / halfWidth;
  float ky = pose->scaleY / halfWidth;

  Rotation r;
  r.cosX = cosf(pose->angleX), r.sinX = sinf(pose->angleX);
  r.cosY = cosf(pose->angleY), r.sinY = sinf(pose->angleY);
  r.cosZ = cosf(pose->angleZ), r.sinZ = sinf(pose->angleZ);
  float a[3] = {kx, 0.0f, 0.0f};
  float b[3] = {0.0f, -ky, 0.0f};
  float c[3] = {pose->offsetX, pose->offsetY, pose->offsetZ};
  Rotate(&r, a);
  Rotate(&r, b);
  Rotate(&r, c);

  // Rows: screen-x numerator, screen-y numerator, denominator; columns: u, v, 1.
  float m[3][3] = {
      {halfWidth * a[0], halfWidth * b[0], halfWidth * c[0]},
      {-halfWidth * a[1], -halfWidth * b[1], -halfWidth * c[1]},
      {-a[2] / pose->divisor, -b[2] / pose->divisor, (pose->distance - c[2]) / pose->divisor},
  };
  // The adjugate maps a screen point back to the picture up to a common factor, which the
  // division by the denominator row cancels.
  float adj[3][3] = {
      {m[1][1] * m[2][2] - m[1][2] * m[2][1], m[0][2] * m[2][1] - m[0][1] * m[2][2],
       m[0][1] * m[1][2] - m[0][2] * m[1][1]},
      {m[1][2] * m[2][0] - m[1][0] * m[2][2], m[0][0] * m[2][2] - m[0][2] * m[2][0],
       m[0][2] * m[1][0] - m[0][0] * m[1][2]},
      {m[1][0] * m[2][1] - m[1][1] * m[2][0], m[0][1] * m[2][0] - m[0][0] * m[2][1],
       m[0][0] * m[1][1] - m[0][1] * m[1][0]},
  };

  FrameTransform *t = pose->out;
  t->denX = Scaled(adj[2][0]), t->denY = Scaled(adj[2][1]), t->denC = Scaled(adj[2][2]);
  t->uX = Scaled(adj[0][0]), t->uY = Scaled(adj[0][1]), t->uC = Scaled(adj[0][2]);
  t->vX = Scaled(adj[1][0]), t->vY = Scaled(adj[1][1]), t->vC = Scaled(adj[1][2]);
  t->denTop = Times(-hh, t->denY), t->uTop = Times(-hh, t->uY), t->vTop = Times(-hh, t->vY);
  t->denLeft = Times(-hw, t->denX), t->uLeft = Times(-hw, t->uX), t->vLeft = Times(-hw, t->vX);
}
