#include "imaging/ColorPlanes.h"

namespace plat::imaging {
namespace {

inline uint8_t ClampI(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// Lossless colour transform (integer lifting); Co and Cg lie in -255 .. 255.
struct Ycc {
  int y, co, cg;
};
inline Ycc Forward(int r, int g, int b) {
  const int co = r - b;
  const int t = b + (co >> 1);
  const int cg = g - t;
  return {t + (cg >> 1), co, cg};
}
inline uint8_t Half(int c) { return uint8_t((c + 256) >> 1); }
inline int Unhalf(int v) { return v * 2 - 256; }

bool ModeOk(int mode) { return mode == 0 || mode == 2; }

}  // namespace

Status SplitPlanes(const Dib& in, int mode, std::array<Dib, 3>* planes) {
  if (in.Empty()) return status::kNoImage;
  if (!ModeOk(mode)) return status::kInvalidArgument;
  std::array<Dib, 3> p;
  for (auto& d : p) {
    d = Dib::Create(in.Width(), in.Height(), 8);
    if (d.Empty()) return status::kNoMemory;
  }
  const int w = in.Width();
  for (int y = 0; y < in.Height(); ++y) {
    const uint8_t* s = in.Row(y);
    uint8_t* o0 = p[0].Row(y);
    uint8_t* o1 = p[1].Row(y);
    uint8_t* o2 = p[2].Row(y);
    for (int x = 0; x < w; ++x) {
      const int b = in.Bits() == 8 ? s[x] : s[3 * x];
      const int g = in.Bits() == 8 ? s[x] : s[3 * x + 1];
      const int r = in.Bits() == 8 ? s[x] : s[3 * x + 2];
      if (mode == 0) {
        o0[x] = uint8_t(b);
        o1[x] = uint8_t(g);
        o2[x] = uint8_t(r);
      } else {
        const Ycc c = Forward(r, g, b);
        o0[x] = Half(c.co);
        o1[x] = Half(c.cg);
        o2[x] = uint8_t(c.y);
      }
    }
  }
  *planes = std::move(p);
  return status::kOk;
}

Status MergePlanes(const std::array<const Dib*, 3>& planes, int mode, const Dib* original, Dib* out) {
  if (!ModeOk(mode)) return status::kInvalidArgument;
  for (const Dib* p : planes)
    if (!p || p->Empty()) return status::kNoImage;
  const int w = planes[0]->Width(), h = planes[0]->Height();
  for (const Dib* p : planes)
    if (p->Width() != w || p->Height() != h || p->Bits() != 8) return status::kInvalidArgument;
  if (original && (original->Empty() || original->Width() != w || original->Height() != h)) original = nullptr;
  Dib d = Dib::Create(w, h, 24);
  if (d.Empty()) return status::kNoMemory;
  for (int y = 0; y < h; ++y) {
    const uint8_t* a = planes[0]->Row(y);
    const uint8_t* b = planes[1]->Row(y);
    const uint8_t* c = planes[2]->Row(y);
    const uint8_t* o = original ? original->Row(y) : nullptr;
    uint8_t* t = d.Row(y);
    for (int x = 0; x < w; ++x, t += 3) {
      if (mode == 0) {
        t[0] = a[x];
        t[1] = b[x];
        t[2] = c[x];
        continue;
      }
      int co = Unhalf(a[x]), cg = Unhalf(b[x]);
      if (o) {
        const int ob = original->Bits() == 8 ? o[x] : o[3 * x];
        const int og = original->Bits() == 8 ? o[x] : o[3 * x + 1];
        const int orr = original->Bits() == 8 ? o[x] : o[3 * x + 2];
        const Ycc e = Forward(orr, og, ob);
        if (Half(e.co) == a[x]) co = e.co;
        if (Half(e.cg) == b[x]) cg = e.cg;
      }
      const int tt = c[x] - (cg >> 1);
      const int gg = cg + tt;
      const int bb = tt - (co >> 1);
      t[0] = ClampI(bb);
      t[1] = ClampI(gg);
      t[2] = ClampI(bb + co);
    }
  }
  *out = std::move(d);
  return status::kOk;
}

}  // namespace plat::imaging
