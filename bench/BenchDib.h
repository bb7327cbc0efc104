// A memory DC over a 24-bit DIB section, the kind of picture the imaging control keeps
// (a full camera picture by default).
#pragma once
#include "BenchSupport.h"

struct Dib : bench::DibDc {
  explicit Dib(int w = 3840, int h = 3072) : DibDc(w, h) {}
};
