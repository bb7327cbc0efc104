// The geometry of a workbook's tab strip and the fitting of tab labels, apart from the
// windows so that both can be worked out for any client rectangle.
#pragma once
#include <afxwin.h>

namespace sec_workbook {

// The fixed measures of every tab.
struct TabMetrics {
  int width = 100;             // current width of every tab
  int height = 23;
  int bevel = 2;               // size of the cut corners
  int activeExtraWidth = 4;    // how much wider the raised tab is
  int activeExtraHeight = 2;   // how much taller the raised tab is
};

constexpr int kTabPoints = 7;
constexpr int kIconSize = 16;

// (client width + 5) / sheets, at most maxWidth; without sheets, maxWidth.
int TabWidth(int clientWidth, int sheets, int maxWidth);

// The seven points of the tab at `position` (visible tabs before it) under the client
// rectangle `client` (workbook client coordinates); a raised tab is wider and deeper.
void TabPolygon(const CRect& client, int position, BOOL raised, const TabMetrics& m, POINT pts[kTabPoints]);

// The rectangle a label is drawn in, right of an icon of `iconWidth`.
CRect LabelRect(const POINT pts[kTabPoints], int iconWidth);

// The band the tabs hang in, from the client's left to right edge.
CRect StripRect(const CRect& client, const TabMetrics& m);

// The part of the strip the tab at `position` can cover (raised or not); to the strip's
// right end `right` when that is not 0.
CRect TabArea(const CRect& client, int position, const TabMetrics& m, int right = 0);

// Whether `point` lies inside the tab outline.
BOOL PtInTab(const POINT pts[kTabPoints], CPoint point);

// The label as drawn in `width` pixels with the DC's font: a label of 4 or more
// characters that is too wide loses characters from its end, whole characters at a time,
// and ends in "..." until it fits (at least "..." is left); shorter labels stay whole.
CString FitLabel(CDC& dc, const CString& label, int width);

}  // namespace sec_workbook
