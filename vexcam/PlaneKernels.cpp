// The camera object's side of the picture kernels: each member builds the kernels' view
// of the planes, phases and settings and runs the kernel.
#include <algorithm>

#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "ColourReconstruction.h"
#include "SettingsBlock.h"

namespace {
// Kernels may run before an export has named a block (tests, shutdown); they then see a
// cleared one.
const tCameraSettings& Block() {
  static const tCameraSettings cleared{};
  return HaveSettings() ? Settings() : cleared;
}
constexpr LONG kPlaneMargin = 4;  // rows and samples beyond the raster, for phase offsets
}  // namespace

void CCameraCtrl::AllocatePlaneStore(LONG width, LONG height) {
  FreePlaneStore();
  if (width <= 0 || height <= 0) return;
  m_PlaneRowBytes = width + kPlaneMargin;
  size_t rows = size_t(height + kPlaneMargin);
  for (int p = 0; p < 4; ++p) {
    m_PlaneMemory[p].assign(rows * size_t(m_PlaneRowBytes), 0);
    m_Planes[p].resize(rows);
    for (size_t r = 0; r < rows; ++r) m_Planes[p][r] = m_PlaneMemory[p].data() + r * size_t(m_PlaneRowBytes);
  }
}

vexcam::PlaneSet CCameraCtrl::PlaneView() const {
  vexcam::PlaneSet v;
  size_t rows = m_Planes[0].size();
  for (int p = 0; p < 4; ++p) {
    rows = std::min(rows, m_Planes[p].size());
    v.row[p] = m_Planes[p].empty() ? nullptr : m_Planes[p].data();
  }
  v.rows = LONG(rows);
  // Rows set up by others without a known length are treated as not ready.
  v.rowBytes = m_PlaneRowBytes;
  return v;
}

vexcam::ColourContext CCameraCtrl::ColourJob() {
  const tCameraSettings& s = Block();
  vexcam::ColourContext c;
  c.planes = PlaneView();
  c.roles = {int(m_PlaneOrder[0] & 3), int(m_PlaneOrder[1] & 3), int(m_PlaneOrder[2] & 3), int(m_PlaneOrder[3] & 3)};
  c.phases = vexcam::SingleShotPhases(m_PhaseColumn, m_PhaseRow, s.Mode);
  c.revision = m_Revision;
  c.mode = s.Mode;
  c.zoom = s.zoom;
  c.abort = &s.bAbort;
  c.enhancementFollows = m_Enhancement.Follows();
  c.statisticsFlag = m_CaptureOptionB != 0;
  c.combineOption = m_CaptureOptionA != 0;
  c.preview = m_PreviewCapture;
  c.frameParity = m_FrameParity;
  c.green = &m_GreenStats;
  c.progress = [this](int percent) { return UpdateProgress(percent); };
  return c;
}

vexcam::MergeJob CCameraCtrl::MergeJobOf() const {
  const tCameraSettings& s = Block();
  vexcam::MergeJob j;
  j.planes = PlaneView();
  j.roles = {int(m_PlaneOrder[0] & 3), int(m_PlaneOrder[1] & 3), int(m_PlaneOrder[2] & 3), int(m_PlaneOrder[3] & 3)};
  if (m_SubFrameRows.size() >= size_t(vexcam::SubFrameStore::kBlocks * vexcam::SubFrameStore::kBlockRows)) {
    j.frames.row = m_SubFrameRows.data();
    j.frames.rowBytes = m_SubFrameRowBytes;
  }
  j.column = &m_PhaseColumn;
  j.row = &m_PhaseRow;
  j.steps = &m_SubFrameSteps;
  j.lut = &ChannelLut;
  for (int k = 0; k < 4; ++k) j.lanes[k] = int(m_LaneOrder[k] & 3);
  j.maxWidth = Geometry().MaxWidth;
  j.maxHeight = Geometry().MaxHeight;
  j.mode = s.Mode;
  j.tranMode = s.TranMode;
  j.cameraVer = s.CameraVer;
  j.gainLv = s.GainLv;
  return j;
}

