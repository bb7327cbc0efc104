// Operations that change pixel values in place: tables per sample, grey, and the
// colour adjustments. A neutral value (0, or gamma 100) leaves the picture untouched.
#pragma once
#include <array>
#include <cstdint>

#include "imaging/Dib.h"
#include "imaging/Status.h"

namespace plat::imaging {

using Lut = std::array<uint8_t, 256>;

// Maps every sample (each of blue, green, red; or each grey sample) through `lut`.
void ApplyLut(Dib& d, const Lut& lut);
void Negative(Dib& d);
// 8: an 8-bit grey picture; 24: a 24-bit picture with equal blue, green and red.
Status Grayscale(const Dib& in, int bits, Dib* out);
// Grey value of a colour: Rec. 601 weights in 16-bit fixed point (grey stays grey).
inline uint8_t GreyOf(int r, int g, int b) { return uint8_t((19595 * r + 38470 * g + 7471 * b + 32768) >> 16); }

// -1000 .. 1000: moves every sample by value x 255 / 1000.
Status ChangeBrightness(Dib& d, int value);
// -1000 .. 1000: spreads (> 0) or gathers (< 0) samples about the middle grey.
Status ChangeContrast(Dib& d, int value);
// gamma x 100 (> 0): out = 255 (in / 255) ^ (100 / value); above 100 brightens.
Status ApplyGamma(Dib& d, int value);
// -1000 .. 1000: -1000 gives grey, 1000 doubles the distance from grey.
Status ChangeSaturation(Dib& d, int value);
// Turns the hues by `degrees` about the grey axis; grey stays grey.
Status ChangeHue(Dib& d, int degrees);

}  // namespace plat::imaging
