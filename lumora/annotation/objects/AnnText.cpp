#include "AnnText.h"

#include <cmath>
#include <cstdlib>

#include "annotation/dialogs/VexAnnoTextSet.h"

namespace {
constexpr double kPi = 3.141592654;
}

CSize CAnnText::MeasureText(HDC hdc) const {
  CFont font;
  font.CreateFontIndirect(&m_info.m_font);
  HGDIOBJ oldFont = SelectObject(hdc, font);
  SIZE size{0, 0};
  const CString& text = m_info.m_label;
  GetTextExtentPoint32A(hdc, text, text.GetLength(), &size);
  SelectObject(hdc, oldFont);
  return CSize(size.cx, size.cy);
}

void CAnnText::Draw(HDC hdc, double) {
  SetHandleSizeFromZoom();
  const CAnnObjInfo& s = m_info;
  if (s.m_points.size() < 4) return;
  const std::vector<POINT> c = ToImagePoints(s.m_points, 4);
  if (c.size() < 4) return;
  // The text runs along the bottom edge; the picture's y axis points down.
  const double angle = -std::atan2(static_cast<double>(c[2].y - c[1].y), static_cast<double>(c[2].x - c[1].x)) * 180 / kPi;
  LOGFONTA lf = s.m_font;
  lf.lfEscapement = lf.lfOrientation = static_cast<LONG>(angle * 10);
  CFont font;
  font.CreateFontIndirect(&lf);
  HGDIOBJ oldFont = SelectObject(hdc, font);
  const COLORREF oldText = SetTextColor(hdc, s.m_penColor);
  const COLORREF oldBack = SetBkColor(hdc, s.m_fillColor);
  const int oldMode = SetBkMode(hdc, s.m_fill == 1 ? OPAQUE : TRANSPARENT);
  TextOutA(hdc, c[0].x, c[0].y, s.m_label, lstrlenA(s.m_label));
  SetBkMode(hdc, oldMode);
  SetBkColor(hdc, oldBack);
  SetTextColor(hdc, oldText);
  SelectObject(hdc, oldFont);
}

void CAnnText::RotateText(HDC hdc, UINT flags, CPoint point, int handle) {
  if (handle < 1 || handle > 4 || m_info.m_points.size() < 4) return;
  DrawXor(hdc);
  const CPoint q = ImageToLocal(point);
  const CPoint grabbed = m_info.m_points[static_cast<size_t>(handle - 1)];
  const CPoint pivot = m_info.m_points[static_cast<size_t>(Opposite(handle - 1))];
  if (flags & MK_SHIFT)
    ApplySnappedRotation(grabbed, q, pivot);
  else
    ApplyDragRotation(grabbed, q, pivot);
  DrawXor(hdc);
}

