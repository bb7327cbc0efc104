#include "text/RealizedFont.h"

namespace plat::text {

TEXTMETRICA ToTextMetric(const FontMetrics& m) {
  TEXTMETRICA tm{};
  tm.tmHeight = m.height;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internalLeading;
  tm.tmExternalLeading = m.externalLeading;
  tm.tmAveCharWidth = m.aveCharWidth;
  tm.tmMaxCharWidth = m.maxCharWidth;
  tm.tmWeight = m.weight;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = m.italic;
  tm.tmUnderlined = m.underline;
  tm.tmStruckOut = m.strikeOut;
  // As on Windows, the "fixed pitch" bit is set for variable-pitch fonts.
  tm.tmPitchAndFamily =
      static_cast<BYTE>((m.fixedPitch ? 0 : TMPF_FIXED_PITCH) | (m.vector ? TMPF_VECTOR | TMPF_TRUETYPE : 0) | m.family);
  tm.tmCharSet = m.charSet;
  return tm;
}

const Glyph& RealizedFont::GlyphOf(char32_t c) {
  // Rendering happens under the lock: FreeType faces are not safe to share between threads.
  std::lock_guard lock(mutex_);
  auto it = glyphs_.find(c);
  if (it == glyphs_.end()) it = glyphs_.emplace(c, Render(c)).first;
  return it->second;
}

}  // namespace plat::text
