// A picture row of a Bayer mosaic built by the codes of its columns: the even columns
// share one code and the odd columns another, so a kernel gives the rule of each code
// for one pixel (edges, with mirrored neighbours) and for eight (the inside, every lane
// as if of that code), and the row takes each lane from the rule of its column.
#pragma once
#include "BayerMosaic.h"
#include "Lanes.h"
#include "PlanarRow.h"

namespace vexcam {

struct EightColours {
  lanes::Lanes b, g, r;
};

// `Kernel` has `template <int kCode> static void One(rows, PlanarRow&, x, left, right)`
// and `template <int kCode> static EightColours Eight(rows, x)`.
template <class Kernel, int kEven, int kOdd, class Rows>
void CodedRow(const Rows rows, PlanarRow& out, LONG width) {
  auto one = [&](LONG x, LONG left, LONG right) {
    if (x & 1)
      Kernel::template One<kOdd>(rows, out, x, left, right);
    else
      Kernel::template One<kEven>(rows, out, x, left, right);
  };
  one(0, 1, 1);
  one(1, 0, Reflect(2, width));
  LONG x = 2;
  for (; x + 8 <= width - 1; x += 8) {
    using namespace lanes;
    const EightColours e = Kernel::template Eight<kEven>(rows, x), o = Kernel::template Eight<kOdd>(rows, x);
    Store(out.Blue() + x, Select(EvenLanes(), e.b, o.b));
    Store(out.Green() + x, Select(EvenLanes(), e.g, o.g));
    Store(out.Red() + x, Select(EvenLanes(), e.r, o.r));
  }
  for (; x < width; ++x) one(x, x - 1, Reflect(x + 1, width));
}

template <class Kernel, int kEven, class Rows>
void CodedRowOdd(int odd, const Rows rows, PlanarRow& out, LONG width) {
  switch (odd) {
    case kBlue: return CodedRow<Kernel, kEven, kBlue>(rows, out, width);
    case kRed: return CodedRow<Kernel, kEven, kRed>(rows, out, width);
    case kGreen1: return CodedRow<Kernel, kEven, kGreen1>(rows, out, width);
    default: return CodedRow<Kernel, kEven, kGreen2>(rows, out, width);
  }
}

// Row `r` of the mosaic: the codes of its even and odd columns as the rules see them.
template <class Kernel, class Rows>
void CodedRowOf(const BayerMosaic& m, LONG r, const Rows rows, PlanarRow& out, LONG width) {
  const int odd = m.mapped[r & 1][1];
  switch (m.mapped[r & 1][0]) {
    case kBlue: return CodedRowOdd<Kernel, kBlue>(odd, rows, out, width);
    case kRed: return CodedRowOdd<Kernel, kRed>(odd, rows, out, width);
    case kGreen1: return CodedRowOdd<Kernel, kGreen1>(odd, rows, out, width);
    default: return CodedRowOdd<Kernel, kGreen2>(odd, rows, out, width);
  }
}

}  // namespace vexcam
