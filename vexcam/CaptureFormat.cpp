#include "CaptureFormat.h"

#include "CameraGeometry.h"
#include "SettingsBlock.h"

SIZE FullFrame(const tCameraSettings& s) {
  SIZE frame = ModelFrameSize(s.CameraVer);
  LONG w = frame.cx, h = frame.cy;
  bool halve = s.zoom == 0.5;
  switch (s.TranMode) {
    case 0: case 2: case 3: break;
    case 1: w /= 2; h /= 2; break;
    case 4: w *= 2; h *= 2; halve = false; break;
    case 5: case 6: case 7: w *= 3; h *= 3; halve = false; break;
    default: return {0, 0};
  }
  if (halve) w /= 2, h /= 2;
  return {w, h};
}

LONG ShiftFactor(LONG tranMode) {
  switch (tranMode) {
    case 3: return 2;
    case 4: return 4;
    case 5: return 3;
    case 6: case 7: return 6;
    default: return 1;
  }
}

LONG FormatImage(CTrueImage* image, RECT& rect, const tCameraSettings& s) {
  SIZE frame = FullFrame(s);
  RECT r = rect;
  if (IsRectEmpty(&r)) r = {0, 0, frame.cx, frame.cy};
  // A rectangle outside the frame would make the readout write past the picture.
  if (r.left < 0 || r.top < 0 || r.right > frame.cx || r.bottom > frame.cy) return kRectTooLarge;
  LONG w = r.right - r.left, h = r.bottom - r.top;
  if (s.Mode & kModeRotate) std::swap(w, h);
  if (w > 32767 || h > 32767 || int64_t(h) * RowStride(w, 3) + 4096 > 0x7FFFFFFF) return kRectTooLarge;
  rect = r;
  if (image) {
    image->SetFormat(w, h, 3);
    image->m_nWidth = w;
    image->m_nHeight = h;
    image->m_nStride = RowStride(w, 3);
  }
  return 1;
}

LONG MallocSize(LONG width, LONG height) {
  int64_t bytes = int64_t(height) * RowStride(width, 3) + 128;
  return LONG((bytes + 4095) / 4096 * 4096);
}
