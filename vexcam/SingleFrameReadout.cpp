// The single-frame readout: one exposed frame off the board, line by line, into the
// caller's picture through the kernel family of ReadoutKernels.
#include <algorithm>
#include <cstring>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "Levels.h"
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

CCameraCtrl::FrameReadout CCameraCtrl::PortReadout() const {
  FrameReadout r;
  r.transfer = Transfer::Port;
  r.kind.invertRaw = (Settings().Mode & 0x20) != 0;
  return r;
}

CCameraCtrl::FrameReadout CCameraCtrl::BlockReadout(bool full) const {
  const bool inverted = (Settings().Mode & 0x20) != 0;
  FrameReadout r;
  r.transfer = Transfer::Block;
  r.kind.full = full;
  r.kind.blocks = full;
  r.kind.invertRaw = inverted;
  r.lateStart = !full;
  if (!inverted) {
    r.kind.rule = (full ? m_Revision >= 217 : m_Revision > 216) ? PixelRule::Chroma : PixelRule::Plain;
    r.stats = m_Revision < 217;
  }
  return r;
}

// Takes window line `line` off the data port into the line buffer: the words before the
// window dropped, the window's kept, the rest of the line dropped. Block reads first wait
// while the sensor writes the lines around it.
static const BYTE* PortLine(CCameraCtrl& cam, const CCameraCtrl::FrameReadout& readout, LONG x, LONG cells, LONG line) {
  const tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  const DWORD port = s.PCIaddress + 4;
  const LONG lead = g.PortWindowOffset, lineWords = std::clamp<LONG>(g.LineBytes / 4, 0, 1024);
  const bool halfBlock = readout.transfer == CCameraCtrl::Transfer::Block && !readout.kind.full;
  const LONG before = (halfBlock ? x : x / 2) + lead;
  if (before < 0 || cells < 0 || before + cells > lineWords || !cam.m_pLineBuffer) return nullptr;
  if (readout.transfer == CCameraCtrl::Transfer::Block && cam.m_Revision > 211) {
    const double z = s.zoom > 0 ? s.zoom : 1.0;
    const LONG budget = DeviceState().portReadsPerHalfSecond;
    for (LONG i = 0; i < budget; ++i) {
      const LONG counter = LONG(ReadStatus(s.PCIaddress, 0) >> 16);
      const LONG p = (cam.m_WindowTop + g.LineOffset) / 2, y = 2 * line;
      if (!(y + (p - 3) / z < counter && counter < y + (p + 5) / z)) break;
    }
  }
  auto* scratch = reinterpret_cast<DWORD*>(cam.m_pWork.get());
  BOOL ok = TRUE;
  if (before > 0) ok &= ReadPortBlock(port, scratch, DWORD(before));
  if (cells > 0) ok &= ReadPortBlock(port, reinterpret_cast<DWORD*>(cam.m_pLineBuffer), DWORD(cells));
  const LONG after = lineWords - before - cells;
  if (after > 0) ok &= ReadPortBlock(port, scratch, DWORD(after));
  (void)line;
  return ok ? cam.m_pLineBuffer : nullptr;
}

