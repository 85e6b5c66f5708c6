#include "spin_tiles.h"

// pi / 180 rounded to single precision.
static const float kDegree = 0.017453292f;

static const SpinTile kTwoFace[] = {
    {0, 0, 1.0f, -1.0f, -1.0f, 1, 0, 1, 2.7f},  // A: farther, bottom right
    {1, 1, -1.0f, 1.0f, 1.0f, 1, 1, 0, 2.7f},   // B: nearer, top left
};
static const SpinTile kOneFace[] = {
    {1, 0, 0.5f, -0.5f, -0.5f, 1, 1, 1, 2.0f},
};
static const SpinTile kFourFace[] = {
    {0, 0, 1.0f, 1.0f, -1.0f, 1, 0, 1, 3.0f},      // S0: top right
    {1, 1, -1.0f, 1.0f, -1.0f, -1, 0, -1, 3.0f},   // S1: top left
    {2, 2, 1.0f, -1.0f, -1.0f, 0, 1, 1, 3.0f},     // S2: bottom right
    {3, 3, -1.0f, -1.0f, -1.0f, 0, -1, -1, 3.0f},  // S3: bottom left
};

int SpinTiles(int mode, const SpinTile **tiles) {
  switch (mode) {
    case kTwoFaceSpin:
      *tiles = kTwoFace;
      return 2;
    case kOneFaceSpin:
      *tiles = kOneFace;
      return 1;
    case kFourFaceSpin:
      *tiles = kFourFace;
      return 4;
    default:
      *tiles = 0;
      return 0;
  }
}

static float Turned(int8_t turn, float angle) {
  return turn == 0 ? 0.0f : (turn > 0 ? angle : -angle);
}

void BuildPoseTable(const SpinTile *tile, int32_t width, int32_t height, FrameTransform *table) {
  SurfacePose pose;
  pose.width = width;
  pose.height = height;
  pose.scaleX = pose.scaleY = pose.divisor = 1.0f;
  pose.offsetX = tile->offsetX;
  pose.offsetY = tile->offsetY;
  pose.offsetZ = tile->offsetZ;
  pose.distance = tile->distance;
  // Stored through memory so that the sum is rounded to single precision at every step, also
  // where the compiler keeps floats in wider registers.
  volatile float angle = 0.0f;
  for (int k = 0; k < kTurnFrames; ++k) {
    float now = angle;
    pose.angleX = Turned(tile->turnX, now);
    pose.angleY = Turned(tile->turnY, now);
    pose.angleZ = Turned(tile->turnZ, now);
    pose.out = &table[k];
    ComputeFrameTransform(&pose);
    angle = now + kDegree;
  }
}