void CAnnText::ApplySnappedRotation(CPoint grabbed, CPoint mouse, CPoint pivot) {
  // A collapsed box, or the mouse on the pivot, has no angle: the turn stays as it is.
  if (grabbed == pivot || mouse == pivot) return;
  ApplyDragRotation(grabbed, mouse, pivot);
  const double c = m_info.m_cos, s = m_info.m_sin;
  static constexpr int kDirs[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
  int best = 0;
  double bestValue = -9999999;
  for (int i = 0; i < 8; ++i) {
    const double dx = kDirs[i][0], dy = kDirs[i][1];
    const double value = (dx * c + dy * s) / std::sqrt(dx * dx + dy * dy);
    if (value > bestValue) {
      bestValue = value;
      best = i;
    }
  }
  const double radians = best * 45 * kPi / 180;
  m_info.m_cos = std::cos(radians);
  m_info.m_sin = std::sin(radians);
}

int CAnnText::HitTest(int x, int y) {
  const CPoint p = ImageToLocal(CPoint(x, y));
  const int corner = HitCorner(p);
  if (corner >= 1 && m_handlesShown) return corner;
  double minx, maxx, miny, maxy;
  if (!Span(minx, maxx, miny, maxy)) return -1;
  const double t = HitTolerance();
  // Anywhere in the box hits, filled or not.
  return minx - t <= p.x && p.x <= maxx + t && miny - t <= p.y && p.y <= maxy + t ? 6 : -1;
}

void CAnnText::OnButtonDown(HDC hdc, int handle, CPoint point, double scale) {
  SetHandleSizeFromZoom();
  if (!m_creating) {
    CAnnBox::OnButtonDown(hdc, handle > 0 ? handle : 0, point, scale);
    return;
  }
  // The dialog decides whether there is a box at all.
  EditProperties(hdc);
  if (m_textAccepted == 0) {
    m_creating = 0;
    m_valid = 0;
    return;
  }
  m_info.m_origin = point;
  m_info.m_rubberPoints.assign(4, CPoint(0, 0));
  m_anchor = point;
  const CSize extent = MeasureText(hdc);
  const CPoint q = point + CPoint(extent.cx, extent.cy);
  CreateDrag(hdc, q);
  if (std::abs(m_info.m_origin.x - q.x) < 3 && std::abs(m_info.m_origin.y - q.y) < 3) {
    ClearWorking();
    m_creating = 0;
    m_valid = 0;
  } else {
    m_info.m_points.insert(m_info.m_points.end(), m_info.m_rubberPoints.begin(), m_info.m_rubberPoints.end());
    m_creating = 0;
    m_selected = 1;
    m_valid = 1;
  }
  ClearAnchor();
}

void CAnnText::OnMouseMove(HDC hdc, UINT flags, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (!(flags & MK_LBUTTON) || m_creating) return;
  const int hit = m_hitHandle;
  if (hit >= 1 && hit <= 4) {
    if (m_mode == 2) RotateText(hdc, flags, point, hit);  // no resize drag
  } else if (hit >= 5 && hit <= 7) {
    Move(hdc, point);
  }
}

void CAnnText::OnButtonUp(HDC hdc, UINT flags, CPoint point, double scale) {
  SetHandleSizeFromZoom();
  if (!m_creating && m_selected) {
    CAnnBox::OnButtonUp(hdc, flags, point, scale);
    return;
  }
  ClearAnchor();
}

void CAnnText::FitBoxToText(HDC hdc) {
  if (m_info.m_rubberPoints.empty()) return;
  const CSize extent = MeasureText(hdc);
  // Where P0 is in the picture now; the new box is put back there.
  const CPoint start = LocalToImage(m_info.m_rubberPoints[0]);
  const CPoint t = m_info.m_rubberPoints[0] + m_info.m_origin;
  const CPoint b = t + CPoint(extent.cx, extent.cy);
  const CPoint centre(static_cast<int>((t.x + b.x) * 0.5), static_cast<int>((t.y + b.y) * 0.5));
  m_info.m_rubberPoints = {t - centre, CPoint(t.x, b.y) - centre, b - centre, CPoint(b.x, t.y) - centre};
  m_info.m_points = m_info.m_rubberPoints;
  // Unturned this is the box's centre; turned, the start corner keeps its place.
  CPoint p0 = m_info.m_rubberPoints[0];
  m_info.m_origin = start - RotatePoint(p0);
}

void CAnnText::EditProperties(HDC hdc) {
  CAnnObjInfo& s = m_info;
  CVexAnnoTextSet dlg(1, nullptr);
  dlg.SetValues(s.m_font, s.m_fontSize, s.m_penColor, s.m_fillColor, s.m_fill, s.m_label);
  const int result = dlg.DoModal();
  if (result == -1) {
    m_dialogFailed = 1;
    return;
  }
  if (result != IDOK) {
    m_textAccepted = 0;
    return;
  }
  dlg.GetValues(s.m_font, s.m_fontSize, s.m_penColor, s.m_fillColor, s.m_fill, s.m_label);
  m_textAccepted = 1;
  if (!m_creating) FitBoxToText(hdc);
  if (s.m_font.lfOutPrecision != OUT_STROKE_PRECIS) {
    // While parked the turn is always none: parking it again would only lose the kept one.
    if (!m_parked) {
      m_parkedCos = s.m_cos;
      m_parkedSin = s.m_sin;
      m_parked = 1;
    }
    s.m_cos = 1.0;
    s.m_sin = 0.0;
  } else if (m_parked) {
    s.m_cos = m_parkedCos;
    s.m_sin = m_parkedSin;
    m_parkedCos = 1.0;
    m_parkedSin = 0.0;
    m_parked = 0;
  }
}
