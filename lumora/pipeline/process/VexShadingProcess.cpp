#include "VexShadingProcess.h"

#include <algorithm>

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "pipeline/VexPixelAccess.h"

IMPLEMENT_DYNCREATE(CVexShadingProcess, CVexItoIProcess)

namespace {

// The three frame sizes the camera delivers, with the constant that makes the gain the
// same function of the relative position in each.
struct FrameSize {
  LONG width, height;
  double k;
};
constexpr FrameSize kFrames[3] = {{3840, 3072, 9e10}, {1280, 1024, 1e10}, {640, 512, 2.5e9}};

// The quarter of frame `f` its table holds: columns (cx) and rows (cy), turned or not.
SIZE QuarterOf(int f, bool turned) {
  const LONG w = turned ? kFrames[f].height : kFrames[f].width;
  const LONG h = turned ? kFrames[f].width : kFrames[f].height;
  return {w / 2, h / 2};
}

}  // namespace

CVexShadingProcess::~CVexShadingProcess() { FreeTables(); }

void CVexShadingProcess::FreeTables() {
  CSingleLock lock(&m_lock, TRUE);
  m_pTable3840.reset();
  m_pTable1280.reset();
  m_pTable640.reset();
  m_pCurrentTable = nullptr;
}

bool CVexShadingProcess::HasTables() {
  CSingleLock lock(&m_lock, TRUE);
  return TablesLocked();
}

int CVexShadingProcess::GetGain(int frameWidth, int i, int j) {
  CSingleLock lock(&m_lock, TRUE);
  for (int f = 0; f < 3; ++f) {
    if (kFrames[f].width != frameWidth) continue;
    const int* table = f == 0 ? m_pTable3840.get() : f == 1 ? m_pTable1280.get() : m_pTable640.get();
    const SIZE quarter = QuarterOf(f, m_bTurned == 1);
    if (!table || i < 0 || j < 0 || i >= quarter.cy || j >= quarter.cx) return 0;
    return table[i * quarter.cx + j];
  }
  return 0;
}

void CVexShadingProcess::OnSettingsChanged(LONG flag) {
  if (flag != kUpdateFlag) return;
  CVexDoc* doc = GetDocument();
  if (doc->GetShadingOption() == 0) {
    FreeTables();
    return;
  }
  const int level = static_cast<SHORT>(doc->GetShadingLevel());
  if (level < 0) return;
  // From a strength of about 166 the gain's divisor reaches 0: the tables hold to the
  // strongest setting the settings page offers.
  BuildTables(std::min(level, int(kStrongest)), doc->GetDir90() == 1 ? 1 : 0,
              doc->GetInvertColorMode() == 1 ? 1 : 0);
}

void CVexShadingProcess::PageRelease::operator()(int* table) const { ::VirtualFree(table, 0, MEM_RELEASE); }

void CVexShadingProcess::BuildTables(int strength, int turned, int inverted) {
  CSingleLock lock(&m_lock, TRUE);
  // The settings change with the tables: an application never sees one without the other.
  m_nStrength = strength;
  m_bTurned = turned;
  m_bInverted = inverted;
  m_pTable3840.reset();
  m_pTable1280.reset();
  m_pTable640.reset();
  m_pCurrentTable = nullptr;
  GainTable* tables[3] = {&m_pTable3840, &m_pTable1280, &m_pTable640};
  for (int f = 0; f < 3; ++f) {
    const SIZE quarter = QuarterOf(f, m_bTurned == 1);
    const LONG hw = quarter.cx, hh = quarter.cy;
    GainTable table(static_cast<int*>(
        ::VirtualAlloc(nullptr, size_t(hw) * size_t(hh) * sizeof(int), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)));
    if (!table) {
      // Without all three tables pictures pass through uncorrected.
      for (GainTable* built : tables) built->reset();
      return;
    }
    for (LONG i = 0; i < hh; ++i) {
      for (LONG j = 0; j < hw; ++j) {
        const LONG d = (hw - j) * (hw - j) + (hh - i) * (hh - i);
        const unsigned s = static_cast<unsigned>(d) * static_cast<unsigned>(m_nStrength);
        const double x = s * 11491.81 / kFrames[f].k;
        const double y = m_bInverted ? 128.0 + x : 128.0 - x;
        table[size_t(i) * hw + j] = static_cast<int>(4194304.0 / y);
      }
    }
    *tables[f] = std::move(table);
  }
}