LONG CCameraCtrl::ReadFrameToPicture(const FrameReadout& readout, const vexcam::PictureTarget& picture, LONG x,
                                     LONG width, LONG height) {
  tCameraSettings& s = Settings();
  const bool full = readout.kind.full;
  const bool lineRead = readout.transfer == Transfer::LineRead;
  const bool halfBlock = readout.transfer == Transfer::Block && !full;
  if (lineRead && full && readout.kind.rule == PixelRule::Plain && !readout.kind.invertRaw &&
      (x < 0 || x + width > kFullColourColumns))
    return 0;
  if (x < 0 || width < 0 || height < 0) return 0;
  StoreLease lease(*this);
  // Line steps the kernel counts: half-size block kernels get cell units, the others
  // sensor units with two rows a line.
  const LONG lines = halfBlock ? height : height / 2;
  const LONG cells = halfBlock ? width : width / 2;
  const LONG steps = full ? height : lines;  // full size counts rows, two a line
  const double f = !full && !halfBlock ? 0.8 : 0.88;
  const LONG d = vexcam::NextExposurePoint(height, steps, f, Geometry().FramePeriodMs, m_MeanCaptureMs);

  m_ExposureStarted = false;
  if (!m_Overlap || m_ExposureChanged) {
    StartFrame();
    m_ExposureChanged = false;
  }
  if (readout.stats) m_GreenPairs.Clear();
  // A frame the wait did not see through is no picture: its lines are not read. A stop
  // is seen at the frame's end, as ever, and the result says so.
  if (!WaitFrameReady() && !s.bAbort) return 0;

  const LONG expectWidth = full || halfBlock ? width : width / 2, expectHeight = full || halfBlock ? height : height / 2;
  if (!picture.bits) return 0;
  if (readout.transfer != Transfer::Port && (picture.width != expectWidth || picture.height != expectHeight)) return 0;
  if (!m_pLineBuffer) return 0;
  // The window's cells must lie inside the line buffer.
  if (4 * (x / 2 + cells) > kLineBufferBytes) return 0;
  // Boards below 212 leave the line above the window to the port readout.
  if (!lineRead && m_Revision < 212) DrainLine(Geometry().LineBytes);

  const LONG plane[4] = {m_LaneOrder[0] & 3, m_LaneOrder[1] & 3, m_LaneOrder[2] & 3, m_LaneOrder[3] & 3};
  const LONG gain = std::clamp<LONG>(s.GainLv, 0, 2);
  const BYTE* lanes[4];
  for (int k = 0; k < 4; ++k) lanes[k] = ChannelLut[gain][plane[k]];

  bool compare = false;
  for (LONG k = 0; k < lines; ++k) {
    const BYTE* window;
    if (lineRead) {
      if (!ReadLine(m_pLineBuffer, k + 1)) return 0;
      window = m_pLineBuffer + 4 * (x / 2);
    } else {
      window = PortLine(*this, readout, x, cells, k);
      if (!window) return 0;
    }
    vexcam::WriteLine(readout.kind, lanes, window, cells, k, picture);
    if (readout.stats) {
      if (compare) m_GreenPairs.Gather(m_SavedLine.data(), window, cells);
      const LONG step = full ? 2 * k : k;
      compare = full ? (m_SavedLineCounter + step) % 16 < 2 : (m_SavedLineCounter + step) % 16 == 0;
      if (compare) {
        std::memcpy(m_SavedLine.data(), window, size_t(4 * cells));
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

constexpr DWORD kModeNoTimer = 0x400, kModeGrey = 0x40, kModeAutoExposure = 0x10000;
constexpr int kCaptureWatch = 1;  // the frame timer (0) restarts at every re-arm

enum class Dispatcher { Full, Half, FullZoomHalf, HalfZoomHalf };

}  // namespace

static LONG Dispatch(CCameraCtrl& cam, CTrueImage* image, RECT rect, Dispatcher which) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  const LONG w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (which != Dispatcher::HalfZoomHalf) {
    const bool frame = which == Dispatcher::Full;
    const LONG limitW = (frame ? g.FrameWidth : g.HalfWidth) + 4, limitH = (frame ? g.FrameHeight : g.HalfHeight) + 4;
    if (w > limitW || h > limitH) return -2;
  }
  if (!image || !image->m_pBits || w <= 0 || h <= 0) return 0;
  CCameraCtrl::FrameReadout readout;
  LONG scale = 1;
  switch (which) {
    case Dispatcher::Full:
      if (cam.m_Revision < 212 || s.zoom != 1.0) return 0;  // the line read serves these only
      readout = cam.SingleFrameReadout(true);
      break;
    case Dispatcher::Half:
      scale = 2;
      readout = cam.m_Revision >= 212 && s.zoom == 1.0 ? cam.SingleFrameReadout(false) : cam.PortReadout();
      break;
    case Dispatcher::FullZoomHalf:
      readout = cam.BlockReadout(true);
      break;
    case Dispatcher::HalfZoomHalf:
      readout = cam.BlockReadout(false);
      break;
  }
  const bool timed = !(s.Mode & kModeNoTimer);
  if (timed) StartStopwatch(kCaptureWatch);
  const vexcam::PictureTarget picture{image->m_pBits, image->m_nWidth, image->m_nHeight, s.Mode & 0xC};
  const LONG read = cam.ReadFrameToPicture(readout, picture, rect.left * scale, w * scale, h * scale);
  if (which == Dispatcher::Half && cam.m_Revision < 211) cam.StartFrame();
  if (read == 0 || s.bAbort) return 0;
  const LONG elapsed = timed ? std::max<LONG>(1, ElapsedMs(kCaptureWatch)) : 0;
  if (cam.ModelA() && (s.Mode & kModeAutoExposure)) {
    LONG mean = 0, peak = 0;
    cam.PictureExposureStats(image->m_pBits, image->m_nWidth, image->m_nHeight, &mean, &peak);
    cam.AdjustAutoExposure(mean, peak, 250, 254);
  }
  if (!cam.m_PreviewCapture) cam.DestroyProgress();
  if (cam.m_Revision < 212 && (s.Mode & kModeGrey) && readout.transfer == CCameraCtrl::Transfer::Port)
    ConvertToGrey(image->m_nWidth, image->m_nHeight, image->m_pBits);
  return elapsed;
}

LONG CCameraCtrl::DispatchFull(CTrueImage* image, RECT rect) { return Dispatch(*this, image, rect, Dispatcher::Full); }

LONG CCameraCtrl::DispatchHalf(CTrueImage* image, RECT rect) { return Dispatch(*this, image, rect, Dispatcher::Half); }

LONG CCameraCtrl::DispatchFullZoomHalf(CTrueImage* image, RECT rect) {
  return Dispatch(*this, image, rect, Dispatcher::FullZoomHalf);
}

LONG CCameraCtrl::DispatchHalfZoomHalf(CTrueImage* image, RECT rect) {
  return Dispatch(*this, image, rect, Dispatcher::HalfZoomHalf);
}
