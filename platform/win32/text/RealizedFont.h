// A logical font made real at one pixel size: its metrics and its glyphs as
// coverage masks. Glyphs are rendered once and kept; all calls are thread-safe.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "WinGdiText.h"

namespace plat::text {

// The largest character height and width a font is made at, in pixels.
constexpr int kMaxSize = 4096;

struct FontMetrics {
  int height = 0, ascent = 0, descent = 0;  // cell: height = ascent + descent
  int internalLeading = 0, externalLeading = 0;
  int aveCharWidth = 0, maxCharWidth = 0;
  int weight = FW_NORMAL;
  bool italic = false, underline = false, strikeOut = false, fixedPitch = false, vector = true;
  BYTE charSet = ANSI_CHARSET;
  BYTE family = FF_DONTCARE;
  // Decorations, in pixels relative to the baseline (positive = below).
  int underlineOffset = 1, underlineThickness = 1;
  int strikeOffset = -4, strikeThickness = 1;
};

struct Glyph {
  int advance = 0;
  int left = 0;    // first coverage column relative to the pen
  int top = 0;     // rows from the first coverage row down to the baseline
  int width = 0, rows = 0;
  std::vector<uint8_t> coverage;  // width * rows, 0 = none, 255 = full
};

// The metrics as GetTextMetrics answers them.
TEXTMETRICA ToTextMetric(const FontMetrics& m);

class RealizedFont {
 public:
  virtual ~RealizedFont() = default;
  const FontMetrics& Metrics() const { return metrics_; }
  // The face name GetTextFace reports.
  const std::string& FaceName() const { return faceName_; }
  // The glyph of `c`; the reference stays valid as long as the font.
  const Glyph& GlyphOf(char32_t c);
  int Advance(char32_t c) { return GlyphOf(c).advance; }

 protected:
  virtual Glyph Render(char32_t c) = 0;
  FontMetrics metrics_;
  std::string faceName_;

 private:
  std::mutex mutex_;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

}  // namespace plat::text
