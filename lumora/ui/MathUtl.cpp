#include "MathUtl.h"

#include <cmath>

int CMathUtl::Round(double x) { return static_cast<int>(std::round(x)); }
