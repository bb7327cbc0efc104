// White balance: the camera's self-calibration against a white or grey target. Mosaic
// detection, dark level, black levels, the four CDS gains per gain level, and on model
// 0xA the colour offsets at six exposures that the correction curves are built from and
// that the library's INI file keeps for the next start.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "CaptureFormat.h"
#include "ColourTables.h"
#include "LevelCurves.h"
#include "Levels.h"
#include "ProgressWindows.h"
#include "SettingsBlock.h"
#include "VexcamApp.h"

namespace {

constexpr DWORD kModeFlip = 0x8, kModeMirror = 0x4, kModeNoPreview = 0x800, kModeQuiet = 0x1000;
constexpr DWORD kModeRawSites = 0x20000;
constexpr DWORD kModeCleared = 0x40 | 0x20 | 0x10000 | 0x10 | 0x8 | 0x4;
constexpr LONG kStopped = -6, kNotReady = -1, kNoCells = -10;
constexpr LONG kDarkStep = 11;
constexpr LONG kExposureSearchFrames = 256;

// Where the cells of a measurement lie in the picture: the row and column parity of the
// cell that puts the site map's second colour in place, and the sampling steps.
struct SampleGrid {
  bool found = false;
  LONG rowParity = 0, columnParity = 0;
  LONG rowStep = 1, columnStep = 1;
  LONG width = 0, height = 0, excess = 0;
  LONG RowEnd() const { return height - 2 * rowStep - excess; }
  LONG ByteEnd() const { return 3 * (width - 2 * columnStep); }
  bool HasCells() const { return found && rowParity < RowEnd() && 3 * columnParity < ByteEnd(); }
};

// Whether a rectangle samples a cell whatever the site map makes of the parities.
bool SamplesCells(LONG width, LONG height, LONG excess) {
  SampleGrid grid;
  grid.found = true;
  grid.rowParity = grid.columnParity = 1;
  grid.width = width, grid.height = height, grid.excess = excess;
  grid.rowStep = height > 100 ? height / 100 + 1 : 1;
  grid.columnStep = width > 100 ? width / 100 + 1 : 1;
  return grid.HasCells();
}

SampleGrid GridOf(DWORD mode, const LONG siteMap[4], LONG width, LONG height, LONG excess) {
  LONG o[4] = {0, 1, 2, 3};
  if (mode & kModeFlip) o[0] = 2, o[1] = 3, o[2] = 0, o[3] = 1;
  if (mode & kModeMirror) {
    const LONG t[4] = {o[1], o[0], o[3], o[2]};
    std::copy(t, t + 4, o);
  }
  if (mode & kModeRotate) {
    const LONG t[4] = {o[1], o[3], o[0], o[2]};
    std::copy(t, t + 4, o);
  }
  SampleGrid grid;
  static constexpr LONG kRowParity[4] = {1, 0, 1, 0}, kColumnParity[4] = {0, 0, 1, 1};
  for (int q = 0; q < 4; ++q)
    if (o[q] == siteMap[1]) {
      grid.found = true;
      grid.rowParity = kRowParity[q];
      grid.columnParity = kColumnParity[q];
      break;
    }
  grid.width = width, grid.height = height, grid.excess = excess;
  grid.rowStep = height > 100 ? height / 100 + 1 : 1;
  grid.columnStep = width > 100 ? width / 100 + 1 : 1;
  return grid;
}

double Sum(const double m[4]) { return m[0] + m[1] + m[2] + m[3]; }
double Largest(const double m[4]) { return *std::max_element(m, m + 4); }
double Smallest(const double m[4]) { return *std::min_element(m, m + 4); }

// The preview of a step: the resource library's white-balance window sized to the picture,
// open for the step whatever its result.
class Preview {
 public:
  Preview(CCameraCtrl& camera, const RECT& rect) : m_Camera(camera) {
    if (Settings().Mode & kModeNoPreview) return;
    m_Window = std::make_unique<CWhiteBalanceWnd>(nullptr);
    HWND hwnd = m_Window->GetSafeHwnd();
    if (!hwnd) return;
    m_Camera.m_WhiteBalanceOpen = true;
    const LONG w = rect.right - rect.left, h = rect.bottom - rect.top;
    SetWindowPos(hwnd, nullptr, 0, 0, w, h + 25, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    if (HDC dc = GetDC(hwnd)) m_Dc.Attach(dc);
  }
  ~Preview() {
    if (m_Dc.m_hDC) ReleaseDC(m_Window->GetSafeHwnd(), m_Dc.Detach());
    m_Window.reset();
    m_Camera.m_WhiteBalanceOpen = false;
  }
  Preview(const Preview&) = delete;
  Preview& operator=(const Preview&) = delete;
  CDC* Dc() { return m_Dc.m_hDC && m_Camera.m_WhiteBalanceOpen ? &m_Dc : nullptr; }

 private:
  CCameraCtrl& m_Camera;
  std::unique_ptr<CWhiteBalanceWnd> m_Window;
  CDC m_Dc;
};

// What a step measures with: a picture of its own, formatted for the rectangle and gone
// with the step, and the preview window unless the step shows none. Every call measures
// `times` frames; the means are the last frame's, or the average of all with Average.
class StepMeasure {
 public:
  StepMeasure(CCameraCtrl& camera, RECT rect, bool preview)
      : m_Camera(camera), m_Rect(rect), m_Preview(preview ? std::make_unique<Preview>(camera, rect) : nullptr) {}
  bool operator()(double m[4], int times = 1) {
    for (int i = 0; i < times; ++i)
      if (!m_Camera.MeasureChannels(&m_Image, m_Rect, m, m_Preview ? m_Preview->Dc() : nullptr)) return false;
    return true;
  }
  bool Average(double m[4], int times) {
    double total[4] = {};
    for (int k = 0; k < times; ++k) {
      if (!(*this)(m)) return false;
      for (int i = 0; i < 4; ++i) total[i] += m[i];
    }
    for (int i = 0; i < 4; ++i) m[i] = total[i] / times;
    return true;
  }
  const CTrueImage& Picture() const { return m_Image; }

