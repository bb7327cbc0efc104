// CVexDoc: the checked setters of the camera block and the exposure tables.
#include <algorithm>
#include <cstring>

#include "VexDoc.h"

namespace {

struct ExposureRow {
  BYTE unit;  // 1: clock steps; 0: twelfths of a second
  LONG param;
};
constexpr int kExposureSteps = 33;
constexpr ExposureRow kNewExposure[kExposureSteps] = {
    {1, 1},   {1, 2},   {1, 3},   {1, 4},   {1, 5},   {1, 6},   {1, 8},    {1, 11},  {1, 13},  {1, 17},  {1, 21},
    {1, 26},  {1, 32},  {1, 43},  {1, 51},  {1, 64},  {1, 85},  {1, 107},  {1, 128}, {1, 171}, {1, 214}, {1, 256},
    {1, 314}, {1, 427}, {1, 513}, {1, 641}, {1, 854}, {1, 1068}, {0, 2},   {0, 3},   {0, 4},   {0, 6},   {0, 12}};
constexpr ExposureRow kOldExposure[kExposureSteps] = {
    {1, 1},   {1, 2},   {1, 3},   {1, 4},   {1, 5},   {1, 6},   {1, 8},    {1, 10},  {1, 12},  {1, 17},  {1, 21},
    {1, 25},  {1, 31},  {1, 42},  {1, 50},  {1, 63},  {1, 83},  {1, 104},  {1, 125}, {1, 167}, {1, 208}, {1, 250},
    {1, 312}, {1, 417}, {1, 500}, {1, 626}, {1, 834}, {1, 1043}, {0, 2},   {0, 3},   {0, 4},   {0, 6},   {0, 12}};

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

void CopyText(char* dest, size_t size, LPCSTR text) {
  size_t n = text ? std::min(std::strlen(text), size - 1) : 0;
  if (n) std::memcpy(dest, text, n);
  dest[n] = '\0';
}

}  // namespace

// The four quality levels (half, standard, high, monochrome) of one setting.
static LONG* QualityField(tCameraSettings& c, LONG tCameraSettings::* first, SHORT quality) {
  if (!In(quality, 0, 3)) return nullptr;
  return &(c.*first) + quality;
}

int CVexDoc::SetAutoLevelValue(SHORT q, SHORT v) {
  LONG* f = QualityField(m_camera, &tCameraSettings::nAutoLevelHalf, q);
  if (!f || v < 0) return 0;
  *f = v;
  return 1;
}
SHORT CVexDoc::GetAutoLevelValue(SHORT q) const {
  LONG* f = QualityField(const_cast<tCameraSettings&>(m_camera), &tCameraSettings::nAutoLevelHalf, q);
  return f ? static_cast<SHORT>(*f) : kBadIndex;
}
int CVexDoc::SetContrastLevel(SHORT q, SHORT v) {
  LONG* f = QualityField(m_camera, &tCameraSettings::ContrastLevelHalf, q);
  if (!f || v < 0) return 0;
  *f = v;
  return 1;
}
SHORT CVexDoc::GetContrastLevel(SHORT q) const {
  LONG* f = QualityField(const_cast<tCameraSettings&>(m_camera), &tCameraSettings::ContrastLevelHalf, q);
  return f ? static_cast<SHORT>(*f) : kBadIndex;
}
int CVexDoc::SetEdgeAppLevel(SHORT q, SHORT v) {
  LONG* f = QualityField(m_camera, &tCameraSettings::EdgeAppLevelHalf, q);
  if (!f || v < 0) return 0;
  *f = v;
  return 1;
}
SHORT CVexDoc::GetEdgeAppLevel(SHORT q) const {
  LONG* f = QualityField(const_cast<tCameraSettings&>(m_camera), &tCameraSettings::EdgeAppLevelHalf, q);
  return f ? static_cast<SHORT>(*f) : kBadIndex;
}

int CVexDoc::SetCameraCtrl(SHORT v) {
  if (v != 0 && v != 128) return 0;
  m_camera.Camera_Ctrl = v;
  return 1;
}

int CVexDoc::SetWBGain(SHORT r, SHORT c, SHORT v) {
  if (!In(r, 0, 2) || !In(c, 0, 3) || !In(v, 0, 255)) return 0;
  m_camera.WBGain[r][c] = v;
  return 1;
}
SHORT CVexDoc::GetWBGain(SHORT r, SHORT c) const {
  return In(r, 0, 2) && In(c, 0, 3) ? static_cast<SHORT>(m_camera.WBGain[r][c]) : kBadIndex;
}
int CVexDoc::SetBBLevel(SHORT r, SHORT c, SHORT v) {
  if (!In(r, 0, 2) || !In(c, 0, 3) || !In(v, 0, 255)) return 0;
  m_camera.BB_Lev[r][c] = v;
  return 1;
}
SHORT CVexDoc::GetBBLevel(SHORT r, SHORT c) const {
  return In(r, 0, 2) && In(c, 0, 3) ? static_cast<SHORT>(m_camera.BB_Lev[r][c]) : kBadIndex;
}
int CVexDoc::SetGainLv(SHORT v) {
  if (!In(v, 0, 2)) return 0;
  m_camera.GainLv = v;
  return 1;
}

