#include "text/TextPainter.h"

#include <algorithm>
#include <cmath>

#include "gdi/DeviceContext.h"
#include "text/FaceMatcher.h"
#include "text/FontObject.h"

namespace plat::text {
namespace {

constexpr uint8_t kPatCopy = 0xF0;

struct Mask {
  int left = 0, top = 0, width = 0, height = 0;  // placement (text space or device)
  std::vector<uint8_t> cov;
  uint8_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return cov[static_cast<size_t>(y) * width + x];
  }
};

void Bar(Mask& m, int x0, int x1, int y0, int rows) {
  for (int y = std::max(y0, m.top); y < std::min(y0 + rows, m.top + m.height); ++y)
    for (int x = std::max(x0, m.left); x < std::min(x1, m.left + m.width); ++x)
      m.cov[static_cast<size_t>(y - m.top) * m.width + (x - m.left)] = 255;
}

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

RECT Shifted(const RECT& r, POINT by) { return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

// Cos and sin of an angle in tenths of a degree, exact at the right angles so
// that text turned by 90 degrees keeps its pixels.
void Turn(LONG tenths, double& c, double& s) {
  LONG a = ((tenths % 3600) + 3600) % 3600;
  switch (a) {
    case 0: c = 1, s = 0; return;
    case 900: c = 0, s = 1; return;
    case 1800: c = -1, s = 0; return;
    case 2700: c = 0, s = -1; return;
    default: {
      double r = a * 3.14159265358979323846 / 1800.0;
      c = std::cos(r);
      s = std::sin(r);
    }
  }
}

// Coverage of a mask at a text-space point (pixel centres at +0.5), bilinear.
uint8_t Sample(const Mask& m, double u, double v) {
  double fu = u - m.left - 0.5, fv = v - m.top - 0.5;
  double iu = std::floor(fu), iv = std::floor(fv);
  double a = fu - iu, b = fv - iv;
  int x = static_cast<int>(iu), y = static_cast<int>(iv);
  double top = m.At(x, y) * (1 - a) + m.At(x + 1, y) * a;
  double bottom = m.At(x, y + 1) * (1 - a) + m.At(x + 1, y + 1) * a;
  return static_cast<uint8_t>(std::lround(top * (1 - b) + bottom * b));
}

// The text-space mask carried to device space: turned about the reference point.
Mask ToDevice(const Mask& m, POINT origin, double c, double s) {
  // Text space (u, v) lands at device (X + u c + v s, Y - u s + v c).
  double xs[4], ys[4];
  const double cu[4] = {double(m.left), double(m.left + m.width), double(m.left), double(m.left + m.width)};
  const double cv[4] = {double(m.top), double(m.top), double(m.top + m.height), double(m.top + m.height)};
  for (int i = 0; i < 4; ++i) {
    xs[i] = origin.x + cu[i] * c + cv[i] * s;
    ys[i] = origin.y - cu[i] * s + cv[i] * c;
  }
  Mask d;
  d.left = static_cast<int>(std::floor(*std::min_element(xs, xs + 4) + 1e-9));
  d.top = static_cast<int>(std::floor(*std::min_element(ys, ys + 4) + 1e-9));
  d.width = static_cast<int>(std::ceil(*std::max_element(xs, xs + 4) - 1e-9)) - d.left;
  d.height = static_cast<int>(std::ceil(*std::max_element(ys, ys + 4) - 1e-9)) - d.top;
  d.cov.assign(static_cast<size_t>(std::max(d.width, 0)) * std::max(d.height, 0), 0);
  for (int y = 0; y < d.height; ++y) {
    double dy = d.top + y + 0.5 - origin.y;
    // Only the columns whose sample can touch the mask: u and v are linear in x.
    double lo = 0, hi = d.width;
    auto limit = [&](double k, double b, double from, double to) {  // from <= k * x + b <= to
      if (std::abs(k) < 1e-12) {
        if (b < from || b > to) hi = lo - 1;
        return;
      }
      double x0 = (from - b) / k, x1 = (to - b) / k;
      if (x0 > x1) std::swap(x0, x1);
      lo = std::max(lo, std::floor(x0)), hi = std::min(hi, std::ceil(x1) + 1);
    };
    const double base = d.left + 0.5 - origin.x;  // dx at column 0
    limit(c, base * c - dy * s, m.left - 1.0, m.left + m.width + 1.0);
    limit(s, base * s + dy * c, m.top - 1.0, m.top + m.height + 1.0);
    for (int x = static_cast<int>(lo); x < static_cast<int>(hi); ++x) {
      double dx = base + x;
      d.cov[static_cast<size_t>(y) * d.width + x] = Sample(m, dx * c - dy * s, dx * s + dy * c);
    }
  }
  return d;
}

// Paints a device-space mask, limited to `clip` when there is one.
void Paint(gdi::DeviceContext& dc, const Mask& d, const std::optional<RECT>& clip, COLORREF color) {
  int x0 = d.left, y0 = d.top, x1 = d.left + d.width, y1 = d.top + d.height;
  if (clip) {
    x0 = std::max<int>(x0, clip->left), y0 = std::max<int>(y0, clip->top);
    x1 = std::min<int>(x1, clip->right), y1 = std::min<int>(y1, clip->bottom);
  }
  if (x1 <= x0 || y1 <= y0) return;
  dc.DrawCoverage(x0, y0, x1 - x0, y1 - y0, &d.cov[static_cast<size_t>(y0 - d.top) * d.width + (x0 - d.left)],
                  d.width, color);
}

}  // namespace

POINT PaintRun(gdi::DeviceContext& dc, FontObject& font, const TextRun& run, const PaintRequest& req) {
  RealizedFont& rf = font.Realized();
  const FontMetrics& fm = rf.Metrics();
  const int w = run.width;
  int x0 = 0;
  if ((req.align & TA_CENTER) == TA_CENTER)
    x0 = -w / 2;
  else if (req.align & TA_RIGHT)
    x0 = -w;
  int baseline = fm.ascent;
  if ((req.align & TA_BASELINE) == TA_BASELINE)
    baseline = 0;
  else if (req.align & TA_BOTTOM)
    baseline = -fm.descent;
  const RECT cell{x0, baseline - fm.ascent, x0 + w, baseline + fm.descent};

  // The ink box: the cell and whatever glyphs reach outside it (italics, bearings).
  RECT ink = cell;
  for (size_t i = 0; i < run.chars.size(); ++i) {
    const Glyph& g = rf.GlyphOf(run.chars[i]);
    if (g.coverage.empty()) continue;
    int gx = x0 + run.pens[i] + g.left, gy = baseline - g.top;
    ink.left = std::min<LONG>(ink.left, gx);
    ink.top = std::min<LONG>(ink.top, gy);
    ink.right = std::max<LONG>(ink.right, gx + g.width);
    ink.bottom = std::max<LONG>(ink.bottom, gy + g.rows);
  }
  double c, s;
  // A raster face cannot be turned: Windows draws it along the baseline whatever the escapement.
  Turn(IsRasterFace(font.LogFont().lfFaceName) ? 0 : font.LogFont().lfEscapement, c, s);

  // Only the part of the line that can land on visible pixels gets a mask, so a
  // huge font or a long line costs no more than the area it can touch.
  RECT visible = dc.Clip().Box();
  if (req.clip) visible = Intersect(visible, *req.clip);
  const POINT move{static_cast<LONG>(std::lround(w * c)), static_cast<LONG>(std::lround(-w * s))};
  if (visible.left >= visible.right || visible.top >= visible.bottom) return move;
  RECT view;  // the visible part in text space
  {
    double us[4], vs[4];
    const double xs[4] = {double(visible.left), double(visible.right), double(visible.left), double(visible.right)};
    const double ys[4] = {double(visible.top), double(visible.top), double(visible.bottom), double(visible.bottom)};
    for (int i = 0; i < 4; ++i) {
      double dx = xs[i] - req.origin.x, dy = ys[i] - req.origin.y;
      us[i] = dx * c - dy * s;
      vs[i] = dx * s + dy * c;
    }
    view = RECT{static_cast<LONG>(std::floor(*std::min_element(us, us + 4))) - 2,
                static_cast<LONG>(std::floor(*std::min_element(vs, vs + 4))) - 2,
                static_cast<LONG>(std::ceil(*std::max_element(us, us + 4))) + 2,
                static_cast<LONG>(std::ceil(*std::max_element(vs, vs + 4))) + 2};
  }
  ink = Intersect(ink, view);
  if (ink.left >= ink.right || ink.top >= ink.bottom) return move;

  Mask text;
  text.left = ink.left, text.top = ink.top;
  text.width = ink.right - ink.left, text.height = ink.bottom - ink.top;
  text.cov.assign(static_cast<size_t>(text.width) * text.height, 0);
  for (size_t i = 0; i < run.chars.size(); ++i) {
    const Glyph& g = rf.GlyphOf(run.chars[i]);
    int gx = x0 + run.pens[i] + g.left - text.left, gy = baseline - g.top - text.top;
    int fromX = std::max(0, -gx), toX = std::min(g.width, text.width - gx);
    int fromY = std::max(0, -gy), toY = std::min(g.rows, text.height - gy);
    for (int y = fromY; y < toY; ++y) {
      // Indexed from the row's start: a glyph clipped on the left has gx < 0.
      uint8_t* out = &text.cov[static_cast<size_t>(gy + y) * text.width];
      const uint8_t* in = &g.coverage[static_cast<size_t>(y) * g.width];
      for (int x = fromX; x < toX; ++x) out[gx + x] = static_cast<uint8_t>(std::min(255, out[gx + x] + in[x]));
    }
  }
  if (fm.underline) Bar(text, cell.left, cell.right, baseline + fm.underlineOffset, fm.underlineThickness);
  if (fm.strikeOut) Bar(text, cell.left, cell.right, baseline + fm.strikeOffset, fm.strikeThickness);
  for (auto [from, to] : req.underlines)
    Bar(text, x0 + from, x0 + to, baseline + fm.underlineOffset, fm.underlineThickness);

  const auto& state = dc.State();
  if (req.background) {
    if (s == 0 && c == 1) {
      RECT r = Shifted(cell, req.origin);
      if (req.clip) r = Intersect(r, *req.clip);
      if (r.left < r.right && r.top < r.bottom) dc.FillRect(r, dc.SolidFill(state.bkColor), kPatCopy);
    } else {
      RECT shown = Intersect(cell, view);
      Mask box;
      box.left = shown.left, box.top = shown.top;
      box.width = shown.right - shown.left, box.height = shown.bottom - shown.top;
      if (box.width > 0 && box.height > 0) {
        box.cov.assign(static_cast<size_t>(box.width) * box.height, 255);
        Paint(dc, ToDevice(box, req.origin, c, s), req.clip, state.bkColor);
      }
    }
  }
  if (!text.cov.empty()) {
    if (s == 0 && c == 1) {
      text.left += req.origin.x;
      text.top += req.origin.y;
      Paint(dc, text, req.clip, state.textColor);
    } else {
      Paint(dc, ToDevice(text, req.origin, c, s), req.clip, state.textColor);
    }
  }
  return move;
}

}  // namespace plat::text