 private:
  CCameraCtrl& m_Camera;
  RECT m_Rect;
  std::unique_ptr<Preview> m_Preview;
  CTrueImage m_Image;
};

// Keeps what the worker changes in the block and the library and puts it back on every way
// out; a failure also gives back the gains and, once kept, the level tables.
struct KeptState {
  LONG gains[3][4];
  double zoom;
  DWORD mode;
  LONG expMode, expParam, gainLv, optionB;
  BYTE tables[3][4][256];
  bool tablesKept = false;
};

void WriteColourTables(const char* path) {
  const LevelColourTables& t = ColourTables();
  char key[32], value[32];
  for (int g = 0; g < 3; ++g) {
    for (int c = 0; c < 4; ++c)
      for (int s = 0; s < 6; ++s) {
        std::snprintf(key, sizeof key, "gain%dcol%dss%d", g, c, s);
        std::snprintf(value, sizeof value, "%ld", long(std::trunc(t.ColorOffsetTable[g][c][s] * 1000)));
        WritePrivateProfileStringA("Color Management", key, value, path);
      }
    for (int s = 0; s < 6; ++s) {
      std::snprintf(key, sizeof key, "gain%dexp%d", g, s);
      std::snprintf(value, sizeof value, "%ld", long(t.StepExposureTable[g][s]));
      WritePrivateProfileStringA("Gamma Correction", key, value, path);
    }
  }
}

}  // namespace

// ---- correction curves

void CCameraCtrl::BuildLevelCurves(LONG level) {
  if (level < 0 || level > 2) return;
  const CameraGeometry& g = Geometry();
  // A colour's table is the level table of the plane its measurement site reads.
  LONG tables[4];
  for (int c = 0; c < 4; ++c) tables[c] = m_LaneOrder[g.SiteMap[c] & 3] & 3;
  vexcam::BuildLevelTables(ColourTables().ColorOffsetTable[level], g.SiteMap, tables, ChannelLut[level]);
  if (Settings().GammaMode) ApplyGammaCurve(level);
}

void CCameraCtrl::ApplyGammaCurve(LONG level) {
  if (level < 0 || level > 2) return;
  const LevelColourTables& t = ColourTables();
  vexcam::BendLevelTables(t.ColorOffsetTable[level], t.StepExposureTable[level], Geometry().SiteMap[0],
                          Settings().GammaMode, ChannelLut[level]);
}

// ---- measurement

LONG CCameraCtrl::MeasureChannels(CTrueImage* image, RECT rect, double means[4], CDC* preview) {
  tCameraSettings& s = Settings();
  if (!image) return 0;
  // The window is set for the transfer mode of the measurement.
  s.TranMode = 2;
  if (s.bISA) RearmExposure();
  if (!EqualRect(&rect, &m_LastRect) || !image->m_pBits) {
    if (SetupCapture(image, rect, true) == kRectTooLarge || !image->m_pBits) return 0;
  }
  const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
  const SampleGrid grid = GridOf(s.Mode, Geometry().SiteMap, width, height, m_WBRowExcess);
  if (!grid.found) return 0;

  image->m_nReserved = ModelA() ? 0 : 2;
  m_Overlap = false;  // each measurement is exposed with the gains just set
  CaptureImage(image, rect);
  if (preview) image->Draw(0, 25, image->m_nWidth, image->m_nHeight, preview, 0, 0, 1.0);
  if (!PumpWhiteBalance()) return 0;

  // The picture must be the one the grid was laid over.
  const LONG stride = RowStride(width, 3);
  if (!grid.HasCells() || image->m_nWidth != width || image->m_nHeight != height || !image->m_pBits) return 0;
  const bool rotate = s.Mode & kModeRotate;
  double sum[4] = {};
  LONG cells = 0;
  for (LONG r = grid.rowParity; r < grid.RowEnd(); r += 2 * grid.rowStep) {
    const BYTE* row = image->m_pBits + size_t(r) * stride;
    const BYTE* next = row + stride;
    for (LONG x = 3 * grid.columnParity; x < grid.ByteEnd(); x += 6 * grid.columnStep) {
      sum[0] += rotate ? row[x + 4] : next[x + 1];
      sum[1] += row[x];
      sum[2] += next[x + 5];
      sum[3] += rotate ? next[x + 1] : row[x + 4];
      ++cells;
    }
  }
  if (cells == 0) return 0;
  for (int i = 0; i < 4; ++i) means[i] = sum[i] / cells;
  return 1;
}

// ---- the steps

LONG CCameraCtrl::DetectMosaic(CTrueImage*, RECT rect) {
  if (!CheckCameraPower()) return kNotReady;
  tCameraSettings& s = Settings();
  CameraGeometry& g = Geometry();
  StepMeasure measure(*this, rect, false);
  double m[4] = {};
  LONG keptMosaic[4], keptSites[4];
  std::copy(s.Mosaic, s.Mosaic + 4, keptMosaic);
  std::copy(g.SiteMap, g.SiteMap + 4, keptSites);
  // Every way out but success leaves the sites as they were.
  auto fail = [&](LONG result) {
    std::copy(keptMosaic, keptMosaic + 4, s.Mosaic);
    std::copy(keptSites, keptSites + 4, g.SiteMap);
    return result;
  };
  LONG n = 0;
  for (int i = 0; i < 4; ++i) g.SiteMap[i] = i;
  SetShutterStep(0);

  const LONG full[4] = {215, 215, 215, 215};
  SetCDSGain(full);
  if (!measure(m, 2)) return fail(kStopped);
  const double threshold = Sum(m) * 0.2375;

  LONG* seed = s.WBGain[s.GainLv];
  for (int i = 0; i < 4; ++i)
    seed[i] = 30 * s.GainLv + 30 - (s.GainLv == 2 ? 10 : 0) + (i == g.GainChannel[1] ? 40 : 0) +
              (i == g.GainChannel[2] ? 20 : 0);
  SetCDSGain(seed);
  if (!measure(m, 2)) return fail(kStopped);

  while (Sum(m) < 256) {
    if (--n < 0) {
      if (Sum(m) >= 128) break;
      SetShutterStep(s.ExpMode);
      return fail(-4);
    }
    SetShutterStep(n);
    if (!measure(m, 2)) return fail(kStopped);
  }
  while (Largest(m) > threshold) {
    if (++n > 7) {
      SetShutterStep(s.ExpMode);
      return fail(-3);
    }
    SetShutterStep(n);
    if (!measure(m, 2)) return fail(kStopped);
  }

  const LONG zero[4] = {};
  SetCDSGain(zero);
  if (!measure(m, 2)) return fail(kStopped);
  double base[4];
  std::copy(m, m + 4, base);

  LONG found[4] = {};
  auto permutation = [&] {
    bool seen[4] = {};
    for (LONG f : found) {
      if (f < 0 || f > 3 || seen[f]) return false;
      seen[f] = true;
    }
    return true;
  };
  for (int iteration = 0; !permutation() && iteration < 30; ++iteration) {
    for (int j = 0; j < 4; ++j) {
      LONG gains[4] = {};
      gains[g.GainChannel[j] & 3] = 107;
      SetCDSGain(gains);
      if (!measure(m, 2)) return fail(kStopped);
      double rise = 0;
      for (int k = 0; k < 4; ++k) {
        if (m[k] == 255.0) {
          found[j] = k;
          break;
        }
        if (m[k] - base[k] > rise) rise = m[k] - base[k], found[j] = k;
      }
    }
  }
  if (permutation()) {
    std::copy(found, found + 4, s.Mosaic);
    SetCDSGain(s.WBGain[s.GainLv]);
    return 0;
  }
  SetCDSGain(s.WBGain[s.GainLv]);
  SetShutterStep(s.ExpMode);
  measure(m, 2);
  return fail(-2);
}

LONG CCameraCtrl::MeasureDarkLevel(CTrueImage*, RECT rect) {
  if (!CheckCameraPower()) return kNotReady;
  StepMeasure measure(*this, rect, true);
  if (!ModelA()) return 0;
  double m[4] = {};
  SetShutterStep(kDarkStep);
  const LONG black[4] = {};
  SetBlackLevel(black);
  if (measure(m, 2)) {
    double e = Largest(m);
    for (int extra = 0; e > 16 && extra < 16; ++extra) {
      if (!measure(m)) break;
      e = Largest(m);
    }
    m_DarkLevel = LONG(std::min(e + 0.5, 16.0));
  }
  const LONG mid[4] = {128, 128, 128, 128};
  SetBlackLevel(mid);
  return 0;
}

LONG CCameraCtrl::BalanceGains(CTrueImage*, RECT rect, double tolerance, LONG level) {
  tCameraSettings& s = Settings();
  const CameraGeometry& geo = Geometry();
  const bool modelA = ModelA();
  LONG step[4] = {16, 16, 16, 16};
  LONG n = modelA ? ExposureIndex(s.ExpParam, s.ExpMode) : 0;
  if (!CheckCameraPower()) return kNotReady;
  StepMeasure measure(*this, rect, true);
  double m[4] = {};
  auto sendExposure = [&] {
    if (modelA)
      SetExposure(s.ExpParam, s.ExpMode);
    else
      SetShutterStep(s.ExpMode);
  };
  const bool older = m_Revision < 211;
  LONG gains[4];
  std::copy(s.WBGain[level], s.WBGain[level] + 4, gains);

  if (modelA) {
    SetCDSGain(gains);
    if (s.ExpMode == 1 && !measure(m, 2)) return kStopped;
    if (!measure(m, older ? 2 : 1)) return kStopped;
    if (LONG(std::min(m[0], m[3])) < 250 && s.ExpMode == 2 && s.ExpParam == 12) return -4;
    // The band is the one of the exposure mode the picture was taken in: a search that went
    // on to long exposure is judged by the long band, which its whole-frame steps can meet
    // (the short band would keep it swinging between two steps).
    LONG low = 0, high = 0;
    auto band = [&] {
      low = 246, high = 254;
      if (s.ExpMode == 2)
        low = 180, high = 253;
      else if (s.ExposureLong)
        low = 238;
    };
    band();
    // A camera whose exposure does not follow (a mode the correction leaves alone) ends
    // the search after a bounded number of frames.
    for (LONG v = 0, frames = 0; (v < low || v > high) && frames < kExposureSearchFrames; ++frames) {
      band();
      LONG mean = 0;
      const CTrueImage& picture = measure.Picture();
      vexcam::PictureExposureStats(picture.m_pBits, picture.m_nWidth, picture.m_nHeight, s.Mode, s.AutoExpThresh,
                                   &mean, &v);
      AdjustAutoExposure(mean, v, 247, 253);
      if (!measure(m)) return kStopped;
      if (s.ExpMode == 1 && s.ExpParam < 8) return 1;
      if (s.ExpMode != 1 && s.ExpParam >= 12) break;
    }
    if (level == 0 && s.ExpMode == 1 && s.ExpParam < 62) return 1;
  } else {
    SetShutterStep(n);
    const LONG full[4] = {215, 215, 215, 215};
    SetCDSGain(full);
    if (!measure(m, older ? 3 : 2)) return kStopped;
    const double threshold = std::trunc(std::min(m[0], m[3]) * 0.96);
    SetCDSGain(gains);
    if (!measure(m, older ? 2 : 1)) return kStopped;
    const int settle = m_Revision <= 210 ? 4 : 3;
    while (Sum(m) < 256) {
      if (--n < 0) {
        SetShutterStep(s.ExpMode);
        return 2;
      }
      SetShutterStep(n);
      if (!measure(m, settle)) return kStopped;
    }
    while (Largest(m) > threshold) {
      if (++n > 7) {
        SetShutterStep(s.ExpMode);
        return 1;
      }
      SetShutterStep(n);
      if (!measure(m, settle)) return kStopped;
    }
  }

  const int ref = m[0] > m[3] ? 0 : 3;
  double high = 2.0, low = 0.0;
  int iterations = 0, fine = 0;
  while ((std::fabs(high - m[ref]) > tolerance || std::fabs(low - m[ref]) > tolerance) && iterations < 12 && fine < 8) {
    SetCDSGain(gains);
    if (!(s.ExpMode == 1 && s.ExpParam < 500 ? measure.Average(m, 3) : measure(m))) return kStopped;
    if (older && !measure(m)) return kStopped;

    high = 0, low = 255;
    const double reference = m[ref];
    bool settled = true;
    for (int p = 0; p < 4; ++p) {
      if (p == ref) continue;
      const int k = geo.GainChannel[m_LaneOrder[p] & 3] & 3;
      LONG sk = step[k];
      const double mp = m[p];
      if ((mp > reference && sk > 0) || (mp < reference && sk < 0)) {
        if (std::fabs(mp - reference) > tolerance)
          sk = std::abs(sk) < 2 ? -sk : sk / -2;
        else
          sk = 0;
      } else {
        const LONG d = LONG(reference - mp), h = d / 2;
        sk = sk <= 0 ? std::max(h, sk) : std::min(h, sk);
        // A single-count step is a fine step; a channel already level takes none, so it
        // does not use up the other channels' fine steps.
        if (sk == 0 && d != 0) sk = d, ++fine;
      }
      step[k] = sk;
      gains[k] = std::clamp<LONG>(gains[k] + sk, 0, 255);
      high = std::max(high, mp), low = std::min(low, mp);
      if (!(sk == 0 || (gains[k] == 0 && sk < 0) || (gains[k] == 255 && sk > 0))) settled = false;
    }
    if (!CheckCameraPower() || settled) break;
    ++iterations;
  }
  if (iterations > 10 && !(s.Mode & kModeQuiet)) Beep(0, 0);
  for (int i = 0; i < 4; ++i) s.WBGain[level][i] = std::clamp<LONG>(gains[i], 0, 215);
  sendExposure();
  return 0;
}

LONG CCameraCtrl::CalibrateBlackLevel(CTrueImage*, RECT rect, LONG level) {
  tCameraSettings& s = Settings();
  const CameraGeometry& geo = Geometry();
  if (!CheckCameraPower()) return kNotReady;
  StepMeasure measure(*this, rect, true);
  double m[4] = {};
  SetShutterStep(kDarkStep);
  const double target = m_DarkLevel + 2.5;
  LONG v[4], step[4];
  for (int i = 0; i < 4; ++i) {
    v[i] = s.Black_Level[i];
    const LONG d = (128 - v[i]) / 2;
    step[i] = v[i] > 128 ? std::clamp<LONG>(d, -8, -2) : std::clamp<LONG>(d, 2, 8);
  }
  for (int k = 0; k < 3; ++k)
    if (!measure(m)) return kStopped;
  // The last miss on each side per position: once both sides were missed, a smaller miss
  // than the other side's ends that position's search.
  double missAbove[4] = {-1, -1, -1, -1}, missBelow[4] = {-1, -1, -1, -1};
  for (int iteration = 0;
       (std::fabs(Largest(m) - target) > 1.5 || std::fabs(Smallest(m) - target) > 1.5) && iteration < 24;
       ++iteration) {
    SetBlackLevel(v);
    if (!measure(m)) return kStopped;
    if (m_Revision < 211 && !measure(m)) return kStopped;
    bool settled = true;
    for (int p = 0; p < 4; ++p) {
      const int k = geo.BlackChannel[m_LaneOrder[p] & 3] & 3;
      LONG& sk = step[k];
      if (m[p] > target && sk > 0) {
        const double miss = m[p] - target;
        sk = miss <= 1.5 ? 0 : sk / 2 > 0 ? sk / -2 : -1;
        if (missBelow[p] >= 0 && miss < missBelow[p]) sk = 0;
        missAbove[p] = miss;
      } else if (m[p] < target && sk < 0) {
        const double miss = target - m[p];
        sk = miss <= 1.5 ? 0 : sk / 2 < 0 ? sk / -2 : 1;
        if (missAbove[p] >= 0 && miss < missAbove[p]) sk = 0;
        missBelow[p] = miss;
      }
      v[k] = std::clamp<LONG>(v[k] + sk, 0, 255);
      if (!(sk == 0 || (v[k] == 0 && sk < 0) || (v[k] == 255 && sk > 0))) settled = false;
    }
    if (settled) break;
  }
  for (LONG& value : v) value = std::min<LONG>(value < 100 ? 96 : value - 4, 255);
  SetBlackLevel(v);
  if (!measure(m)) return kStopped;
  for (int i = 0; i < 4; ++i) s.Black_Level[i] = s.BB_Lev[level][i] = v[i];
  return 0;
}

LONG CCameraCtrl::MeasureColorSteps(CTrueImage*, RECT rect, LONG level) {
  tCameraSettings& s = Settings();
  const CameraGeometry& geo = Geometry();
  if (!CheckCameraPower()) return kNotReady;
  StepMeasure measure(*this, rect, true);
  if (!ModelA()) return 0;
  double m[4] = {};
  const LONG keptMode = s.ExpMode, keptParam = s.ExpParam;
  s.GainLv = level;
  SetCDSGain(s.WBGain[level]);
  LevelColourTables& tables = ColourTables();
  // A long unit is one frame: twice the line counter's lines.
  const LONG unit = 2 * std::max<LONG>(1, geo.LinesPerFrame);
  LONG w = s.ExpMode == 2 ? s.ExpParam * unit : s.ExpParam;
  bool previousLongOne = false;
  for (int step = 0; step < 6; ++step) {
    LONG e;
    if (w > unit - 1) {
      s.ExpMode = 2, s.ExpParam = w / unit, e = s.ExpParam * unit;
    } else {
      s.ExpMode = 1, s.ExpParam = w % unit, e = s.ExpParam;
    }
    tables.StepExposureTable[level][step] = e;
    SetExposure(s.ExpParam, s.ExpMode);
    const bool longOne = s.ExpMode == 2 && s.ExpParam == 1;
    // The first frames after an exposure change are passed over; a frame after a long
    // frame of one unit settles later still.
    const bool shortOne = s.ExpMode == 1 && s.ExpParam < 100;
    const int discard = shortOne ? 1 : 2 + (longOne || previousLongOne ? 2 : 0);
    if (!measure(m, discard) || !measure.Average(m, shortOne ? 3 : 2)) return kStopped;
    previousLongOne = longOne;
    const LONG ref = geo.SiteMap[0] & 3;
    tables.ColorOffsetTable[level][ref][step] = m[ref];
    for (int c : {2, 1, 3}) {
      const LONG p = geo.SiteMap[c] & 3;
      tables.ColorOffsetTable[level][p][step] = m[ref] - m[p];
    }
    w = step < 5 ? w / 2 : 0;
  }
  BuildLevelCurves(level);
  s.ExpMode = keptMode, s.ExpParam = keptParam;
  return 0;
}

// ---- the worker

LONG CCameraCtrl::WhiteBalance(CTrueImage*, RECT rect, LONG passes) {
  tCameraSettings& s = Settings();
  CameraGeometry& g = Geometry();
  const bool modelA = ModelA();

  // The rectangle, pulled in below the rows the sensor can deliver, must sample at least
  // one cell and lie inside the frame; otherwise nothing is touched.
  const LONG limit = ((1024 - g.LineOffset) / 4) * 4;
  RECT measured = rect;
  measured.top = std::min(rect.top, limit);
  const LONG excess = rect.top - measured.top;
  const DWORD runMode = (s.Mode & ~kModeCleared) | kModeRawSites;
  const SIZE frame = ModelFrameSize(s.CameraVer);
  if (measured.left < 0 || measured.top < 0 || measured.right > frame.cx || measured.bottom > frame.cy)
    return kNoCells;
  if (!SamplesCells(measured.right - measured.left, measured.bottom - measured.top, excess)) return kNoCells;

  m_WBRowExcess = excess;
  m_ShiftFactor = 1;
  passes = std::clamp<LONG>(passes, 1, 3);

  KeptState kept{};
  std::memcpy(kept.gains, s.WBGain, sizeof kept.gains);
  kept.zoom = s.zoom > 0 ? s.zoom : 1.0;  // NaN and non-positive zooms come back as 1.0
  kept.mode = s.Mode;
  kept.expMode = s.ExpMode, kept.expParam = s.ExpParam, kept.gainLv = s.GainLv;
  kept.optionB = m_CaptureOptionB;
  s.zoom = 1.0;
  s.Mode = runMode;
  m_CaptureOptionB = 0;

  auto sendExposure = [&] {
    if (modelA)
      SetExposure(s.ExpParam, std::max<LONG>(1, s.ExpMode));
    else
      SetShutterStep(s.ExpMode);
  };
  auto restore = [&] {
    s.Mode = kept.mode;
    s.zoom = kept.zoom;
    s.ExpMode = kept.expMode, s.ExpParam = kept.expParam, s.GainLv = kept.gainLv;
    m_CaptureOptionB = kept.optionB;
  };
  auto fail = [&](LONG result) {
    std::memcpy(s.WBGain, kept.gains, sizeof kept.gains);
    if (kept.tablesKept) std::memcpy(ChannelLut, kept.tables, sizeof kept.tables);
    restore();
    SetCDSGain(s.WBGain[s.GainLv]);
    sendExposure();
    return result;
  };

  LONG mosaic = 0;
  if (modelA) {
    std::copy(g.SiteMap, g.SiteMap + 4, s.Mosaic);
  } else {
    mosaic = DetectMosaic(nullptr, measured);
    if (mosaic == 0) std::copy(s.Mosaic, s.Mosaic + 4, g.SiteMap);
  }

  s.ExpMode = 1;
  MeasureDarkLevel(nullptr, measured);
  s.ExpMode = kept.expMode;
  SetExposure(s.ExpParam, std::max<LONG>(1, s.ExpMode));

  if (s.Camera_Status != 0) return fail(kNotReady);
  if (mosaic != 0) return fail(mosaic);

  std::memcpy(s.WBGain, kept.gains, sizeof kept.gains);
  std::memcpy(kept.tables, ChannelLut, sizeof kept.tables);
  kept.tablesKept = true;
  for (auto& level : ChannelLut)
    for (auto& table : level)
      for (int i = 0; i < 256; ++i) table[i] = BYTE(i);
  s.Progress[0] = 0;

  for (LONG j = 0; j < passes; ++j) {
    s.GainLv = j;
    for (LONG& gain : s.WBGain[j]) gain = s.WBSeed[j];
    LONG r;
    if (!modelA) {
      r = BalanceGains(nullptr, measured, 1.0, j);
    } else {
      if (s.CameraVer & 4) {
        r = BalanceGains(nullptr, measured, 2.0, j);
        ++s.Progress[0];
        if (r != 0) return fail(r);
        const LONG expMode = s.ExpMode;
        s.ExpMode = 1;
        r = CalibrateBlackLevel(nullptr, measured, j);
        s.ExpMode = expMode;
        sendExposure();
        ++s.Progress[0];
        if (r != 0) return fail(r);
      }
      r = BalanceGains(nullptr, measured, 1.0, j);
      ++s.Progress[0];
    }
    if (r != 0) return fail(r);
    MeasureColorSteps(nullptr, measured, j);
    s.ExpParam /= 2;
  }

  const CVexcamApp* app = GetVexcamApp();
  if (app && app->m_szIniPath[0]) WriteColourTables(app->m_szIniPath);
  restore();
  sendExposure();
  return 0;
}
