#include "BilinearRows.h"

#include "Lanes.h"
#include "PlanarRow.h"

namespace vexcam {
namespace {

using namespace lanes;

// The measured rows around picture row r, by colour (each valid at its own columns).
struct Neighbourhood {
  const BYTE *gUp, *g, *gDown, *bUp, *b, *bDown, *rUp, *r, *rDown;
};

// Pixel x of code `kCode` (as the rules see it), neighbours in columns xl and xr: the
// channels into the planar row.
template <int kCode>
inline void Pixel(const Neighbourhood n, PlanarRow& out, LONG x, LONG xl, LONG xr) {
  auto half = [](unsigned a, unsigned b) { return BYTE((a + b) / 2); };
  auto quarter = [](unsigned a, unsigned b, unsigned c, unsigned d) { return BYTE((a + b + c + d) >> 2); };
  BYTE b, g, r;
  if constexpr (kCode == kBlue || kCode == kRed) {
    const BYTE* up = kCode == kBlue ? n.rUp : n.bUp;
    const BYTE* down = kCode == kBlue ? n.rDown : n.bDown;
    const BYTE other = quarter(up[xl], up[xr], down[xl], down[xr]);
    g = quarter(n.gUp[x], n.gDown[x], n.g[xl], n.g[xr]);
    b = kCode == kBlue ? n.b[x] : other;
    r = kCode == kBlue ? other : n.r[x];
  } else if constexpr (kCode == kGreen1) {  // red beside, blue above and below
    b = half(n.bUp[x], n.bDown[x]), g = n.g[x], r = half(n.r[xl], n.r[xr]);
  } else {  // red above and below, blue beside
    b = half(n.b[xl], n.b[xr]), g = n.g[x], r = half(n.rUp[x], n.rDown[x]);
  }
  out.Blue()[x] = b, out.Green()[x] = g, out.Red()[x] = r;
}

struct Colours {
  Lanes b, g, r;
};

// Eight pixels from x as if all were of code `kCode`.
template <int kCode>
inline Colours Eight(const Neighbourhood n, LONG x) {
  if constexpr (kCode == kBlue || kCode == kRed) {
    const BYTE* up = kCode == kBlue ? n.rUp : n.bUp;
    const BYTE* down = kCode == kBlue ? n.rDown : n.bDown;
    const Lanes other = (Load(up + x - 1) + Load(up + x + 1) + Load(down + x - 1) + Load(down + x + 1)) >> 2;
    const Lanes g = (Load(n.gUp + x) + Load(n.gDown + x) + Load(n.g + x - 1) + Load(n.g + x + 1)) >> 2;
    return kCode == kBlue ? Colours{Load(n.b + x), g, other} : Colours{other, g, Load(n.r + x)};
  } else if constexpr (kCode == kGreen1) {
    return {(Load(n.bUp + x) + Load(n.bDown + x)) >> 1, Load(n.g + x), (Load(n.r + x - 1) + Load(n.r + x + 1)) >> 1};
  } else {
    return {(Load(n.b + x - 1) + Load(n.b + x + 1)) >> 1, Load(n.g + x), (Load(n.rUp + x) + Load(n.rDown + x)) >> 1};
  }
}

// A row whose even columns have code kEven and odd columns kOdd: the edges one pixel at
// a time, the inside eight at a time.
template <int kEven, int kOdd>
void Row(const Neighbourhood n, PlanarRow& out, LONG width) {
  auto pixel = [&](LONG x, LONG xl, LONG xr) {
    if (x & 1)
      Pixel<kOdd>(n, out, x, xl, xr);
    else
      Pixel<kEven>(n, out, x, xl, xr);
  };
  pixel(0, 1, 1);
  pixel(1, 0, Reflect(2, width));
  LONG x = 2;
  for (; x + 8 <= width - 1; x += 8) {
    const Colours e = Eight<kEven>(n, x), o = Eight<kOdd>(n, x);
    const Lanes even = EvenLanes();
    Store(out.Blue() + x, Select(even, e.b, o.b));
    Store(out.Green() + x, Select(even, e.g, o.g));
    Store(out.Red() + x, Select(even, e.r, o.r));
  }
  for (; x < width; ++x) pixel(x, x - 1, Reflect(x + 1, width));
}

template <int kEven>
void RowOf(int odd, const Neighbourhood n, PlanarRow& out, LONG width) {
  switch (odd) {
    case kBlue: return Row<kEven, kBlue>(n, out, width);
    case kRed: return Row<kEven, kRed>(n, out, width);
    case kGreen1: return Row<kEven, kGreen1>(n, out, width);
    default: return Row<kEven, kGreen2>(n, out, width);
  }
}

}  // namespace

void BilinearRows(const BayerMosaic& m, BYTE* bits, LONG width, LONG height, LONG stride, LONG first, LONG last,
                  LONG chromaRevision) {
  PlanarRow out(width);
  for (LONG r = first; r < last; ++r) {
    const LONG up = Reflect(r - 1, height), down = Reflect(r + 1, height);
    const Neighbourhood n{m.Green(up), m.Green(r), m.Green(down), m.Blue(up), m.Blue(r),
                          m.Blue(down), m.Red(up), m.Red(r), m.Red(down)};
    const int even = m.mapped[r & 1][0], odd = m.mapped[r & 1][1];
    switch (even) {
      case kBlue: RowOf<kBlue>(odd, n, out, width); break;
      case kRed: RowOf<kRed>(odd, n, out, width); break;
      case kGreen1: RowOf<kGreen1>(odd, n, out, width); break;
      default: RowOf<kGreen2>(odd, n, out, width); break;
    }
    if (chromaRevision != kNoChroma) out.Chroma(chromaRevision);
    out.Put(PictureRow(bits, stride, height, r));
  }
}

}  // namespace vexcam