LONG CCameraCtrl::ReconstructPlanes(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::Reconstruct(ColourJob(), Block().InterPolationMethod, rows, width, height, stride);
}
LONG CCameraCtrl::RGBMosaic(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::RGBMosaic(ColourJob(), rows, width, height, stride);
}
LONG CCameraCtrl::RGBFromCells(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::RGBFromCells(ColourJob(), rows, width, height, stride);
}
LONG CCameraCtrl::InterpolateBilinear(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::InterpolateBilinear(ColourJob(), rows, width, height, stride);
}
LONG CCameraCtrl::InterpolateAdaptive(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::InterpolateAdaptive(ColourJob(), rows, width, height, stride);
}
void CCameraCtrl::ChromaEnhance(BYTE* rows, LONG, LONG height, LONG stride) {
  vexcam::ChromaEnhance(rows, height, stride, m_Revision);
}
LONG CCameraCtrl::RGBFromPlanesRaw(BYTE* rows, LONG width, LONG height, LONG stride) {
  // The caller's sizes come straight through an export: a picture they cannot describe
  // gets nothing written.
  if (!rows || width <= 0 || height <= 0 || int64_t(stride) < 3 * int64_t(width)) return 0;
  return vexcam::RGBFromPlanesRaw(ColourJob(), rows, width, height, stride);
}
LONG CCameraCtrl::RGBHalfSize(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::RGBHalfSize(ColourJob(), rows, width, height, stride);
}
LONG CCameraCtrl::RGBFromShiftCells(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::RGBFromShiftCells(ColourJob(), rows, width, height, stride);
}
LONG CCameraCtrl::RGBHalfSizeShift(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::RGBHalfSizeShift(ColourJob(), rows, width, height, stride);
}
LONG CCameraCtrl::RGBFromShift18(BYTE* rows, LONG width, LONG height, LONG stride) {
  return vexcam::RGBFromShift18(ColourJob(), Block().InterPolationMethod, rows, width, height, stride);
}
int CCameraCtrl::GreenStatistics(LONG width, LONG height) { return vexcam::GreenStatistics(ColourJob(), width, height); }

LONG CCameraCtrl::PlanesFromSubFrame(LONG columnStep, LONG rowStep, LONG rowLength, LONG rows) {
  return vexcam::PlanesFromSubFrame(MergeJobOf(), columnStep, rowStep, rowLength, rows);
}
LONG CCameraCtrl::FillPlanesFromUnits(LONG columnStep, LONG rowStep, LONG rowLength, LONG rows) {
  return PlanesFromSubFrame(columnStep, rowStep, rowLength, rows);
}
void CCameraCtrl::MergeSubFrames(LONG positions, LONG scale, LONG width, LONG height) {
  vexcam::MergeSubFrames(MergeJobOf(), positions, scale, width, height);
}
void CCameraCtrl::MergeSubFramesLut(LONG positions, LONG scale, LONG width, LONG height) {
  vexcam::MergeSubFramesLut(MergeJobOf(), positions, scale, width, height);
}
void CCameraCtrl::MergeContinuousFrame(LONG columnStep, LONG rowStep, LONG scale, LONG width, LONG height) {
  vexcam::MergeContinuousFrame(MergeJobOf(), columnStep, rowStep, scale, width, height);
}

LONG CCameraCtrl::RGBFromPlanes(BYTE* rows, LONG width, LONG height, LONG stride) {
  vexcam::ColourContext c = ColourJob();
  vexcam::PlaneJob job{c.planes, c.roles, m_Enhancement, m_Revision, Block().TranMode, c.progress};
  return vexcam::RGBFromPlanes(job, rows, width, height, stride);
}
LONG CCameraCtrl::GreyFromPlanes(BYTE* rows, LONG width, LONG height, LONG stride) {
  vexcam::ColourContext c = ColourJob();
  vexcam::PlaneJob job{c.planes, c.roles, m_Enhancement, m_Revision, Block().TranMode, c.progress};
  return vexcam::GreyFromPlanes(job, rows, width, height, stride);
}
void CCameraCtrl::PlaneLevelStats(LONG width, LONG height, LONG* blackPoint, double* scale) {
  vexcam::LevelPoint lp = vexcam::PlaneLevelStats(PlaneView(), width, height, m_Enhancement.cut, m_Enhancement.contrast);
  if (blackPoint) *blackPoint = lp.black;
  if (scale) *scale = lp.scale;
}
LONG CCameraCtrl::ApplyLevels(BYTE* rows, LONG width, LONG height, LONG stride) {
  vexcam::ProgressFn progress = [this](int percent) { return UpdateProgress(percent); };
  return vexcam::ApplyLevels(PlaneView(), m_Enhancement, progress, rows, width, height, stride);
}
void CCameraCtrl::PictureExposureStats(const BYTE* rows, LONG width, LONG height, LONG* mean, LONG* peak) {
  vexcam::PictureExposureStats(rows, width, height, Block().Mode, Block().AutoExpThresh, mean, peak);
}
void CCameraCtrl::GreenExposureStats(const BYTE* rows, LONG width, LONG height, LONG* mean, LONG* peak) {
  vexcam::GreenExposureStats(rows, width, height, Block().AutoExpThresh, mean, peak);
}
