// An installed font rendered by FreeType, with synthetic bold and italic where the
// file has none, and a Japanese fallback face for characters the font lacks.
#pragma once
#include <memory>

#include "text/FaceMatcher.h"
#include "text/RealizedFont.h"

namespace plat::text {

class FreeTypeFont final : public RealizedFont {
 public:
  // Null when no font file can be opened. Outside the Japanese locale (`japaneseLocale`
  // false) a Japanese face's yen sign at 0x5C gives way to a Western backslash.
  static std::unique_ptr<FreeTypeFont> Create(const LOGFONTA& lf, bool japaneseLocale);
  ~FreeTypeFont() override;

 private:
  struct Face;
  FreeTypeFont() = default;
  Glyph Render(char32_t c) override;
  // Another face at the font's size, opened once on first use; `boldExtra` as below.
  void OpenOnce(std::unique_ptr<Face>& face, bool& tried, const FaceFile& file, int& boldExtra);

  std::unique_ptr<Face> face_, fallback_, western_;
  bool fallbackTried_ = false, westernTried_ = false;
  bool westernBackslash_ = false;  // 0x5C comes from the Western face
  BYTE pitchAndFamily_ = 0;
  double emX_ = 0, emY_ = 0;
  bool synthItalic_ = false, antialias_ = true;
  // Columns added to every glyph of a bold drawn from a regular file (0: none), for the
  // main face and for the fallback face.
  int boldExtra_ = 0, fallbackBoldExtra_ = 0, westernBoldExtra_ = 0;
  int weight_ = FW_NORMAL;
  bool italic_ = false;
};

}  // namespace plat::text
