// The model table: the geometry and frame timing of the configured camera, the colour
// tables of model 0xA, and the stores a capture reads into.
#include <algorithm>
#include <cstdio>
#include <new>

#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "ColourTables.h"
#include "SettingsBlock.h"
#include "VexcamApp.h"

namespace {

constexpr LONG kPlaneRows = 3860;
constexpr LONG kPlaneRowBytes = 4096;
constexpr LONG kCompactRows = 64, kCompactRowBytes = 1024;

struct ModelEntry {
  LONG model, lineBytes, lineCount, portWindowOffset;
};
constexpr ModelEntry kModels[] = {{5, 1288, 244, 110}, {8, 2056, 388, 0}, {0xA, 2584, 516, 2}};

template <class T>
std::unique_ptr<T[]> TryAllocate(size_t count) {
  try {
    return std::make_unique_for_overwrite<T[]>(count);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

LevelColourTables& ColourTables() {
  static LevelColourTables tables = [] {
    LevelColourTables t{};
    for (auto& level : t.ColorOffsetTable)
      for (auto& colour : level)
        for (double& v : colour) v = -1.0;
    return t;
  }();
  return tables;
}

int LoadColourTables(const char* iniPath, int reference) {
  LevelColourTables& t = ColourTables();
  int measured = 0;
  for (int g = 0; g < 3; ++g) {
    char key[32];
    for (int col = 0; col < 4; ++col)
      for (int ss = 0; ss < 6; ++ss) {
        std::snprintf(key, sizeof key, "gain%dcol%dss%d", g, col, ss);
        t.ColorOffsetTable[g][col][ss] = LONG(GetPrivateProfileIntA("Color Management", key, -1000, iniPath)) * 0.001;
      }
    for (int exp = 0; exp < 6; ++exp) {
      std::snprintf(key, sizeof key, "gain%dexp%d", g, exp);
      t.StepExposureTable[g][exp] = LONG(GetPrivateProfileIntA("Gamma Correction", key, 0, iniPath));
    }
    if (t.ColorOffsetTable[g][0][0] <= -1.0) continue;
    // A measured level: the reference colour's levels index the 256-entry tables, the
    // others are offsets between two levels.
    measured |= 1 << g;
    for (int col = 0; col < 4; ++col)
      for (double& v : t.ColorOffsetTable[g][col]) v = std::clamp(v, col == reference ? 0.0 : -255.0, 255.0);
  }
  return measured;
}

BOOL CCameraCtrl::ConfigureModel() {
  tCameraSettings& s = Settings();
  CameraGeometry& g = Geometry();
  const LONG model = CameraModel(s.CameraVer), variant = (s.CameraVer >> 12) & 0xF;
  const ModelEntry* entry = nullptr;
  for (const ModelEntry& m : kModels)
    if (m.model == model) entry = &m;
  if (!entry) {
    m_GeometryValid = false;  // the geometry stays as it was, but no capture may use it
    return FALSE;
  }

  const LONG oldOffset = g.LineOffset;
  LONG offset = model == 5 ? (m_Revision == 225 ? 20 : 6) : model == 8 ? 17 : 9;
  LONG linesPerFrame = g.LinesPerFrame, clocksPerLine = g.ClocksPerLine;
  LONG framePeriodMs = g.FramePeriodMs, settleLine = g.SettleLine;
  if (model == 0xA) {
    if (m_Revision >= 211) {
      offset = variant == 0 ? 6 : 26;
      linesPerFrame = variant == 0 ? 522 : 534;
      clocksPerLine = variant == 0 ? 1616 : 1790;
    }
    // The frame period from the clock count the power check measured; a zero figure
    // would make every frame wait meaningless.
    const LONG k = s.FrameClockCount;
    if (k <= 0 || linesPerFrame <= 0 || clocksPerLine <= 0) {
      m_GeometryValid = false;
      return FALSE;
    }
    const double x = 4.0 * linesPerFrame * clocksPerLine / k;
    const double c = m_Revision >= 217 ? 1.0 : 3.6;
    framePeriodMs = LONG(x);
    settleLine = LONG((x - c) * k / (4.0 * clocksPerLine));
    if (framePeriodMs <= 0) {
      m_GeometryValid = false;
      return FALSE;
    }
  }

  g.SubType = CameraSubType(s.CameraVer);
  g.LineBytes = entry->lineBytes;
  g.LineCount = entry->lineCount;
  g.LineOffset = offset;
  g.PortWindowOffset = entry->portWindowOffset;
  g.LinesPerFrame = linesPerFrame;
  g.ClocksPerLine = clocksPerLine;
  g.FramePeriodMs = framePeriodMs;
  g.SettleLine = settleLine;
  if (offset != oldOffset) m_LastRect = {};

  static constexpr LONG kIdentity[4] = {0, 1, 2, 3}, kSwapped[4] = {2, 3, 0, 1}, kModel8[4] = {3, 1, 2, 0};
  const LONG* siteMap = model == 5 && m_Revision != 225 ? kSwapped : kIdentity;
  std::copy(siteMap, siteMap + 4, g.SiteMap);
  const LONG* gainChannel = model == 8 ? kModel8 : kIdentity;
  std::copy(gainChannel, gainChannel + 4, g.GainChannel);
  std::copy(kIdentity, kIdentity + 4, g.BlackChannel);
  // The plane (and so the level table) of each byte of a cell word.
  static constexpr LONG kPlanesA[4] = {2, 3, 0, 1}, kPlanes5[4] = {3, 1, 2, 0};
  const LONG* planes = model == 0xA ? kPlanesA : model == 5 ? kPlanes5 : kIdentity;
  std::copy(planes, planes + 4, m_LaneOrder);

  if (model == 0xA) {
    const CVexcamApp* app = GetVexcamApp();
    if (app && app->m_szIniPath[0]) {
      int measured = LoadColourTables(app->m_szIniPath, g.SiteMap[0]);
      for (LONG level = 0; level < 3; ++level)
        if (measured & (1 << level)) BuildLevelCurves(level);
    }
  }

  const SIZE frame = ModelFrameSize(s.CameraVer);
  g.FrameWidth = frame.cx, g.FrameHeight = frame.cy;
  g.Width2 = 2 * frame.cx, g.Height2 = 2 * frame.cy;
  g.Width3 = 3 * frame.cx, g.Height3 = 3 * frame.cy;
  g.MaxWidth = g.SubType == 6 ? g.Width3 : g.Width2;
  g.MaxHeight = g.SubType == 6 ? g.Height3 : g.Height2;
  g.HalfWidth = frame.cx / 2, g.HalfHeight = frame.cy / 2;
  m_GeometryValid = true;

  if (model == 0xA) {
    SendAddrCmmndPCI(17, BYTE(s.AdTop));
  } else {
    s.AdTop = 135;
    SendAddrCmmnd(24, BYTE(s.AdTop));
  }
  return TRUE;
}

BOOL CCameraCtrl::AllocLineStore() {
  const tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  if (m_StoreUsers > 0) {
    m_StoreFreePending = false;  // a readout still works on the store it has
    return TRUE;
  }
  FreePlaneStore();

  const LONG grid = std::clamp<LONG>(g.SubType, 1, 6), positions = grid * grid;
  const bool compact = s.CameraVer > 1379 && (s.CameraVer & 3) != 1;
  const size_t fieldBytes = size_t(g.LineBytes) * size_t(g.LineCount);
  const size_t bytes = compact ? fieldBytes + size_t(positions - 1) * kCompactRows * kCompactRowBytes
                               : fieldBytes * size_t(positions);
  const size_t planeBytes = size_t(std::min<LONG>(g.MaxWidth + 16, kPlaneRows)) * kPlaneRowBytes;
  m_LineBlock = TryAllocate<BYTE>(bytes);
  m_PlaneBlock = TryAllocate<BYTE>(4 * planeBytes);
  if (!m_LineBlock || !m_PlaneBlock) {
    FreePlaneStore();
    return FALSE;
  }
  m_LineBlockBytes = bytes;

  try {
    BYTE* next = m_LineBlock.get();
    for (LONG p = 0; p < positions; ++p) {
      const bool small = compact && p > 0;
      const LONG rows = small ? kCompactRows : g.LineCount;
      const LONG rowBytes = small ? kCompactRowBytes : g.LineBytes;
      m_LineRows[p].resize(size_t(rows));
      for (LONG r = 0; r < rows; ++r, next += rowBytes) m_LineRows[p][size_t(r)] = next;
    }
    m_LineRowsSpare = m_LineRows[0];
    const LONG planeRows = LONG(planeBytes / kPlaneRowBytes);
    for (int plane = 0; plane < 4; ++plane) {
      m_Planes[plane].resize(size_t(planeRows));
      for (LONG r = 0; r < planeRows; ++r)
        m_Planes[plane][size_t(r)] = m_PlaneBlock.get() + plane * planeBytes + size_t(r) * kPlaneRowBytes;
    }
  } catch (const std::bad_alloc&) {
    FreePlaneStore();
    return FALSE;
  }
  return TRUE;
}

BOOL CCameraCtrl::AllocSampleRows() {
  m_ChangeResult = m_ChangePrevious = m_StillCount = 0;
  try {
    m_SampleRows.assign(25, std::vector<BYTE>(size_t(2 * Geometry().FrameWidth + 4), 0));
  } catch (const std::bad_alloc&) {
    m_SampleRows.clear();
    return FALSE;
  }
  return TRUE;
}

void CCameraCtrl::FreePlaneStore() {
  if (m_StoreUsers > 0) {
    m_StoreFreePending = true;
    return;
  }
  m_StoreFreePending = false;
  for (auto& plane : m_Planes) plane.clear();
  for (auto& memory : m_PlaneMemory) std::vector<BYTE>().swap(memory);
  m_PlaneRowBytes = 0;
  for (auto& rows : m_LineRows) rows.clear();
  m_LineRowsSpare.clear();
  m_LineBlock.reset();
  m_LineBlockBytes = 0;
  m_PlaneBlock.reset();
  m_RawLines.clear();
}

CCameraCtrl::StoreLease::StoreLease(CCameraCtrl& camera) : m_Camera(camera) { ++m_Camera.m_StoreUsers; }

CCameraCtrl::StoreLease::~StoreLease() {
  if (--m_Camera.m_StoreUsers == 0 && m_Camera.m_StoreFreePending) m_Camera.FreePlaneStore();
}
