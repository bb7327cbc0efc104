#include "BilinearRows.h"

#include "CodedRow.h"

namespace vexcam {
namespace {

using namespace lanes;

// The measured rows around picture row r, by colour (each valid at its own columns). The
// rows go by value: held in registers, not read again after every byte written.
struct Neighbourhood {
  const BYTE *gUp, *g, *gDown, *bUp, *b, *bDown, *rUp, *r, *rDown;
};

struct Bilinear {
  // Pixel x of code `kCode` (as the rules see it), neighbours in columns xl and xr.
  template <int kCode>
  static void One(const Neighbourhood n, PlanarRow& out, LONG x, LONG xl, LONG xr) {
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

  // Eight pixels from x as if all were of code `kCode`.
  template <int kCode>
  static EightColours Eight(const Neighbourhood n, LONG x) {
    if constexpr (kCode == kBlue || kCode == kRed) {
      const BYTE* up = kCode == kBlue ? n.rUp : n.bUp;
      const BYTE* down = kCode == kBlue ? n.rDown : n.bDown;
      const Lanes other = (Load(up + x - 1) + Load(up + x + 1) + Load(down + x - 1) + Load(down + x + 1)) >> 2;
      const Lanes g = (Load(n.gUp + x) + Load(n.gDown + x) + Load(n.g + x - 1) + Load(n.g + x + 1)) >> 2;
      return kCode == kBlue ? EightColours{Load(n.b + x), g, other} : EightColours{other, g, Load(n.r + x)};
    } else if constexpr (kCode == kGreen1) {
      return {(Load(n.bUp + x) + Load(n.bDown + x)) >> 1, Load(n.g + x), (Load(n.r + x - 1) + Load(n.r + x + 1)) >> 1};
    } else {
      return {(Load(n.b + x - 1) + Load(n.b + x + 1)) >> 1, Load(n.g + x), (Load(n.rUp + x) + Load(n.rDown + x)) >> 1};
    }
  }
};

}  // namespace

void BilinearRows(const BayerMosaic& m, BYTE* bits, LONG width, LONG height, LONG stride, LONG first, LONG last,
                  LONG chromaRevision) {
  PlanarRow out(width);
  for (LONG r = first; r < last; ++r) {
    const LONG up = Reflect(r - 1, height), down = Reflect(r + 1, height);
    const Neighbourhood n{m.Green(up), m.Green(r), m.Green(down), m.Blue(up), m.Blue(r),
                          m.Blue(down), m.Red(up), m.Red(r), m.Red(down)};
    CodedRowOf<Bilinear>(m, r, n, out, width);
    if (chromaRevision != kNoChroma) out.Chroma(chromaRevision);
    out.Put(PictureRow(bits, stride, height, r));
  }
}

}  // namespace vexcam
