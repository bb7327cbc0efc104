#include "AnnScale.h"

#include <algorithm>
#include <cmath>

CAnnScale::CAnnScale() { m_ticks.fill(CPoint(kClearedX, 0)); }

int CAnnScale::TicksOfDivide(int divide) {
  switch (divide) {
    case 1: return 2;
    case 2: return 3;
    case 4: return 5;
    case 5: return 6;
    case 10: return 11;
    default: return 0;  // code 0 builds its first tick only for the sizes it sets
  }
}

void CAnnScale::ClearTicksFrom(int first) {
  for (size_t i = static_cast<size_t>(std::max(first, 0)) * 4; i < m_ticks.size(); ++i) m_ticks[i].x = kClearedX;
}

void CAnnScale::BuildTick(SHORT index, SHORT kind, int x, int y) {
  const int L = BarLength();
  m_nTickHalfWidth = L <= 20     ? 0
                     : L <= 50   ? 1
                     : L <= 100  ? 2
                     : L <= 500  ? 3
                     : L <= 1000 ? 5
                     : L <= 2000 ? 8
                                 : 10;
  const int p = m_info.m_penWidth;
  int f;
  switch (kind) {
    case 0:
      f = static_cast<int>(p * 1.2 + 1.0);
      m_nLabelLift = static_cast<int>(f * 0.5);
      break;
    case 1: f = p + 1; break;
    case 2: f = static_cast<int>(p * 0.8 + 1.0); break;
    default: f = static_cast<int>(p * 1.5 + 1.0); break;
  }
  if (index < 0 || index >= kTickPolygons) return;
  const int w = m_nTickHalfWidth;
  const size_t at = static_cast<size_t>(index) * 4;
  m_ticks[at] = CPoint(x - w, y - f);
  m_ticks[at + 1] = CPoint(x - w, y + f);
  m_ticks[at + 2] = CPoint(x + w, y + f);
  m_ticks[at + 3] = CPoint(x + w, y - f);
}

void CAnnScale::Layout() {
  const int x0 = PointAt(0).x, x2 = PointAt(2).x, L = BarLength();
  const int divide = m_info.m_divide;
  const int built = TicksOfDivide(divide);
  if (divide == 0 || built > 0) BuildTick(0, 0, x0, 0);
  if (built >= 2) BuildTick(1, 0, x2, 0);
  if (built == 3 || built == 5 || built == 11) BuildTick(2, 1, 0, 0);
  if (divide == 4) {
    const int d = L / 4;
    BuildTick(3, 2, -d, 0);
    BuildTick(4, 2, d, 0);
  } else if (divide == 5) {
    const int d = L / 5;
    BuildTick(2, 2, x0 + d, 0);
    BuildTick(3, 2, x0 + 2 * d, 0);
    BuildTick(4, 2, x2 - 2 * d, 0);
    BuildTick(5, 2, x2 - d, 0);
  } else if (divide == 10) {
    const int d = L / 10;
    const int at[] = {x0 + d, x0 + 2 * d, -2 * d, -d, d, 2 * d, x2 - 2 * d, x2 - d};
    for (SHORT i = 0; i < 8; ++i) BuildTick(static_cast<SHORT>(3 + i), 2, at[i], 0);
  }
  ClearTicksFrom(built);
  m_nTicksBuilt = built;
}

