// Small pictures for the imaging tests.
#pragma once
#include <cstdint>

#include <gtest/gtest.h>

#include "imaging/Dib.h"
#include "imaging/ImageHolder.h"
#include "imaging/ImagingCore.h"

namespace imagingtest {

using plat::imaging::Dib;

// A picture whose every sample differs from its neighbours (a hash of position and seed).
inline Dib Noise(int w, int h, int bits = 24, uint32_t seed = 1) {
  Dib d = Dib::Create(w, h, bits);
  const int n = w * (bits / 8);
  for (int y = 0; y < h; ++y) {
    uint8_t* r = d.Row(y);
    for (int i = 0; i < n; ++i) {
      uint32_t v = (uint32_t(y) * 7919u + uint32_t(i) * 104729u) ^ (seed * 2654435761u);
      v ^= v >> 13;
      v *= 0x5bd1e995u;
      v ^= v >> 15;
      r[i] = uint8_t(v);
    }
  }
  return d;
}

// Every pixel the same colour (blue, green, red) or grey value.
inline Dib Flat(int w, int h, int bits, uint8_t b, uint8_t g = 0, uint8_t r = 0) {
  Dib d = Dib::Create(w, h, bits);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = d.Row(y);
    for (int x = 0; x < w; ++x) {
      if (bits == 8) {
        p[x] = b;
      } else {
        p[3 * x] = b;
        p[3 * x + 1] = g;
        p[3 * x + 2] = r;
      }
    }
  }
  return d;
}

// Smooth colour ramps, which JPEG keeps well.
inline Dib Gradient(int w, int h, int bits = 24) {
  Dib d = Dib::Create(w, h, bits);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = d.Row(y);
    for (int x = 0; x < w; ++x) {
      const uint8_t a = uint8_t(x * 255 / (w - 1)), b = uint8_t(y * 255 / (h - 1));
      if (bits == 8) {
        p[x] = uint8_t((a + b) / 2);
      } else {
        p[3 * x] = a;
        p[3 * x + 1] = b;
        p[3 * x + 2] = uint8_t(255 - a);
      }
    }
  }
  return d;
}

inline void SetPixel(Dib& d, int x, int y, uint8_t b, uint8_t g, uint8_t r) {
  uint8_t* p = d.Row(y) + 3 * x;
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

// Largest difference of any sample between two pictures of one shape.
inline int MaxDiff(const Dib& a, const Dib& b) {
  int m = 0;
  const int n = a.Width() * (a.Bits() / 8);
  for (int y = 0; y < a.Height(); ++y)
    for (int i = 0; i < n; ++i) {
      const int d = a.Row(y)[i] - b.Row(y)[i];
      m = d < 0 ? (-d > m ? -d : m) : (d > m ? d : m);
    }
  return m;
}

// Gives a control a copy of `d`, the way a stage takes a slot's picture.
inline void Give(plat::imaging::ImagingCore& core, const Dib& d) {
  plat::imaging::ImageHolder maker;
  ASSERT_TRUE(maker.Adopt(d.Clone()));
  ASSERT_EQ(core.SetBitmap(LONG(maker.Handle())), plat::imaging::status::kOk);
}

}  // namespace imagingtest
