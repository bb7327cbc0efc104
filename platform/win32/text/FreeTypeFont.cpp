#include "text/FreeTypeFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace plat::text {
namespace {

// One library for the process; opening and closing faces is serialised on it.
std::mutex g_libraryMutex;
FT_Library Library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) l = nullptr;
    return l;
  }();
  return lib;
}

// Columns a bold made from a regular file grows by: one at the sizes of the user interface,
// more as the characters grow, about a twenty-fourth of the character height.
int EmboldenWidth(double em) { return std::max(1, static_cast<int>(em + 12) / 24); }

}  // namespace

struct FreeTypeFont::Face {
  FT_Face face = nullptr;
  static std::unique_ptr<Face> Open(const FaceFile& file) {
    std::lock_guard lock(g_libraryMutex);
    if (!Library() || file.path.empty()) return nullptr;
    auto f = std::make_unique<Face>();
    if (FT_New_Face(Library(), file.path.c_str(), file.index, &f->face) != 0) return nullptr;
    return f;
  }
  ~Face() {
    std::lock_guard lock(g_libraryMutex);
    if (face) FT_Done_Face(face);
  }
};

FreeTypeFont::~FreeTypeFont() = default;

std::unique_ptr<FreeTypeFont> FreeTypeFont::Create(const LOGFONTA& lf, bool japaneseLocale) {
  std::string faceName(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE - 1));
  int weight = lf.lfWeight ? static_cast<int>(lf.lfWeight) : FW_NORMAL;
  FaceFile file = MatchFace(faceName, weight, lf.lfItalic != 0, lf.lfCharSet, lf.lfPitchAndFamily);
  auto face = Face::Open(file);
  if (!face) return nullptr;
  FT_Face f = face->face;

  std::unique_ptr<FreeTypeFont> font(new FreeTypeFont());
  const double upem = f->units_per_EM ? f->units_per_EM : 1000;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
  // Windows sizes a cell by the OS/2 "win" extents; fonts without the table use hhea.
  double winAscent = os2 && os2->usWinAscent ? os2->usWinAscent : f->ascender;
  double winDescent = os2 && os2->usWinAscent ? os2->usWinDescent : -f->descender;
  if (winAscent + winDescent <= 0) winAscent = upem, winDescent = 0;
  double em;
  if (lf.lfHeight < 0)
    em = -static_cast<double>(lf.lfHeight);
  else if (lf.lfHeight > 0)
    em = lf.lfHeight * upem / (winAscent + winDescent);
  else
    em = 12;
  em = std::clamp(em, 1.0, double(kMaxSize));
  double emX = em;
  if (lf.lfWidth > 0 && os2 && os2->xAvgCharWidth > 0)
    emX = std::min(lf.lfWidth * upem / os2->xAvgCharWidth, double(kMaxSize));
  if (FT_Set_Char_Size(f, std::lround(emX * 64), std::lround(em * 64), 72, 72) != 0) return nullptr;
  const bool synthBold = weight >= FW_SEMIBOLD && !file.bold;
  const int boldExtra = synthBold ? EmboldenWidth(em) : 0;

  auto& m = font->metrics_;
  const double sy = em / upem, sx = emX / upem;
  m.ascent = static_cast<int>(std::lround(winAscent * sy));
  m.descent = static_cast<int>(std::lround(winDescent * sy));
  m.height = m.ascent + m.descent;
  m.internalLeading = std::max(0, m.height - static_cast<int>(std::lround(em)));
  m.externalLeading = std::max(0, static_cast<int>(std::lround((f->height - winAscent - winDescent) * sy)));
  m.aveCharWidth = os2 && os2->xAvgCharWidth ? static_cast<int>(std::lround(os2->xAvgCharWidth * sx))
                                             : static_cast<int>(std::lround(emX / 2));
  m.maxCharWidth = static_cast<int>(std::lround(f->max_advance_width * sx));
  // Every emboldened character is wider by the same columns, and so are the averages.
  m.aveCharWidth += boldExtra;
  m.maxCharWidth += boldExtra;
  m.weight = weight;
  m.italic = lf.lfItalic != 0;
  m.underline = lf.lfUnderline != 0;
  m.strikeOut = lf.lfStrikeOut != 0;
  m.fixedPitch = FT_IS_FIXED_WIDTH(f);
  m.charSet = lf.lfCharSet;
  m.family = lf.lfPitchAndFamily & 0xF0;
  m.underlineOffset = std::max(1, static_cast<int>(std::lround(-f->underline_position * sy)));
  m.underlineThickness = std::max(1, static_cast<int>(std::lround(f->underline_thickness * sy)));
  if (os2 && os2->yStrikeoutSize > 0) {
    m.strikeOffset = -static_cast<int>(std::lround(os2->yStrikeoutPosition * sy));
    m.strikeThickness = std::max(1, static_cast<int>(std::lround(os2->yStrikeoutSize * sy)));
  } else {
    m.strikeOffset = -m.ascent / 3;
  }
  font->faceName_ = faceName.empty() ? file.family : faceName;
  font->face_ = std::move(face);
  font->emX_ = emX;
  font->emY_ = em;
  font->weight_ = weight;
  font->italic_ = lf.lfItalic != 0;
  font->boldExtra_ = boldExtra;
  font->synthItalic_ = lf.lfItalic && !file.italic;
  font->antialias_ = lf.lfQuality != NONANTIALIASED_QUALITY;
  font->pitchAndFamily_ = lf.lfPitchAndFamily;
  // Japanese faces draw 0x5C as the yen sign, as the Japanese code page reads it; elsewhere
  // the character is a backslash (paths), drawn from the Western face of the same kind.
  font->westernBackslash_ = !japaneseLocale && FT_Get_Char_Index(f, U'\u3042') != 0;
  return font;
}

