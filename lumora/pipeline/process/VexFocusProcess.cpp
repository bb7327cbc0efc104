#include "VexFocusProcess.h"

#include <memory>

#include "TrueImage.h"
#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "pipeline/VexDisplaySpace.h"
#include "pipeline/VexPixelAccess.h"
#include "pipeline/input/VexCCDInput.h"

IMPLEMENT_DYNCREATE(CVexFocusProcess, CVexItoVProcess)

namespace {

// The window's span along one side of the frame: centred on `at`, held inside it.
void Span(LONG at, LONG size, LONG* low, LONG* high) {
  const LONG half = CVexFocusProcess::kWindowSize / 2;
  if (at - half < 0) *low = 0;
  else if (at + half > size) *low = size - CVexFocusProcess::kWindowSize;
  else *low = at - half;
  *high = *low + CVexFocusProcess::kWindowSize;
}

}  // namespace

void CVexFocusProcess::OnSettingsChanged(LONG flag) {
  if (flag != kUpdateFlag) return;
  CVexDoc* doc = GetDocument();
  const POINT p = vexspace::PictureToDisplay(doc->GetFocusPosition(), doc->GetRotateReverseMode());
  const bool turned = doc->GetDir90() == 1;
  const LONG width = turned ? 512 : 640, height = turned ? 640 : 512;
  Span(p.x, width, &m_rcWindow.left, &m_rcWindow.right);
  Span(p.y, height, &m_rcWindow.top, &m_rcWindow.bottom);
}

int CVexFocusProcess::Fail(int detail) {
  CVexDoc* doc = GetDocument();
  doc->SetFocusValue(0, 0, 0);
  doc->SetLastError(kErrorType, detail, 1);
  return 0;
}

int CVexFocusProcess::Process(SHORT source, SHORT) {
  CVexDoc* doc = GetDocument();
  m_control.Load(m_pBufferControl, source, false);
  doc->ClearLastError();
  // The window is cut out of the control's own copy; the live slot keeps the frame
  // whatever happens here.
  CLead* lead = m_control.Lead();
  const RECT& w = m_rcWindow;
  if (!lead || lead->CropImage(static_cast<float>(w.left), static_cast<float>(w.top),
                               static_cast<float>(w.right - w.left), static_cast<float>(w.bottom - w.top)) != 0)
    return Fail(1);

  auto image = std::make_unique<CTrueImage>();
  if (m_pCameraInput) m_pCameraInput->PrepareImage(image.get(), RECT{0, 0, w.right - w.left, w.bottom - w.top});

  BYTE* previousBits = nullptr;
  const int detail = [&] {
    CVexPixelAccess pixels(lead);
    if (const int step = pixels.Open(false)) return step + 1;
    // The measure reads the image's rows from the control's bits: they must all be there.
    const BITMAP& bm = pixels.Bitmap();
    const long long rows = static_cast<long long>(image->m_nStride) * image->m_nHeight;
    if (static_cast<long long>(bm.bmWidthBytes) * bm.bmHeight < rows) return 4;
    previousBits = image->SetBits(pixels.Bits());
    if (!previousBits) return 5;
    doc->SetFocusValue(image->MeasureFocusRed(1), image->MeasureFocusGreen(1), image->MeasureFocusBlue(1));
    return pixels.Close() != 0 ? 6 : 0;
  }();
  if (previousBits) image->SetBits(previousBits);
  image.reset();
  return detail ? Fail(detail) : 1;
}
