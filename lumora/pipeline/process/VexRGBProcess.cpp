#include "VexRGBProcess.h"

#include <algorithm>

#include "control/VexDoc.h"
#include "pipeline/VexPixelAccess.h"

IMPLEMENT_DYNCREATE(CVexRGBProcess, CVexItoIProcess)

CVexRGBProcess::CVexRGBProcess() {
  for (int i = 0; i < kTables; ++i)
    for (int v = 0; v < 256; ++v) m_tables[i][v] = std::clamp(v + 2 * i - 10, 0, 255);
}

void CVexRGBProcess::OnSettingsChanged(LONG flag) {
  if (flag != kUpdateFlag) return;
  const CVexDoc* doc = GetDocument();
  auto index = [](SHORT offset) { return std::clamp(offset + 10, 0, kTables - 1); };
  m_nRed = index(doc->GetRGBRed());
  m_nGreen = index(doc->GetRGBGreen());
  m_nBlue = index(doc->GetRGBBlue());
}

void CVexRGBProcess::Apply(const BITMAP& bm) const {
  const int* blue = m_tables[m_nBlue];
  const int* green = m_tables[m_nGreen];
  const int* red = m_tables[m_nRed];
  BYTE* row = static_cast<BYTE*>(bm.bmBits);
  for (LONG y = 0; y < bm.bmHeight; ++y, row += bm.bmWidthBytes) {
    BYTE* p = row;
    for (LONG x = 0; x < bm.bmWidth; ++x, p += 3) {
      p[0] = static_cast<BYTE>(blue[p[0]]);
      p[1] = static_cast<BYTE>(green[p[1]]);
      p[2] = static_cast<BYTE>(red[p[2]]);
    }
  }
}

int CVexRGBProcess::Process(SHORT source, SHORT destination) {
  CVexDoc* doc = GetDocument();
  m_control.Load(m_pBufferControl, source);
  int detail = 0;
  {
    CVexPixelAccess pixels(m_control.Lead());
    detail = pixels.Open(true);
    if (detail == 0) {
      Apply(pixels.Bitmap());
      detail = pixels.Close();
    }
  }
  // The crop of size code 4 that the camera input and the shading stage left to this
  // stage; the live frame of ProcessCurrent is never cropped.
  if (detail == 0 && source != CVexStageControl::kThirdBitmap && doc->IsShootMode() &&
      doc->GetShootBufferSize() == 4 && doc->GetRGBOption() == 1)
    m_control.CropToShootArea(doc);
  if (detail) return m_control.StoreAndFail(m_pBufferControl, destination, doc, kErrorType, detail);
  m_control.Store(m_pBufferControl, destination);
  return 1;
}

int CVexRGBProcess::ProcessCurrent() {
  return Process(CVexStageControl::kThirdBitmap, CVexStageControl::kThirdBitmap);
}
