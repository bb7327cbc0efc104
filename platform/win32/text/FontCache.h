// Realised fonts shared by every font object with the same look: a font is made
// real once per distinct LOGFONT (escapement aside) and its glyphs are kept.
#pragma once
#include <memory>

#include "text/RealizedFont.h"

namespace plat::text {

// The test font when the setting FONT is "test", else an installed font.
std::shared_ptr<RealizedFont> Realize(const LOGFONTA& lf);

}  // namespace plat::text