void FreeTypeFont::OpenOnce(std::unique_ptr<Face>& face, bool& tried, const FaceFile& file, int& boldExtra) {
  if (tried) return;
  tried = true;
  face = Face::Open(file);
  if (face && FT_Set_Char_Size(face->face, std::lround(emX_ * 64), std::lround(emY_ * 64), 72, 72) != 0) face.reset();
  // The other face has its own file: it may need emboldening when the main face has a bold file.
  boldExtra = weight_ >= FW_SEMIBOLD && !file.bold ? EmboldenWidth(emY_) : 0;
}

Glyph FreeTypeFont::Render(char32_t c) {
  FT_Face f = face_->face;
  FT_UInt index = FT_Get_Char_Index(f, c);
  int boldExtra = boldExtra_;
  if (c == U'\\' && westernBackslash_) {
    OpenOnce(western_, westernTried_, MatchFace("", weight_, italic_, ANSI_CHARSET, pitchAndFamily_), westernBoldExtra_);
    if (western_) {
      if (FT_UInt i = FT_Get_Char_Index(western_->face, c)) f = western_->face, index = i, boldExtra = westernBoldExtra_;
    }
  } else if (index == 0 && c >= 0x80) {
    // Characters the font lacks come from the Japanese face, as font linking would.
    OpenOnce(fallback_, fallbackTried_, MatchFace("", weight_, italic_, SHIFTJIS_CHARSET), fallbackBoldExtra_);
    if (fallback_) {
      if (FT_UInt i = FT_Get_Char_Index(fallback_->face, c)) f = fallback_->face, index = i, boldExtra = fallbackBoldExtra_;
    }
  }
  Glyph g;
  FT_Int32 flags = antialias_ ? FT_LOAD_TARGET_NORMAL : (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
  if (FT_Load_Glyph(f, index, flags) != 0) return g;
  FT_GlyphSlot slot = f->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE && synthItalic_) FT_GlyphSlot_Oblique(slot);
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6) + boldExtra;
  if (FT_Render_Glyph(slot, antialias_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return g;
  const FT_Bitmap& bm = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  const int drawn = static_cast<int>(bm.width);
  g.width = drawn ? drawn + boldExtra : 0;
  g.rows = static_cast<int>(bm.rows);
  g.coverage.assign(static_cast<size_t>(g.width) * g.rows, 0);
  for (int y = 0; y < g.rows; ++y) {
    const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
    uint8_t* out = &g.coverage[static_cast<size_t>(y) * g.width];
    for (int x = 0; x < drawn; ++x) {
      const uint8_t v = bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0) : row[x];
      // Emboldening lays the glyph over itself shifted right by each extra column, as the
      // system's own bold simulation does: strokes grow thicker, the height stays.
      for (int k = 0; k <= boldExtra; ++k) out[x + k] = std::max(out[x + k], v);
    }
  }
  return g;
}

}  // namespace plat::text
