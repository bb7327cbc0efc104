#include "AnnObj.h"

#include <algorithm>
#include <cmath>
#include <cstring>

CAnnObj::CAnnObjInfo::CAnnObjInfo() {
  m_font.lfHeight = -15;
  m_font.lfWeight = 400;
  m_font.lfCharSet = 128;  // Shift-JIS
  m_font.lfPitchAndFamily = 0x12;
  std::strncpy(m_font.lfFaceName, "ＭＳ Ｐゴシック", LF_FACESIZE - 1);
}

void CAnnObj::CAnnObjInfo::SetZoom(double zoom) {
  if (std::isfinite(zoom) && zoom > 0.0) m_zoom = zoom;
}

CPoint& CAnnObj::RotatePoint(CPoint& p) const {
  const double x = p.x, y = p.y;
  p = CPoint(static_cast<int>(x * m_info.m_cos - y * m_info.m_sin),
             static_cast<int>(y * m_info.m_cos + x * m_info.m_sin));
  return p;
}

CPoint& CAnnObj::UnrotatePoint(CPoint& p) const {
  const double x = p.x, y = p.y;
  p = CPoint(static_cast<int>(x * m_info.m_cos + y * m_info.m_sin),
             static_cast<int>(y * m_info.m_cos - x * m_info.m_sin));
  return p;
}

CPoint& CAnnObj::AddOrigin(CPoint& p) const {
  p.x += m_info.m_origin.x;
  p.y += m_info.m_origin.y;
  return p;
}

CPoint& CAnnObj::SubtractOrigin(CPoint& p) const {
  p.x -= m_info.m_origin.x;
  p.y -= m_info.m_origin.y;
  return p;
}

std::vector<POINT> CAnnObj::ToImagePoints(const std::vector<CPoint>& local, size_t count) const {
  std::vector<POINT> image;
  try {
    image.reserve(std::min(count, local.size()));
  } catch (const std::bad_alloc&) {
    return {};  // nothing is drawn rather than a part
  }
  for (size_t i = 0; i < local.size() && i < count; ++i) image.push_back(LocalToImage(local[i]));
  return image;
}

CPoint CAnnObj::ImageToWindow(CPoint q) const {
  return CPoint(static_cast<int>((q.x - m_info.m_scroll.x) / m_info.m_zoom),
                static_cast<int>((q.y - m_info.m_scroll.y) / m_info.m_zoom));
}

void CAnnObj::ApplyDragRotation(CPoint grabbed, CPoint mouse, CPoint pivot) {
  const double ux = grabbed.x - pivot.x, uy = grabbed.y - pivot.y;
  const double vx = mouse.x - pivot.x, vy = mouse.y - pivot.y;
  const double r = std::hypot(ux, uy) * std::hypot(vx, vy);
  // The mouse on the pivot, or a corner on its opposite one, has no angle: keep the turn.
  if (r == 0.0) return;
  const double c = (ux * vx + uy * vy) / r;
  const double s = (ux * vy - uy * vx) / r;
  const double cos0 = m_info.m_cos, sin0 = m_info.m_sin;
  m_info.m_cos = c * cos0 - s * sin0;
  m_info.m_sin = s * cos0 + c * sin0;
}

void CAnnObj::SaveState() { m_saved = m_info; }

void CAnnObj::RestoreState() { m_info = m_saved; }

int CAnnObj::Select(int x, int y, double) {
  m_selected = HitTest(x, y) >= 0 ? 1 : 0;
  return m_selected;
}