void CAnnScale::Draw(HDC hdc, double) {
  SetHandleSizeFromZoom();
  const CAnnObjInfo& s = m_info;
  if (s.m_points.size() < 4) return;
  auto toImage = [this](std::initializer_list<CPoint> local) {
    std::array<POINT, 4> image{};
    size_t i = 0;
    for (CPoint p : local) image[i++] = LocalToImage(p);
    return image;
  };

  CPen linePen(PS_SOLID, 1, s.m_penColor), fillPen(PS_SOLID, 1, s.m_fillColor);
  CBrush lineBrush(s.m_penColor), fillBrush(s.m_fillColor);
  const bool filled = s.m_fill == 1;
  HGDIOBJ oldBrush = SelectObject(hdc, filled ? static_cast<HGDIOBJ>(fillBrush) : GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(hdc, filled ? static_cast<HGDIOBJ>(fillPen) : GetStockObject(NULL_PEN));
  SetBkMode(hdc, filled ? OPAQUE : TRANSPARENT);
  SetBkColor(hdc, s.m_fillColor);
  SetTextColor(hdc, s.m_penColor);
  SetTextAlign(hdc, TA_BOTTOM | TA_CENTER);
  LOGFONTA font = s.m_font;

  // The box: around bar and label, its margins growing with the bar.
  const int L = BarLength();
  const double f = L <= 500 ? 1.5 : L <= 1500 ? 2.0 : 2.5;
  const int m = 2 * m_nTickHalfWidth;
  const int v = static_cast<int>(m_nLabelLift * f + 0.5);
  const int a = static_cast<int>(font.lfHeight * f + 0.5);
  const CPoint p0 = s.m_points[0], p1 = s.m_points[1], p2 = s.m_points[2], p3 = s.m_points[3];
  const int top = std::min(p0.y - v, p0.y + a);
  m_nBoxHeight = std::abs((p1.y + v) - top);
  const auto box = toImage({CPoint(p0.x - m, top), CPoint(p1.x - m, p1.y + v), CPoint(p2.x + m, p2.y + v),
                            CPoint(p3.x + m, top)});
  Polygon(hdc, box.data(), 4);

  SelectObject(hdc, linePen);
  SelectObject(hdc, lineBrush);
  const int half = s.m_penWidth / 2;
  const auto bar = toImage({CPoint(p0.x, -half), CPoint(p0.x, half), CPoint(p2.x, half), CPoint(p2.x, -half)});
  const CPoint anchor = LocalToImage(CPoint(0, -half - m_nLabelLift));
  // The label runs along the bar, whichever way it is turned.
  const double angle = -std::atan2(bar[2].y - bar[1].y, bar[2].x - bar[1].x) * 180.0 / 3.141592654;
  font.lfEscapement = static_cast<LONG>(angle * 10);
  HFONT labelFont = CreateFontIndirectA(&font);
  HGDIOBJ oldFont = SelectObject(hdc, labelFont);
  TextOutA(hdc, anchor.x, anchor.y, s.m_label, s.m_label.GetLength());
  SelectObject(hdc, oldFont);
  DeleteObject(labelFont);

  Polygon(hdc, bar.data(), 4);
  for (int i = 0; i < m_nTicksBuilt; ++i) {
    const CPoint* c = &m_ticks[static_cast<size_t>(i) * 4];
    const auto tick = toImage({c[0], c[1], c[2], c[3]});
    Polygon(hdc, tick.data(), 4);
  }
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
}

void CAnnScale::DrawOnDC(CDC* pDC, double scale) {
  if (pDC) Draw(pDC->GetSafeHdc(), scale);
}

void CAnnScale::DrawPoints(HDC hdc, const std::vector<CPoint>& points) {
  if (points.size() < 3) return;
  const int half = m_info.m_penWidth / 2;
  const int x0 = points[0].x, x2 = points[2].x;
  POINT image[4];
  const CPoint local[] = {CPoint(x0 - 1, -half - 1), CPoint(x0 - 1, half + 1), CPoint(x2 + 1, half + 1),
                          CPoint(x2 + 1, -half - 1)};
  for (int i = 0; i < 4; ++i) image[i] = LocalToImage(local[i]);
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(WHITE_BRUSH));
  Polygon(hdc, image, 4);
  SelectObject(hdc, oldBrush);
}

void CAnnScale::DrawXor(HDC hdc) {
  CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  const int oldRop = SetROP2(hdc, R2_NOT);
  DrawPoints(hdc, m_info.m_rubberPoints);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
}

void CAnnScale::DrawHandles(HDC hdc) {
  const std::vector<CPoint>& points = m_info.m_points;
  if (points.empty()) return;
  std::vector<POINT> window = ToImagePoints(points);
  for (POINT& p : window) p = ImageToWindow(p);
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(WHITE_BRUSH));
  const int oldRop = SetROP2(hdc, R2_NOT);
  for (POINT w : window) Rectangle(hdc, w.x - 4, w.y - 4, w.x + 4, w.y + 4);
  CPen dotted(PS_DOT, 1, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(hdc, dotted);
  const int oldBkMode = SetBkMode(hdc, TRANSPARENT);
  MoveToEx(hdc, window[0].x, window[0].y, nullptr);
  for (size_t i = 1; i < window.size(); ++i) LineTo(hdc, window[i].x, window[i].y);
  LineTo(hdc, window[0].x, window[0].y);
  SetBkMode(hdc, oldBkMode);
  SelectObject(hdc, oldPen);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldBrush);
}

int CAnnScale::HitTest(int x, int y) {
  const CPoint p = ImageToLocal(CPoint(x, y));
  const int corner = HitCorner(p);
  if (corner >= 1 && corner <= 4 && m_handlesShown) return corner;
  double left, right, miny, bottom;
  if (!Span(left, right, miny, bottom)) return -1;
  const double top = static_cast<int>(bottom - m_nBoxHeight * 0.5);
  const double t = HitTolerance();
  return left - t <= p.x && p.x <= right + t && top - t <= p.y && p.y <= bottom + t ? 6 : -1;
}

void CAnnScale::OnButtonDown(HDC hdc, int, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (m_creating) return;
  m_hitHandle = HitTest(point.x, point.y);
  if (m_hitHandle < 0) {
    m_selected = 0;
    return;
  }
  m_selected = 1;
  SaveState();
  m_anchor = point;
  DrawXor(hdc);
}

void CAnnScale::OnMouseMove(HDC hdc, UINT flags, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (!(flags & MK_LBUTTON) || m_creating) return;
  // Every hit, a corner handle too, moves the whole bar.
  if (m_hitHandle >= 1 && m_hitHandle <= 7) Move(hdc, point);
}

void CAnnScale::OnButtonUp(HDC, UINT, CPoint, double) {
  SetHandleSizeFromZoom();
  if (!m_creating && m_selected == 1) {
    std::vector<CPoint>& points = m_info.m_points;
    const std::vector<CPoint>& working = m_info.m_rubberPoints;
    for (size_t i = 0; i < 4 && i < points.size() && i < working.size(); ++i) points[i] = working[i];
    if (points.size() >= 3 && std::abs(points[0].x - points[2].x) < 3 && std::abs(points[0].y - points[2].y) < 3)
      RestoreState();
    m_creating = 0;
    m_selected = 1;
    Layout();
  }
  ClearAnchor();
}
