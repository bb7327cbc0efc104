#include "VexProfileProcess.h"

#include <vector>

#include "binding/CLead.h"
#include "control/VexDoc.h"
#include "pipeline/VexPixelAccess.h"

IMPLEMENT_DYNCREATE(CVexProfileProcess, CVexItoIProcess)

namespace {

// A component of 255 lies 459 rows above the picture's bottom edge, 0 just below it.
constexpr double kRowsPerStep = 1.8;

}  // namespace

void CVexProfileProcess::OnSettingsChanged(LONG flag) {
  if (flag == kUpdateFlag) m_nRow = GetDocument()->GetImageProfilePosition();
}

int CVexProfileProcess::Process(SHORT source, SHORT destination) {
  CVexDoc* doc = GetDocument();
  doc->ClearLastError();
  m_control.Load(m_pBufferControl, source);
  CLead* lead = m_control.Lead();
  std::vector<COLORREF> row(lead ? static_cast<size_t>(lead->GetImageWidth()) : 0);

  const int penWidth = doc->IsLiveWindowLeft() ? 1 : 2;
  CPen pens[3];
  pens[0].CreatePen(PS_SOLID, penWidth, RGB(255, 0, 0));
  pens[1].CreatePen(PS_SOLID, penWidth, RGB(0, 255, 0));
  pens[2].CreatePen(PS_SOLID, penWidth, RGB(0, 0, 255));

  int detail = 0;
  {
    CVexPixelAccess pixels(lead);
    detail = pixels.Open(true);
    if (detail == 0) {
      lead->SetAutoRepaint(FALSE);
      CDC& dc = pixels.Dc();
      const BITMAP& bm = pixels.Bitmap();
      const LONG width = std::min<LONG>(bm.bmWidth, static_cast<LONG>(row.size()));
      for (LONG x = 0; x < width; ++x) row[x] = dc.GetPixel(x, m_nRow);
      auto rowOf = [&](LONG x, int channel) {
        const BYTE c = channel == 0 ? GetRValue(row[x]) : channel == 1 ? GetGValue(row[x]) : GetBValue(row[x]);
        return bm.bmHeight - static_cast<int>(c * kRowsPerStep);
      };
      for (int channel = 0; channel < 3 && width > 0; ++channel) {
        dc.SelectObject(&pens[channel]);
        dc.MoveTo(0, rowOf(0, channel));
        for (LONG x = 1; x < width; ++x) dc.LineTo(x, rowOf(x, channel));
      }
      detail = pixels.Close();
    }
  }
  if (detail) return m_control.StoreAndFail(m_pBufferControl, destination, doc, kErrorType, detail);
  m_control.Store(m_pBufferControl, destination);
  return 1;
}
