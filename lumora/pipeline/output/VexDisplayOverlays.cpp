// The live measuring overlays of CVexDisplayOutput: drawn into each live frame, dragged
// with the mouse, and kept in the document (picture space) and the white-balance
// rectangle (sensor space).
#include "VexDisplayOutput.h"

#include <algorithm>
#include <utility>

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "pipeline/VexPixelAccess.h"
#include "ui/MainFrame.h"

namespace {

constexpr int kFocusHalf = 40;  // the focus box is 80 x 80
constexpr int kTick = 30;

bool InsideStrictly(const CRect& r, CPoint p) { return p.x > r.left && p.x < r.right && p.y > r.top && p.y < r.bottom; }
bool InsideWithBorder(const CRect& r, CPoint p) {
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

}  // namespace

CRect CVexDisplayOutput::Shift(CRect r, const CRect& display) {
  const LONG width = display.Width(), height = display.Height();
  if (r.left < 0) {
    r.right -= r.left;
    r.left = 0;
  }
  if (r.right > width) {
    r.left += width - r.right;
    r.right = width;
  }
  if (r.top < 0) {
    r.bottom -= r.top;
    r.top = 0;
  }
  if (r.bottom > height) {
    r.top += height - r.bottom;
    r.bottom = height;
  }
  return r;
}

CRect CVexDisplayOutput::ShiftIntoDisplay(CRect rect) const { return Shift(rect, GetDisplayRect()); }

CRect CVexDisplayOutput::FocusBoxAround(CPoint c) {
  return CRect(c.x - kFocusHalf, c.y - kFocusHalf, c.x + kFocusHalf, c.y + kFocusHalf);
}

CVexDisplayOutput::LiveOverlays CVexDisplayOutput::SnapshotOverlays() const {
  LiveOverlays o;
  if (const CVexDoc* doc = GetDocument()) {
    const SHORT zoomCode = doc->GetZoomCode() > 0 ? doc->GetZoomCode() : 1;
    o.bracket = doc->GetShootWidth() / zoomCode / 8;
    o.turned = doc->GetDir90() == 1;
  }
  vex::MutexLock guard(m_overlayLock);
  o.mode = m_nDisplayMode;
  o.areaType = m_nLiveAreaType;
  o.focusShown = m_bFocusShown;
  o.zoomed = m_bLiveZoomed;
  o.liveZoom = m_rcLiveZoom;
  o.shootArea = m_rcShootArea;
  o.focusBox = m_rcFocusBox;
  o.display = m_rcDisplay;
  o.profileRow = m_nProfileRow;
  o.guideStyle = m_nGuideStyle;
  return o;
}

// ---- drawing --------------------------------------------------------------------------

int CVexDisplayOutput::DrawOverlaysOnControl(const LiveOverlays& o, bool withScale) {
  CLead* lead = Lead();
  CVexPixelAccess access(lead);
  switch (access.Open(true, false)) {
    case CVexPixelAccess::kOk: break;
    case CVexPixelAccess::kNoImageDC: return 1;
    case CVexPixelAccess::kAttach: return 2;
    default: return 3;
  }
  CDC& dc = access.Dc();
  switch (o.areaType) {
    case 0: DrawAreaMarks(dc, o); break;
    case 1:
      DrawProfileLine(dc, o);
      DrawGuideLine(dc, o);
      break;
    case 3: lead->SetRegionEnabled(TRUE); break;
    default: break;
  }
  DrawLiveLabel(dc, o);
  if (withScale) DrawLiveScale(dc);
  switch (access.Close()) {
    case CVexPixelAccess::kOk: return 0;
    case CVexPixelAccess::kRestoreDC: return 4;
    default: return 5;
  }
}

void CVexDisplayOutput::DrawAreaMarks(CDC& dc, const LiveOverlays& o) {
  // The half-size pane shows the frame at half size: its lines are drawn twice as wide.
  const bool half = o.mode == kLiveHalf;
  CPen& black = half ? m_penBlack4 : m_penBlack2;
  CPen& white = half ? m_penWhite4 : m_penWhite2;
  const int offset = half ? 4 : 2;
  const LONG L = o.bracket;
  auto brackets = [&](const CRect& r) {
    const POINT corners[4][3] = {{{r.left + L, r.top}, {r.left, r.top}, {r.left, r.top + L}},
                                 {{r.right - L, r.top}, {r.right, r.top}, {r.right, r.top + L}},
                                 {{r.left + L, r.bottom}, {r.left, r.bottom}, {r.left, r.bottom - L}},
                                 {{r.right - L, r.bottom}, {r.right, r.bottom}, {r.right, r.bottom - L}}};
    for (const auto& corner : corners) dc.Polyline(corner, 3);
  };
  auto ticks = [&](const CRect& r) {
    const LONG cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    auto line = [&](LONG x0, LONG y0, LONG x1, LONG y1) {
      dc.MoveTo(x0, y0);
      dc.LineTo(x1, y1);
    };
    for (LONG d : {-5, 5}) {
      line(r.left, cy + d, r.left + kTick, cy + d);
      line(r.right, cy + d, r.right - kTick, cy + d);
      line(cx + d, r.top, cx + d, r.top + kTick);
      line(cx + d, r.bottom, cx + d, r.bottom - kTick);
    }
  };
  CRect shadow = o.shootArea;
  shadow.OffsetRect(offset, offset);
  dc.SelectObject(&black);
  brackets(shadow);
  dc.SelectObject(&white);
  brackets(o.shootArea);
  if (o.focusShown == 1) {
    shadow = o.focusBox;
    shadow.OffsetRect(offset, offset);
    dc.SelectObject(&black);
    ticks(shadow);
    dc.SelectObject(&white);
    ticks(o.focusBox);
  }
}

void CVexDisplayOutput::DrawProfileLine(CDC& dc, const LiveOverlays& o) {
  const bool half = o.mode == kLiveHalf;
  const int offset = half ? 4 : 2;
  const LONG width = o.display.Width();
  dc.SelectObject(half ? &m_penBlack4 : &m_penBlack2);
  dc.MoveTo(0, o.profileRow + offset);
  dc.LineTo(width, o.profileRow + offset);
  dc.SelectObject(half ? &m_penWhite4 : &m_penWhite2);
  dc.MoveTo(0, o.profileRow);
  dc.LineTo(width, o.profileRow);
}

void CVexDisplayOutput::DrawGuideLine(CDC& dc, const LiveOverlays& o) {
  if (o.guideStyle != 1) return;
  // The base is 639 on a turned frame, one row above its bottom edge.
  const LONG extent = o.turned ? 512 : 640, base = o.turned ? 639 : 512;
  dc.SelectObject(o.mode == kLiveHalf ? &m_penGrey2 : &m_penGrey1);
  dc.MoveTo(0, base - 460);
  dc.LineTo(extent, base - 460);
}

void CVexDisplayOutput::DrawLiveLabel(CDC& dc, const LiveOverlays& o) {
  const LONG width = o.display.Width();
  dc.SelectObject(&m_fontLive);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  dc.TextOut(width - 93, 3, "Live");
  dc.SetTextColor(RGB(255, 255, 255));
  dc.TextOut(width - 95, 1, "Live");
}

void CVexDisplayOutput::ShowEnlarged(const CRect& r) {
  CLead* lead = Lead();
  lead->SetDisplaySourceRect(float(r.left), float(r.top), float(r.Width()), float(r.Height()));
  lead->SetDisplayRect(float(r.left), float(r.top), float(r.Width()), float(r.Height()));
  lead->ForceRepaint();
}

int CVexDisplayOutput::ShowLiveFrame() {
  CLead* lead = Lead();
  if (!IsLiveMode() || !lead || !m_pBufferControl) return 0;
  std::lock_guard<std::mutex> drawing(m_drawLock);
  lead->SetValue146(0);
  lead->SetFlag272(FALSE);
  lead->SetBitmap(m_pBufferControl->GetThirdBitmap());
  lead->SetFlag272(FALSE);
  const LiveOverlays o = SnapshotOverlays();
  if (o.zoomed) {
    ShowEnlarged(o.liveZoom);
    return 1;
  }
  if (const int detail = DrawOverlaysOnControl(o, true)) {
    Fail(detail);
    return 0;
  }
  lead->ForceRepaint();
  return 1;
}

// ---- hit tests ------------------------------------------------------------------------

BOOL CVexDisplayOutput::HitFocusBox(CPoint point) const {
  vex::MutexLock guard(m_overlayLock);
  return InsideStrictly(m_rcFocusBox, point);
}

BOOL CVexDisplayOutput::HitShootArea(CPoint point) const {
  vex::MutexLock guard(m_overlayLock);
  return InsideWithBorder(m_rcShootArea, point);
}

BOOL CVexDisplayOutput::HitProfileLine(CPoint point) const {
  vex::MutexLock guard(m_overlayLock);
  return point.x >= m_rcDisplay.left && point.x <= m_rcDisplay.right && std::abs(point.y - m_nProfileRow) <= 5;
}

// ---- loaders and storers --------------------------------------------------------------

void CVexDisplayOutput::LoadShootArea() {
  const CVexDoc* doc = GetDocument();
  if (!doc) return;
  const CPoint c = PictureToDisplay(doc->GetShootTargetPoint(), doc->GetRotateReverseMode());
  const SHORT zoomCode = doc->GetZoomCode() > 0 ? doc->GetZoomCode() : 1;
  SHORT hx = static_cast<SHORT>(static_cast<SHORT>(doc->GetShootWidth() / zoomCode) / 2);
  SHORT hy = static_cast<SHORT>(static_cast<SHORT>(doc->GetShootHeight() / zoomCode) / 2);
  if (doc->GetDir90() == 1) std::swap(hx, hy);
  vex::MutexLock guard(m_overlayLock);
  m_rcShootArea = Shift(CRect(c.x - hx, c.y - hy, c.x + hx, c.y + hy), m_rcDisplay);
}

void CVexDisplayOutput::LoadFocusBox() {
  const CVexDoc* doc = GetDocument();
  if (!doc) return;
  const CPoint c = PictureToDisplay(doc->GetFocusPosition(), doc->GetRotateReverseMode());
  vex::MutexLock guard(m_overlayLock);
  m_rcFocusBox = Shift(FocusBoxAround(c), m_rcDisplay);
}

void CVexDisplayOutput::LoadProfileRow() {
  const CVexDoc* doc = GetDocument();
  if (!doc) return;
  vex::MutexLock guard(m_overlayLock);
  m_nProfileRow = doc->GetImageProfilePosition();
}

void CVexDisplayOutput::StoreShadingPoint() {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  const CPoint c = GetShootArea().CenterPoint();
  doc->SetShadingPoint(c.x, c.y);
}

void CVexDisplayOutput::StoreShootTarget() {
  StoreShadingPoint();
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  doc->SetShootTargetPoint(DisplayToPicture(GetShootArea().CenterPoint(), doc->GetRotateReverseMode()));
}

void CVexDisplayOutput::StoreFocusPosition() {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  CMainFrame* frame = Frame();
  const bool allowed = frame && frame->IsCaptureAllowed() == 1;
  if (allowed) frame->EnableFrame(FALSE);
  doc->SetFocusPosition(POINT(DisplayToPicture(GetFocusBox().CenterPoint(), doc->GetRotateReverseMode())));
  if (allowed) frame->EnableFrame(TRUE);
}

void CVexDisplayOutput::StoreProfileRow() {
  if (CVexDoc* doc = GetDocument()) doc->SetImageProfilePosition(GetProfileRow());
}

void CVexDisplayOutput::StoreWhiteBalanceArea(int isRectangle) {
  CVexDoc* doc = GetDocument();
  if (!doc || !IsLiveMode()) return;
  CRect r = GetWhiteBalanceArea();
  if (isRectangle && doc->GetDir90() == 1)
    r = CRect(LONG(r.left * 1.25), LONG(r.top * 1.25), LONG(r.right * 1.25), LONG(r.bottom * 1.25));
  r = DisplayRectToPicture(r, doc->GetRotateReverseMode());
  r = CRect(r.left * 2, r.top * 2, r.right * 2, r.bottom * 2);
  r.NormalizeRect();
  const LONG w = r.Width(), h = r.Height();
  // Toward zero, to the sensor's 4-pixel grid.
  r = CRect(r.left - r.left % 4, r.top - r.top % 4, r.right - r.right % 4, r.bottom - r.bottom % 4);
  if (r.left <= 0) {
    r.right -= r.left;
    r.left = 0;
  }
  if (r.right >= 1276) {
    r.left = 1276 - w;
    r.right = 1276;
  }
  if (r.top <= 0) {
    r.bottom -= r.top;
    r.top = 0;
  }
  if (r.bottom >= 1020) {
    r.top = 1020 - h;
    r.bottom = 1020;
  }
  if (r.top > 992) {
    CString text;
    text.LoadString(isRectangle ? 62602 : 62603);
    ::MessageBoxA(m_hWnd, text, "Lumora Caution", MB_OK | MB_ICONERROR);
    return;
  }
  doc->SetWhiteBalanceRect(r);
}

// ---- mouse on a live picture ----------------------------------------------------------

void CVexDisplayOutput::LiveMouseDown(short button, CPoint point) {
  if (button != 1 || IsLiveZoomed()) return;
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  bool taken = false;
  SHORT areaType = 0;
  {
    vex::MutexLock guard(m_overlayLock);
    areaType = m_nLiveAreaType;
    switch (areaType) {
      case 0:
        if (!m_bFocusDocked && m_bFocusShown && InsideStrictly(m_rcFocusBox, point)) {
          m_nDragTarget = 1;
          taken = true;
        } else if (InsideWithBorder(m_rcShootArea, point)) {
          m_nDragTarget = 2;
          taken = true;
        }
        break;
      case 1:
        if (point.x >= m_rcDisplay.left && point.x <= m_rcDisplay.right && std::abs(point.y - m_nProfileRow) <= 5) {
          m_nDragTarget = 3;
          taken = true;
        }
        break;
      case 2:
      case 3: taken = InsideWithBorder(m_rcDisplay, point); break;
      default: break;
    }
  }
  if (taken && (areaType == 2 || areaType == 3)) doc->ClearWhiteBalanceRect();
  if (taken) {
    m_ptLast = point;
    m_bTracking = 1;
  }
  if (doc->GetOverlayState() == 1) ShowLiveFrame();
}

void CVexDisplayOutput::DragOverlay(CPoint point) {
  vex::MutexLock guard(m_overlayLock);
  m_ptDragOffset = point - m_ptLast;
  if (m_nDragTarget == 1) {
    m_rcFocusBox.OffsetRect(m_ptDragOffset);
    m_rcFocusBox = Shift(m_rcFocusBox, m_rcDisplay);
  } else if (m_nDragTarget == 2) {
    m_rcShootArea.OffsetRect(m_ptDragOffset);
    m_rcShootArea = Shift(m_rcShootArea, m_rcDisplay);
    if (m_bFocusDocked) m_rcFocusBox = Shift(FocusBoxAround(m_rcShootArea.CenterPoint()), m_rcDisplay);
  }
  m_ptLast = point;
}

bool CVexDisplayOutput::DragProfileRow(CPoint point) {
  vex::MutexLock guard(m_overlayLock);
  if (m_nDragTarget != 3) return false;
  const LONG row = m_nProfileRow + (point.y - m_ptLast.y);
  m_nProfileRow = static_cast<SHORT>(std::clamp<LONG>(row, 2, m_rcDisplay.Height() - 2));
  m_ptLast = point;
  return true;
}

void CVexDisplayOutput::DragBand(CPoint point) {
  CLead* lead = Lead();
  if (!lead) return;
  const CRect display = GetDisplayRect();
  const CPoint to(std::clamp(point.x, display.left, display.right), std::clamp(point.y, display.top, display.bottom));
  float l = float(m_ptLast.x), t = float(m_ptLast.y), r = float(to.x), b = float(to.y);
  // Back to the control's own pixels: half size, and a turned frame shown at 80 %.
  float scale = m_nDisplayMode == kLiveHalf ? 0.5f : 1.0f;
  const CVexDoc* doc = GetDocument();
  if (doc && doc->GetDir90() == 1) scale /= 1.25f;
  l *= scale, t *= scale, r *= scale, b *= scale;
  lead->SetRegionEnabled(FALSE);
  m_fRegionLeft = l, m_fRegionTop = t, m_fRegionRight = r, m_fRegionBottom = b;
  lead->SetRegionRect(l, t, r - l, b - t);
  lead->SetRegionEnabled(TRUE);
}

void CVexDisplayOutput::LiveMouseMove(short button, CPoint point) {
  if (!(button & 1) || IsLiveZoomed()) return;
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  const SHORT type = GetLiveAreaType();
  if (type == 0 && m_bTracking) DragOverlay(point);
  if (type == 1 && m_bTracking) DragProfileRow(point);
  if (type == 3 && m_bTracking) DragBand(point);
  if (doc->GetOverlayState() == 1) ShowLiveFrame();
}

void CVexDisplayOutput::LiveMouseUp(short button, CPoint point) {
  if (button != 1 || IsLiveZoomed()) return;
  CVexDoc* doc = GetDocument();
  CLead* lead = Lead();
  if (!doc || !lead) return;
  SHORT target;
  {
    vex::MutexLock guard(m_overlayLock);
    target = m_nDragTarget;
  }
  switch (GetLiveAreaType()) {
    case 0:
      if (m_bTracking) DragOverlay(point);
      if (target == 1) StoreFocusPosition();
      if (target == 2) {
        StoreShootTarget();
        if (m_bFocusDocked) StoreFocusPosition();
      }
      break;
    case 1:
      if (m_bTracking && DragProfileRow(point)) StoreProfileRow();
      break;
    case 2: {
      ApplyCursor(133, m_bOwnCursor);
      ::SetCursor(m_hCursor);
      const CRect area = ShiftIntoDisplay(CRect(point.x - 2, point.y - 2, point.x + 2, point.y + 2));
      {
        vex::MutexLock guard(m_overlayLock);
        m_rcWhiteBalance = area;
      }
      StoreWhiteBalanceArea(0);
      break;
    }
    case 3: {
      const float left = lead->GetRegionLeft(), top = lead->GetRegionTop();
      const float width = lead->GetRegionWidth(), height = lead->GetRegionHeight();
      lead->SetRegionRect(m_fRegionLeft, m_fRegionTop, m_fRegionRight - m_fRegionLeft, m_fRegionBottom - m_fRegionTop);
      CRect r(LONG(std::min(left, left + width)), LONG(std::min(top, top + height)), LONG(std::max(left, left + width)),
              LONG(std::max(top, top + height)));
      for (LONG* v : {&r.left, &r.top, &r.right, &r.bottom})
        if (*v % 2 != 0) *v -= 1;
      if (r.left == r.right) r.right = r.left + 2;
      if (r.top == r.bottom) r.bottom = r.top + 2;
      const SHORT mode = m_nDisplayMode;
      if (mode == kStillHalf || mode == kLiveHalf) r = CRect(r.left * 2, r.top * 2, r.right * 2, r.bottom * 2);
      const CRect area = ShiftIntoDisplay(r);
      {
        vex::MutexLock guard(m_overlayLock);
        m_rcWhiteBalance = area;
      }
      ApplyCursor(133, m_bOwnCursor);
      ::SetCursor(m_hCursor);
      StoreWhiteBalanceArea(1);
      break;
    }
    default: break;
  }
  if (doc->GetOverlayState() == 1) ShowLiveFrame();
}
