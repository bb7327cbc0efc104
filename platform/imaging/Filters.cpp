#include "imaging/Filters.h"

#include <algorithm>
#include <vector>

namespace plat::imaging {
namespace {

constexpr int kMaxSize = 15;

inline uint8_t ClampI(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

bool SizeOk(int size) { return size >= 1 && size <= kMaxSize && size % 2 == 1; }

// Sums over a size x size box of every sample, rows of the result packed at w * ch.
// Separable running sums: cost per sample does not grow with the size.
std::vector<int32_t> BoxSums(const Dib& in, int size) {
  const int w = in.Width(), h = in.Height(), ch = in.Bits() / 8, r = size / 2;
  const size_t rowLen = size_t(w) * ch;
  std::vector<int32_t> horiz(rowLen * h);
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = in.Row(y);
    int32_t* o = &horiz[rowLen * y];
    for (int c = 0; c < ch; ++c) {
      int32_t sum = 0;
      for (int k = -r; k <= r; ++k) sum += s[std::clamp(k, 0, w - 1) * ch + c];
      for (int x = 0; x < w; ++x) {
        o[x * ch + c] = sum;
        sum += s[std::min(x + r + 1, w - 1) * ch + c] - s[std::max(x - r, 0) * ch + c];
      }
    }
  }
  std::vector<int32_t> out(rowLen * h);
  std::vector<int32_t> sum(rowLen, 0);
  for (int k = -r; k <= r; ++k) {
    const int32_t* s = &horiz[rowLen * std::clamp(k, 0, h - 1)];
    for (size_t i = 0; i < rowLen; ++i) sum[i] += s[i];
  }
  for (int y = 0; y < h; ++y) {
    std::copy(sum.begin(), sum.end(), out.begin() + rowLen * y);
    const int32_t* add = &horiz[rowLen * std::min(y + r + 1, h - 1)];
    const int32_t* sub = &horiz[rowLen * std::max(y - r, 0)];
    for (size_t i = 0; i < rowLen; ++i) sum[i] += add[i] - sub[i];
  }
  return out;
}

Status Start(const Dib& in, Dib* out) {
  *out = Dib::Create(in.Width(), in.Height(), in.Bits(), false);
  if (out->Empty()) return status::kNoMemory;
  out->Palette() = in.Palette();
  return status::kOk;
}

Status Copy(const Dib& in, Dib* out) {
  *out = in.Clone();
  return out->Empty() ? status::kNoMemory : status::kOk;
}

// Median of nine by a fixed exchange network.
inline uint8_t Median9(uint8_t* p) {
  auto s = [p](int a, int b) {
    if (p[a] > p[b]) std::swap(p[a], p[b]);
  };
  s(1, 2); s(4, 5); s(7, 8); s(0, 1); s(3, 4); s(6, 7); s(1, 2); s(4, 5); s(7, 8);
  s(0, 3); s(5, 8); s(4, 7); s(3, 6); s(1, 4); s(2, 5); s(4, 7); s(4, 2); s(6, 4); s(4, 2);
  return p[4];
}

}  // namespace

Status Sharpen(const Dib& in, int value, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (value < -1000 || value > 1000) return status::kInvalidArgument;
  if (value == 0) return Copy(in, out);
  if (Status st = Start(in, out)) return st;
  const std::vector<int32_t> sums = BoxSums(in, 3);
  const size_t rowLen = size_t(in.Width()) * (in.Bits() / 8);
  // Fixed point with 9 * 1000 in the denominator keeps the mean exact.
  const int64_t gain = value > 0 ? int64_t(value) * 2 : value;
  for (int y = 0; y < in.Height(); ++y) {
    const uint8_t* s = in.Row(y);
    const int32_t* m = &sums[rowLen * y];
    uint8_t* o = out->Row(y);
    for (size_t i = 0; i < rowLen; ++i) {
      const int64_t diff9 = int64_t(s[i]) * 9 - m[i];  // 9 x (sample - mean)
      const int64_t num = int64_t(s[i]) * 9000 + diff9 * gain;
      o[i] = ClampI(int((num + (num >= 0 ? 4500 : -4500)) / 9000));
    }
  }
  return status::kOk;
}

Status AverageFilter(const Dib& in, int size, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (!SizeOk(size)) return status::kInvalidArgument;
  if (size == 1) return Copy(in, out);
  if (Status st = Start(in, out)) return st;
  const std::vector<int32_t> sums = BoxSums(in, size);
  const size_t rowLen = size_t(in.Width()) * (in.Bits() / 8);
  const int32_t n = size * size;
  for (int y = 0; y < in.Height(); ++y) {
    const int32_t* m = &sums[rowLen * y];
    uint8_t* o = out->Row(y);
    for (size_t i = 0; i < rowLen; ++i) o[i] = uint8_t((m[i] + n / 2) / n);
  }
  return status::kOk;
}

Status MedianFilter(const Dib& in, int size, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (!SizeOk(size)) return status::kInvalidArgument;
  if (size == 1) return Copy(in, out);
  if (Status st = Start(in, out)) return st;
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
        if (size == 3) {
          o[x * ch + c] = Median9(win.data());
        } else {
          std::nth_element(win.begin(), win.begin() + n / 2, win.begin() + n);
          o[x * ch + c] = win[n / 2];
        }
      }
    }
  }
  return status::kOk;
}

}  // namespace plat::imaging