bool CVexShadingProcess::ChooseFrame(Frame* frame) {
  if (!TablesLocked()) return false;
  CVexDoc* doc = GetDocument();
  bool turned = false;
  if (doc->IsNotShootMode()) {
    const bool full = doc->IsFullScreen() != 0;
    frame->width = full ? 1280 : 640;
    frame->height = full ? 1024 : 512;
    m_pCurrentTable = full ? m_pTable1280.get() : m_pTable640.get();
    turned = m_bTurned == 1;
  } else {
    const bool fine = doc->GetFineMode() == 1;
    frame->width = fine ? 3840 : 1280;
    frame->height = fine ? 3072 : 1024;
    m_pCurrentTable = fine ? m_pTable3840.get() : m_pTable1280.get();
    turned = doc->GetDir90() == 1;
  }
  if (turned) std::swap(frame->width, frame->height);
  frame->table = m_pCurrentTable;
  frame->region = doc->IsNotShootMode() ? RECT{0, 0, frame->width, frame->height} : doc->GetShadingRect();
  return true;
}

bool CVexShadingProcess::Apply(const BITMAP& bm) {
  CSingleLock lock(&m_lock, TRUE);
  Frame frame{};
  if (!ChooseFrame(&frame)) return true;  // a rebuild under way: the picture stays as it is
  const RECT& r = frame.region;
  const LONG regionWidth = r.right - r.left, regionHeight = r.bottom - r.top;
  // The region names frame positions and is walked over the bitmap from its first row:
  // it must lie inside both.
  if (r.left < 0 || r.top < 0 || r.right > frame.width || r.bottom > frame.height || regionWidth < 0 ||
      regionHeight < 0 || regionWidth > bm.bmWidth || regionHeight > bm.bmHeight || bm.bmWidthBytes < bm.bmWidth * 3)
    return false;
  const LONG hw = frame.width / 2, hh = frame.height / 2;
  BYTE* row = static_cast<BYTE*>(bm.bmBits);
  // The first row in memory is the bottom row of the picture.
  for (LONG y = r.bottom - 1; y >= r.top; --y, row += bm.bmWidthBytes) {
    const LONG i = y < hh ? y : frame.height - 1 - y;
    const int* gains = frame.table + size_t(i) * hw;
    BYTE* p = row;
    for (LONG x = r.left; x < r.right; ++x, p += 3) {
      const unsigned g = static_cast<unsigned>(gains[x < hw ? x : frame.width - 1 - x]);
      for (int k = 0; k < 3; ++k) {
        const unsigned v = (p[k] * g + 16384u) >> 15;
        p[k] = static_cast<BYTE>(v > 255 ? 255 : v);
      }
    }
  }
  return true;
}

int CVexShadingProcess::Process(SHORT source, SHORT destination) {
  CVexDoc* doc = GetDocument();
  // The camera input leaves the crop of size code 4 to the last per-pixel stage of a
  // shot; the live frame of ProcessCurrent is never cropped.
  const bool cropDue = source != CVexStageControl::kThirdBitmap && doc->IsShootMode() &&
                       doc->GetShootBufferSize() == 4 && doc->GetRGBOption() == 0;
  if (!HasTables()) {
    if (!cropDue) return 1;
    m_control.Load(m_pBufferControl, source);
    m_control.CropToShootArea(doc);
    m_control.Store(m_pBufferControl, destination);
    return 1;
  }

  m_control.Load(m_pBufferControl, source);
  bool applied = true;
  int detail = 0;
  {
    CVexPixelAccess pixels(m_control.Lead());
    detail = pixels.Open(true);
    if (detail == 0) {
      applied = Apply(pixels.Bitmap());
      detail = pixels.Close();
    }
  }
  if (detail == 0 && !applied) detail = CVexPixelAccess::kBitmapRecord;
  if (detail) return m_control.StoreAndFail(m_pBufferControl, destination, doc, kErrorType, detail);
  if (cropDue) m_control.CropToShootArea(doc);
  m_control.Store(m_pBufferControl, destination);
  return 1;
}

int CVexShadingProcess::ProcessCurrent() {
  return Process(CVexStageControl::kThirdBitmap, CVexStageControl::kThirdBitmap);
}
