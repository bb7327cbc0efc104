#include "imaging/ColorAdjust.h"

#include <cmath>

namespace plat::imaging {
namespace {

inline uint8_t Clamp(double v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : std::lround(v)); }
inline uint8_t ClampI(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

void ApplyLut(Dib& d, const Lut& lut) {
  if (d.Empty()) return;
  const size_t n = size_t(d.Width()) * (d.Bits() / 8);
  for (int y = 0; y < d.Height(); ++y) {
    uint8_t* p = d.Row(y);
    for (size_t i = 0; i < n; ++i) p[i] = lut[p[i]];
  }
}

void Negative(Dib& d) {
  Lut lut;
  for (int i = 0; i < 256; ++i) lut[i] = uint8_t(255 - i);
  ApplyLut(d, lut);
}

Status Grayscale(const Dib& in, int bits, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (bits != 8 && bits != 24) return status::kInvalidArgument;
  Dib d = Dib::Create(in.Width(), in.Height(), bits);
  if (d.Empty()) return status::kNoMemory;
  const int w = in.Width();
  for (int y = 0; y < in.Height(); ++y) {
    const uint8_t* s = in.Row(y);
    uint8_t* o = d.Row(y);
    for (int x = 0; x < w; ++x) {
      const uint8_t g = in.Bits() == 8 ? s[x] : GreyOf(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
      if (bits == 8) {
        o[x] = g;
      } else {
        o[3 * x] = o[3 * x + 1] = o[3 * x + 2] = g;
      }
    }
  }
  *out = std::move(d);
  return status::kOk;
}

Status ChangeBrightness(Dib& d, int value) {
  if (d.Empty()) return status::kNoImage;
  if (value < -1000 || value > 1000) return status::kInvalidArgument;
  if (value == 0) return status::kOk;
  const int delta = int(std::lround(value * 255.0 / 1000.0));
  Lut lut;
  for (int i = 0; i < 256; ++i) lut[i] = ClampI(i + delta);
  ApplyLut(d, lut);
  return status::kOk;
}

Status ChangeContrast(Dib& d, int value) {
  if (d.Empty()) return status::kNoImage;
  if (value < -1000 || value > 1000) return status::kInvalidArgument;
  if (value == 0) return status::kOk;
  // Gathering is linear down to flat grey at -1000; spreading grows without bound
  // towards 1000, where every sample goes to black or white.
  const double f = value < 0 ? (1000.0 + value) / 1000.0 : value >= 1000 ? 1e6 : 1000.0 / (1000.0 - value);
  Lut lut;
  for (int i = 0; i < 256; ++i) lut[i] = Clamp(127.5 + (i - 127.5) * f);
  ApplyLut(d, lut);
  return status::kOk;
}

Status ApplyGamma(Dib& d, int value) {
  if (d.Empty()) return status::kNoImage;
  if (value <= 0) return status::kInvalidArgument;
  if (value == 100) return status::kOk;
  const double e = 100.0 / value;
  Lut lut;
  for (int i = 0; i < 256; ++i) lut[i] = Clamp(255.0 * std::pow(i / 255.0, e));
  ApplyLut(d, lut);
  return status::kOk;
}

Status ChangeSaturation(Dib& d, int value) {
  if (d.Empty()) return status::kNoImage;
  if (value < -1000 || value > 1000) return status::kInvalidArgument;
  if (value == 0 || d.Bits() == 8) return status::kOk;  // grey has no colour to change
  const int k = (1000 + value) * 1024 / 1000;           // 10-bit fixed point factor
  const int w = d.Width();
  for (int y = 0; y < d.Height(); ++y) {
    uint8_t* p = d.Row(y);
    for (int x = 0; x < w; ++x, p += 3) {
      const int g = GreyOf(p[2], p[1], p[0]);
      for (int c = 0; c < 3; ++c) p[c] = ClampI(g + (((p[c] - g) * k + 512) >> 10));
    }
  }
  return status::kOk;
}

Status ChangeHue(Dib& d, int degrees) {
  if (d.Empty()) return status::kNoImage;
  const int turn = degrees % 360;
  if (turn == 0 || d.Bits() == 8) return status::kOk;
  // Rotation about the grey axis of RGB space; each row of the matrix sums to one
  // (exactly, in fixed point), so grey pixels keep their value.
  const double a = turn * 3.14159265358979323846 / 180.0;
  const double c = std::cos(a), s = std::sin(a), t = (1.0 - c) / 3.0, r = std::sqrt(1.0 / 3.0) * s;
  const double m[3][3] = {{c + t, t - r, t + r}, {t + r, c + t, t - r}, {t - r, t + r, c + t}};  // R, G, B rows
  int mi[3][3];
  for (int i = 0; i < 3; ++i) {
    int sum = 0;
    for (int j = 0; j < 3; ++j) sum += mi[i][j] = int(std::lround(m[i][j] * 4096));
    mi[i][i] += 4096 - sum;
  }
  const int w = d.Width();
  for (int y = 0; y < d.Height(); ++y) {
    uint8_t* p = d.Row(y);
    for (int x = 0; x < w; ++x, p += 3) {
      const int R = p[2], G = p[1], B = p[0];
      const int nr = (mi[0][0] * R + mi[0][1] * G + mi[0][2] * B + 2048) >> 12;
      const int ng = (mi[1][0] * R + mi[1][1] * G + mi[1][2] * B + 2048) >> 12;
      const int nb = (mi[2][0] * R + mi[2][1] * G + mi[2][2] * B + 2048) >> 12;
      p[2] = ClampI(nr);
      p[1] = ClampI(ng);
      p[0] = ClampI(nb);
    }
  }
  return status::kOk;
}

}  // namespace plat::imaging
