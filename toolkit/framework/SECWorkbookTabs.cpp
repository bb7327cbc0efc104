#include "SECWorkbookTabs.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "text/Utf8.h"

namespace sec_workbook {

int TabWidth(int clientWidth, int sheets, int maxWidth) {
  if (sheets <= 0) return maxWidth;
  const int width = (clientWidth + 5) / sheets;
  return width < maxWidth ? width : maxWidth;
}

void TabPolygon(const CRect& client, int position, BOOL raised, const TabMetrics& m, POINT pts[kTabPoints]) {
  const int r = raised ? 1 : 0;
  const int x0 = position * m.width + client.left - r * (m.activeExtraWidth / 2);
  const int y0 = client.bottom + 4;
  pts[0] = {x0, y0};
  pts[1] = {x0, y0 + m.height - m.bevel};
  pts[2] = {x0 + m.bevel, pts[1].y + m.bevel + r * m.activeExtraHeight};
  pts[3] = {pts[2].x + m.width - 2 * m.bevel + r * m.activeExtraWidth, pts[2].y};
  pts[4] = {pts[3].x + m.bevel, pts[1].y};
  pts[5] = {pts[4].x, y0};
  pts[6] = {x0, y0};
}

CRect LabelRect(const POINT pts[kTabPoints], int iconWidth) {
  return CRect(pts[2].x + iconWidth + 3, pts[0].y, pts[4].x - 2, pts[3].y);
}

CRect StripRect(const CRect& client, const TabMetrics& m) {
  return CRect(client.left, client.bottom + 4, client.right, client.bottom + m.height + 8);
}

CRect TabArea(const CRect& client, int position, const TabMetrics& m, int right) {
  const int x0 = position * m.width + client.left;
  return CRect(x0 - 2, client.bottom + 4, right ? right : x0 + m.width + 2, client.bottom + m.height + 8);
}

BOOL PtInTab(const POINT pts[kTabPoints], CPoint point) {
  // The outline is convex: inside when on the inner side of every edge.
  int sign = 0;
  for (int i = 0; i < kTabPoints - 1; ++i) {
    const POINT a = pts[i];
    const POINT b = pts[i + 1];
    if (a.x == b.x && a.y == b.y) continue;
    const long long cross =
        static_cast<long long>(b.x - a.x) * (point.y - a.y) - static_cast<long long>(b.y - a.y) * (point.x - a.x);
    if (cross == 0) continue;
    const int s = cross > 0 ? 1 : -1;
    if (sign == 0) sign = s;
    else if (s != sign) return FALSE;
  }
  // On the outline itself: within the bounding box of the points.
  CRect box(pts[0].x, pts[0].y, pts[0].x, pts[0].y);
  for (int i = 1; i < kTabPoints; ++i) {
    box.left = std::min<int>(box.left, pts[i].x);
    box.right = std::max<int>(box.right, pts[i].x);
    box.top = std::min<int>(box.top, pts[i].y);
    box.bottom = std::max<int>(box.bottom, pts[i].y);
  }
  return point.x >= box.left && point.x < box.right && point.y >= box.top && point.y < box.bottom;
}

CString FitLabel(CDC& dc, const CString& label, int width) {
  // Where each character begins, so that a cut never splits one.
  const std::string_view text(static_cast<LPCSTR>(label), static_cast<size_t>(label.GetLength()));
  std::vector<size_t> starts;
  for (size_t pos = 0; pos < text.size();) {
    starts.push_back(pos);
    size_t length = 0;
    plat::text::DecodeAt(text, pos, &length);
    pos += length ? length : 1;
  }
  CString shown = label;
  // Each round drops one character: k characters of the label are kept before "...".
  for (size_t chars = starts.size(); chars >= 4 && dc.GetTextExtent(shown).cx > width; --chars) {
    const size_t bytes = starts[chars - 4];
    shown = CString(text.data(), static_cast<int>(bytes)) + "...";
  }
  return shown;
}

}  // namespace sec_workbook
