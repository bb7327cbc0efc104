#include "imaging/Filters.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plat::imaging {
namespace {

constexpr int kMaxSize = 15;

inline uint8_t ClampI(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

bool SizeOk(int size) { return size >= 1 && size <= kMaxSize && size % 2 == 1; }

// Horizontal running sums of one row over `size` samples, edges repeated. `pad` is
// scratch space for the row with r pixels repeated at each end.
void RowSums(const Dib& in, int y, int r, std::vector<uint8_t>& pad, int32_t* o) {
  const int w = in.Width(), ch = in.Bits() / 8;
  const size_t rowLen = size_t(w) * ch, edge = size_t(r) * ch;
  const uint8_t* s = in.Row(y);
  pad.resize(rowLen + 2 * edge);
  for (size_t k = 0; k < edge; ++k) {
    pad[k] = s[k % ch];
    pad[edge + rowLen + k] = s[rowLen - ch + k % ch];
  }
  std::copy(s, s + rowLen, pad.begin() + edge);
  const uint8_t* p = pad.data();
  const size_t span = size_t(2 * r + 1) * ch;
  for (int c = 0; c < ch; ++c) {
    int32_t sum = 0;
    for (size_t k = c; k < span; k += ch) sum += p[k];
    o[c] = sum;
  }
  // Each sum is the one a pixel before, plus the sample entering, minus the one leaving.
  for (size_t i = ch; i < rowLen; ++i) o[i] = o[i - ch] + p[i - ch + span] - p[i - ch];
}

// Calls emit(y, sums) for each row with the sums over the size x size box of every
// sample. Separable running sums: the cost per sample does not grow with the size,
// and only a few rows of sums are kept, whatever the picture's size.
template <class F>
void ForEachBoxRow(const Dib& in, int size, F emit) {
  const int h = in.Height(), r = size / 2;
  const size_t rowLen = size_t(in.Width()) * (in.Bits() / 8);
  std::vector<int32_t> sum(rowLen, 0), add(rowLen), sub(rowLen);
  std::vector<uint8_t> pad;
  for (int k = -r; k <= r; ++k) {
    RowSums(in, std::clamp(k, 0, h - 1), r, pad, add.data());
    for (size_t i = 0; i < rowLen; ++i) sum[i] += add[i];
  }
  for (int y = 0; y < h; ++y) {
    emit(y, sum.data());
    if (y + 1 == h) break;
    RowSums(in, std::min(y + r + 1, h - 1), r, pad, add.data());
    RowSums(in, std::max(y - r, 0), r, pad, sub.data());
    for (size_t i = 0; i < rowLen; ++i) sum[i] += add[i] - sub[i];
  }
}

Status Start(const Dib& in, Dib* out) {
  *out = Dib::Create(in.Width(), in.Height(), in.Bits());
  if (out->Empty()) return status::kNoMemory;
  out->Palette() = in.Palette();
  return status::kOk;
}

Status Copy(const Dib& in, Dib* out) {
  *out = in.Clone();
  return out->Empty() ? status::kNoMemory : status::kOk;
}

inline uint8_t Min3(uint8_t a, uint8_t b, uint8_t c) { return std::min(std::min(a, b), c); }
inline uint8_t Max3(uint8_t a, uint8_t b, uint8_t c) { return std::max(std::max(a, b), c); }
inline uint8_t Med3(uint8_t a, uint8_t b, uint8_t c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

// 3 x 3 median: each column of three is sorted once, and the median of the nine is
// the median of (largest low, middle middle, smallest high) of three neighbouring
// columns. Branch-free, so the compiler can run it on whole vectors.
void Median3(const Dib& in, Dib& out) {
  const int w = in.Width(), h = in.Height(), ch = in.Bits() / 8;
  const size_t rowLen = size_t(w) * ch;
  // One repeated pixel at each end of the sorted columns stands for the edge.
  std::vector<uint8_t> lo(rowLen + 2 * ch), mid(rowLen + 2 * ch), hi(rowLen + 2 * ch);
  for (int y = 0; y < h; ++y) {
    const uint8_t* a = in.Row(std::max(y - 1, 0));
    const uint8_t* b = in.Row(y);
    const uint8_t* c = in.Row(std::min(y + 1, h - 1));
    uint8_t* l = lo.data() + ch;
    uint8_t* m = mid.data() + ch;
    uint8_t* u = hi.data() + ch;
    for (size_t i = 0; i < rowLen; ++i) {
      l[i] = Min3(a[i], b[i], c[i]);
      m[i] = Med3(a[i], b[i], c[i]);
      u[i] = Max3(a[i], b[i], c[i]);
    }
    for (int k = 0; k < ch; ++k) {
      l[-ch + k] = l[k], m[-ch + k] = m[k], u[-ch + k] = u[k];
      l[rowLen + k] = l[rowLen - ch + k], m[rowLen + k] = m[rowLen - ch + k], u[rowLen + k] = u[rowLen - ch + k];
    }
    uint8_t* o = out.Row(y);
    for (size_t i = 0; i < rowLen; ++i)
      o[i] = Med3(Max3(l[i - ch], l[i], l[i + ch]), Med3(m[i - ch], m[i], m[i + ch]), Min3(u[i - ch], u[i], u[i + ch]));
  }
}

}  // namespace

Status Sharpen(const Dib& in, int value, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (value < -1000 || value > 1000) return status::kInvalidArgument;
  if (value == 0) return Copy(in, out);
  if (Status st = Start(in, out)) return st;
  const size_t rowLen = size_t(in.Width()) * (in.Bits() / 8);
  // out = s + (s - mean) x gain / 1000, with the mean kept as the 3 x 3 sum: numbers
  // over 9000 stay exact integers until the one multiplication by its inverse.
  const int gain = value > 0 ? value * 2 : value;
  const double inv = 1.0 / 9000.0;
  ForEachBoxRow(in, 3, [&](int y, const int32_t* m) {
    const uint8_t* s = in.Row(y);
    uint8_t* o = out->Row(y);
    for (size_t i = 0; i < rowLen; ++i) {
      const int num = s[i] * (9000 + 9 * gain) - m[i] * gain;
      o[i] = ClampI(int(std::floor(num * inv + 0.5)));
    }
  });
  return status::kOk;
}

Status AverageFilter(const Dib& in, int size, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (!SizeOk(size)) return status::kInvalidArgument;
  if (size == 1) return Copy(in, out);
  if (Status st = Start(in, out)) return st;
  const size_t rowLen = size_t(in.Width()) * (in.Bits() / 8);
  // Every possible sum divided (rounded) once, instead of a division per sample.
  const int32_t n = size * size;
  std::vector<uint8_t> mean(size_t(255) * n + 1);
  for (size_t v = 0; v < mean.size(); ++v) mean[v] = uint8_t((int32_t(v) + n / 2) / n);
  ForEachBoxRow(in, size, [&](int y, const int32_t* m) {
    uint8_t* o = out->Row(y);
    for (size_t i = 0; i < rowLen; ++i) o[i] = mean[size_t(m[i])];
  });
  return status::kOk;
}

Status MedianFilter(const Dib& in, int size, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (!SizeOk(size)) return status::kInvalidArgument;
  if (size == 1) return Copy(in, out);
  if (Status st = Start(in, out)) return st;
  if (size == 3) {
    Median3(in, *out);
    return status::kOk;
  }
  // Larger neighbourhoods: select the middle of each window.
  const int w = in.Width(), h = in.Height(), ch = in.Bits() / 8, r = size / 2;
  std::vector<const uint8_t*> rows(size);
  std::vector<int> cols(size);
  std::vector<uint8_t> win(size * size);
  for (int y = 0; y < h; ++y) {
    for (int k = 0; k < size; ++k) rows[k] = in.Row(std::clamp(y + k - r, 0, h - 1));
    uint8_t* o = out->Row(y);
    for (int x = 0; x < w; ++x) {
      for (int k = 0; k < size; ++k) cols[k] = std::clamp(x + k - r, 0, w - 1) * ch;
      for (int c = 0; c < ch; ++c) {
        int n = 0;
        for (int j = 0; j < size; ++j)
          for (int k = 0; k < size; ++k) win[n++] = rows[j][cols[k] + c];
        std::nth_element(win.begin(), win.begin() + n / 2, win.begin() + n);
        o[x * ch + c] = win[n / 2];
      }
    }
  }
  return status::kOk;
}

}  // namespace plat::imaging
