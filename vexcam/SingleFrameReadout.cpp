// The single-frame readout: one exposed frame off the board, line by line, into the
// caller's picture through the kernel family of ReadoutKernels.
#include <algorithm>
#include <cstring>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "Timing.h"
#include "TrueImage.h"

using vexcam::PixelRule;

namespace {
constexpr LONG kFullColourColumns = 1280;
constexpr LONG kLineBufferBytes = 4096;
constexpr DWORD kModeNoChroma = 0x20000;  // no chroma step and no green balance
}  // namespace

CCameraCtrl::FrameReadout CCameraCtrl::SingleFrameReadout(bool full) const {
  const tCameraSettings& s = Settings();
  const bool negative = (s.Mode & 0x20) != 0, grey = (s.Mode & 0x40) != 0;
  const bool balance = m_Revision < 217 || (s.Mode & kModeNoChroma);
  FrameReadout r;
  r.kind.full = full;
  r.lateStart = full;
  if (full) {
    r.kind.invertRaw = negative;
    r.kind.rule = grey ? PixelRule::Grey : PixelRule::Plain;
    if (!grey && !negative) {
      r.kind.fullChroma = !balance;
      r.stats = balance;
    }
    return r;
  }
  if (grey)
    r.kind.rule = negative ? PixelRule::NegativeGrey : PixelRule::Grey;
  else if (negative)
    r.kind.rule = PixelRule::Negative;
  else {
    r.kind.rule = balance ? PixelRule::Plain : PixelRule::Chroma;
    r.stats = balance;
  }
  return r;
}

LONG CCameraCtrl::ReadFrameToPicture(const FrameReadout& readout, const vexcam::PictureTarget& picture, LONG x,
                                     LONG width, LONG height) {
  tCameraSettings& s = Settings();
  const bool full = readout.kind.full;
  if (full && readout.kind.rule == PixelRule::Plain && !readout.kind.invertRaw &&
      (x < 0 || x + width > kFullColourColumns))
    return 0;
  if (x < 0 || width < 0 || height < 0) return 0;
  StoreLease lease(*this);
  const LONG lines = height / 2;
  const LONG steps = full ? height : lines;  // full size counts rows, two a line
  const LONG d = vexcam::NextExposurePoint(height, steps, full ? 0.88 : 0.8, Geometry().FramePeriodMs, m_MeanCaptureMs);

  m_ExposureStarted = false;
  if (!m_Overlap || m_ExposureChanged) {
    StartFrame();
    m_ExposureChanged = false;
  }
  if (readout.stats) m_GreenPairs.Clear();
  WaitFrameReady();

  const LONG expectWidth = full ? width : width / 2, expectHeight = full ? height : height / 2;
  if (!picture.bits || picture.width != expectWidth || picture.height != expectHeight) return 0;
  if (!m_pLineBuffer) return 0;
  const LONG cells = width / 2;
  // The window's cells must lie inside the line buffer.
  if (4 * (x / 2 + cells) > kLineBufferBytes) return 0;

  const LONG plane[4] = {m_LaneOrder[0] & 3, m_LaneOrder[1] & 3, m_LaneOrder[2] & 3, m_LaneOrder[3] & 3};
  const LONG gain = std::clamp<LONG>(s.GainLv, 0, 2);
  const BYTE* lanes[4];
  for (int k = 0; k < 4; ++k) lanes[k] = ChannelLut[gain][plane[k]];

  bool compare = false;
  for (LONG k = 0; k < lines; ++k) {
    if (!ReadLine(m_pLineBuffer, k + 1)) return 0;
    const BYTE* window = m_pLineBuffer + 4 * (x / 2);
    vexcam::WriteLine(readout.kind, lanes, window, cells, k, picture);
    if (readout.stats) {
      if (compare) m_GreenPairs.Gather(m_SavedLine.data() + 4 * (x / 2), window, cells);
      const LONG step = full ? 2 * k : k;
      compare = full ? (m_SavedLineCounter + step) % 16 < 2 : (m_SavedLineCounter + step) % 16 == 0;
      if (compare) {
        std::memcpy(m_SavedLine.data(), m_pLineBuffer, kLineBufferBytes);
        if (!full && !(s.Mode & 0xC)) ++m_SavedLineCounter;
      }
    }
    const LONG counted = full ? 2 * k : k;
    if (m_Overlap && counted == d && !m_ExposureStarted) {
      StartFrame();
      m_ExposureStarted = true;
    }
  }
  if (readout.lateStart && m_Overlap && !m_ExposureStarted) {
    StartFrame();
    m_ExposureStarted = true;
  }
  if (readout.stats && !(s.Mode & kModeNoChroma))
    vexcam::UpdateGreenBalance(m_GreenPairs, m_Overlap, ChannelLut[gain][plane[0]], ChannelLut[gain][plane[3]]);
  return s.bAbort ? 0 : 1;
}

namespace {

constexpr DWORD kModeNoTimer = 0x400;
constexpr int kCaptureWatch = 1;  // the frame timer (0) restarts at every re-arm

}  // namespace

static LONG Dispatch(CCameraCtrl& cam, CTrueImage* image, RECT rect, bool full) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  const LONG w = rect.right - rect.left, h = rect.bottom - rect.top;
  const LONG limitW = (full ? g.FrameWidth : g.HalfWidth) + 4, limitH = (full ? g.FrameHeight : g.HalfHeight) + 4;
  if (w > limitW || h > limitH) return -2;
  if (!image || !image->m_pBits || w <= 0 || h <= 0) return 0;
  if (cam.m_Revision < 212 || s.zoom != 1.0) return 0;  // port and block readouts are not served
  const bool timed = !(s.Mode & kModeNoTimer);
  if (timed) StartStopwatch(kCaptureWatch);
  const vexcam::PictureTarget picture{image->m_pBits, image->m_nWidth, image->m_nHeight, s.Mode & 0xC};
  const LONG scale = full ? 1 : 2;
  const LONG read = cam.ReadFrameToPicture(cam.SingleFrameReadout(full), picture, rect.left * scale, w * scale,
                                           h * scale);
  if (read == 0 || s.bAbort) return 0;
  const LONG elapsed = timed ? std::max<LONG>(1, ElapsedMs(kCaptureWatch)) : 0;
  if (!cam.m_PreviewCapture) cam.DestroyProgress();
  return elapsed;
}

LONG CCameraCtrl::DispatchFull(CTrueImage* image, RECT rect) { return Dispatch(*this, image, rect, true); }

LONG CCameraCtrl::DispatchHalf(CTrueImage* image, RECT rect) { return Dispatch(*this, image, rect, false); }
