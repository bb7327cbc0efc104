#include "CameraGeometry.h"

CameraGeometry& Geometry() {
  static CameraGeometry geometry;
  return geometry;
}

SIZE ModelFrameSize(LONG cameraVer) {
  switch ((cameraVer >> 8) & 0xF) {
    case 5: return {640, 480};
    case 8: return {1024, 768};
    case 0xA: return {1280, 1024};
    default: return {Geometry().FrameWidth, Geometry().FrameHeight};
  }
}
