// The built-in chart the simulated camera looks at by default.
#include <algorithm>
#include <array>
#include <cstdint>

#include "Picture.h"

namespace plat::board {

namespace {
constexpr float kWhite = 0.85f, kBlack = 0.03f;

void Fill(Picture& p, int x0, int y0, int x1, int y1, float r, float g, float b) {
  x0 = std::max(x0, 0), y0 = std::max(y0, 0), x1 = std::min(x1, p.width), y1 = std::min(y1, p.height);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      size_t i = p.Index(x, y);
      p.red[i] = r, p.green[i] = g, p.blue[i] = b;
    }
}

// Rows of 5 x 7 pseudo-glyphs drawn from a fixed hash: reads like small print and gives
// the reconstruction and the sharpening something fine to work on.
void TextBlock(Picture& p, int x0, int y0, int x1, int y1, int dot) {
  uint32_t h = 0x9E3779B9u;
  int gw = 6 * dot, gh = 9 * dot;
  for (int y = y0; y + gh <= y1; y += gh + dot)
    for (int x = x0; x + gw <= x1; x += gw) {
      h ^= h << 13, h ^= h >> 17, h ^= h << 5;
      if ((h & 15) == 0) continue;  // a space between words
      for (int r = 0; r < 7; ++r) {
        uint32_t bits = (h >> (r * 3)) ^ (h >> (r + 7));
        for (int c = 0; c < 5; ++c)
          if ((bits >> c) & 1) Fill(p, x + c * dot, y + r * dot, x + (c + 1) * dot, y + (r + 1) * dot, kBlack, kBlack, kBlack);
      }
    }
}
}  // namespace

Picture MakeTestChart(int width, int height) {
  Picture p;
  p.Resize(width, height);
  Fill(p, 0, 0, width, height, 0.45f, 0.45f, 0.45f);

  // Colour bars across the top third.
  const std::array<std::array<float, 3>, 8> bars{{{kWhite, kWhite, kWhite}, {kWhite, kWhite, kBlack},
                                                  {kBlack, kWhite, kWhite}, {kBlack, kWhite, kBlack},
                                                  {kWhite, kBlack, kWhite}, {kWhite, kBlack, kBlack},
                                                  {kBlack, kBlack, kWhite}, {kBlack, kBlack, kBlack}}};
  int barsBottom = height * 30 / 100;
  for (int i = 0; i < 8; ++i)
    Fill(p, width * i / 8, 0, width * (i + 1) / 8, barsBottom, bars[i][0], bars[i][1], bars[i][2]);

  // Eleven grey steps from black to white, even in reflectance: the camera answers linearly
  // and its default tables pass that on, so the picture shows them as even steps and the
  // middle one as a mid grey.
  int stepsBottom = height * 45 / 100;
  for (int i = 0; i < 11; ++i) {
    float v = kBlack + (kWhite - kBlack) * float(i) / 10.f;
    Fill(p, width * i / 11, barsBottom, width * (i + 1) / 11, stepsBottom, v, v, v);
  }

  // Line groups of falling period, vertical lines on the left half, horizontal on the right.
  int linesBottom = height * 70 / 100;
  Fill(p, 0, stepsBottom, width, linesBottom, kWhite, kWhite, kWhite);
  const int periods[] = {16, 12, 8, 6, 4, 3, 2};
  int groups = 7, half = width / 2;
  for (int gi = 0; gi < groups; ++gi) {
    int per = periods[gi];
    int gx0 = half * gi / groups + 4, gx1 = half * (gi + 1) / groups - 4;
    for (int x = gx0; x < gx1; ++x)
      if ((x - gx0) % per < per / 2) Fill(p, x, stepsBottom + 8, x + 1, linesBottom - 8, kBlack, kBlack, kBlack);
    int gy0 = stepsBottom + 8, gy1 = linesBottom - 8;
    int hx0 = half + half * gi / groups + 4, hx1 = half + half * (gi + 1) / groups - 4;
    for (int y = gy0; y < gy1; ++y)
      if ((y - gy0) % per < per / 2) Fill(p, hx0, y, hx1, y + 1, kBlack, kBlack, kBlack);
  }

  // Small print on paper at the bottom, in three sizes.
  int textTop = linesBottom;
  Fill(p, 0, textTop, width, height, kWhite, kWhite * 0.97f, kWhite * 0.9f);
  TextBlock(p, 8, textTop + 6, width / 3, height - 4, 3);
  TextBlock(p, width / 3 + 8, textTop + 6, 2 * width / 3, height - 4, 2);
  TextBlock(p, 2 * width / 3 + 8, textTop + 6, width - 8, height - 4, 1);
  return p;
}

}  // namespace plat::board