int CVexDoc::CopyBlackLevel(SHORT i) {
  // GainLv comes from the INI file unchecked, so it is checked before it picks a row.
  if (!In(i, 0, 3) || !In(m_camera.GainLv, 0, 2)) return 0;
  m_camera.Black_Level[i] = m_camera.BB_Lev[m_camera.GainLv][i];
  return 1;
}
int CVexDoc::ClearAGCGain(SHORT i) {
  if (!In(i, 0, 3)) return 0;
  m_camera.AGCGain[i] = 0;
  return 1;
}
SHORT CVexDoc::GetBlackLevel(SHORT i) const {
  return In(i, 0, 3) ? static_cast<SHORT>(m_camera.Black_Level[i]) : kBadIndex;
}
SHORT CVexDoc::GetAGCGain(SHORT i) const { return In(i, 0, 3) ? static_cast<SHORT>(m_camera.AGCGain[i]) : kBadIndex; }

int CVexDoc::SetAdTop(SHORT v) {
  if (v < 0) return 0;
  m_camera.AdTop = v;
  return 1;
}

int CVexDoc::SetCameraTableValue(SHORT a, SHORT b, SHORT c, SHORT d, LONG v) {
  if (!In(a, 0, 6) || !In(b, 0, 1) || !In(c, 0, 5) || !In(d, 0, 5)) return 0;
  m_camera.ShiftPositions[a][b][c][d] = v;
  return 1;
}
LONG CVexDoc::GetCameraTableValue(SHORT a, SHORT b, SHORT c, SHORT d) const {
  if (!In(a, 0, 6) || !In(b, 0, 1) || !In(c, 0, 5) || !In(d, 0, 5)) return kBadIndex;
  return m_camera.ShiftPositions[a][b][c][d];
}

int CVexDoc::SetExposure(SHORT mode, SHORT value) {
  if (mode == 1) {
    if (!In(value, 0, kExposureSteps - 1)) return 0;  // no step beyond the table
    const ExposureRow& row = (IsNewCameraRevision() ? kNewExposure : kOldExposure)[value];
    m_camera.ExpMode = row.unit == 1 ? 1 : 2;
    m_camera.ExpParam = row.param;
  } else if (mode == 2) {
    if (!In(value, 1, 170)) return 0;
    m_camera.ExpMode = 2;
    m_camera.ExpParam = value * 12;
  } else {
    return 0;
  }
  const bool timed = m_nShootExpTimeMode == 2;
  m_nShootExposureVariant = m_nShootExposureMode == 5 ? (timed ? 3 : 2) : (timed ? 1 : 0);
  return 1;
}

int CVexDoc::SetAutoExpThresh(SHORT v) {
  if (!In(v, 1, 100)) return 0;
  m_camera.AutoExpThresh = v;
  return 1;
}
int CVexDoc::SetTranMode(SHORT v) {
  if (!In(v, 0, 7)) return 0;
  m_camera.TranMode = v;
  return 1;
}
int CVexDoc::SetCameraZoom(SHORT code) {
  if (!In(code, 0, 1)) return 0;
  m_camera.zoom = code == 0 ? 0.5 : 1.0;
  return 1;
}
int CVexDoc::SetInterpolationMethod(SHORT v) {
  if (!In(v, 0, 2)) return 0;
  m_camera.InterPolationMethod = static_cast<BYTE>(v);
  return 1;
}
int CVexDoc::SetProgress(SHORT i, SHORT v) {
  if (!In(i, 0, 2) || !In(v, 0, 255)) return 0;
  m_camera.Progress[i] = static_cast<BYTE>(v);
  return 1;
}
SHORT CVexDoc::GetProgress(SHORT i) const { return In(i, 0, 2) ? m_camera.Progress[i] : kBadIndex; }
SHORT CVexDoc::GetMosaic(SHORT i) const { return In(i, 0, 3) ? static_cast<SHORT>(m_camera.Mosaic[i]) : kBadIndex; }

int CVexDoc::SetCameraVer(SHORT code) {
  if (code != 1 && code != 3) return 0;
  m_camera.CameraVer = 3;
  return 1;
}

void CVexDoc::SetIsaBoard(int flag) {
  m_camera.bPCI = flag == 1 ? 0 : 1;
  m_camera.bISA = flag == 1 ? 1 : 0;
}

CVexDoc& CVexDoc::SetSaveFolder(LPCSTR t) { CopyText(m_szSaveFolder, sizeof m_szSaveFolder, t); return *this; }
CVexDoc& CVexDoc::SetSavePrefix(LPCSTR t) { CopyText(m_szSavePrefix, sizeof m_szSavePrefix, t); return *this; }
CVexDoc& CVexDoc::SetSaveBody(LPCSTR t) { CopyText(m_szSaveBody, sizeof m_szSaveBody, t); return *this; }
