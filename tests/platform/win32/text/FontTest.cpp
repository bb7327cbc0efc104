#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Config.h"
#include "Faults.h"
#include "TextCanvas.h"
#include "text/FaceMatcher.h"
#include "text/FontCache.h"

namespace {

TEST(TestFont, MetricsFollowTheRequestedHeight) {
  struct Case {
    LONG height, width;
    LONG tmHeight, ascent, descent, leading, ave;
  } cases[] = {
      {-16, 0, 20, 16, 4, 4, 8},  // character height 16
      {20, 0, 20, 16, 4, 4, 8},   // cell height 20: the same font
      {0, 0, 15, 12, 3, 3, 6},    // default size
      {-12, 0, 15, 12, 3, 3, 6},
      {-7, 0, 9, 8, 1, 2, 3},
      {-16, 5, 20, 16, 4, 4, 5},  // explicit width
      {-2147483647 - 1, 0, 5120, 4096, 1024, 1024, 2048},  // held to the largest size
      {-8, 2147483647, 10, 8, 2, 2, 4096},
  };
  TextCanvas canvas(10, 10);
  for (const auto& c : cases) {
    LOGFONTA lf{};
    lf.lfHeight = c.height;
    lf.lfWidth = c.width;
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(canvas.dc(), f);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
    EXPECT_EQ(tm.tmHeight, c.tmHeight) << c.height;
    EXPECT_EQ(tm.tmAscent, c.ascent) << c.height;
    EXPECT_EQ(tm.tmDescent, c.descent) << c.height;
    EXPECT_EQ(tm.tmInternalLeading, c.leading) << c.height;
    EXPECT_EQ(tm.tmAveCharWidth, c.ave) << c.height;
    EXPECT_EQ(tm.tmMaxCharWidth, 2 * c.ave) << c.height;
    SelectObject(canvas.dc(), old);
    DeleteObject(f);
  }
}

TEST(TestFont, TextExtents) {
  struct Case {
    const char* text;
    int count;
    LONG cx;
  } cases[] = {
      {"", 0, 0},           {"A", 1, 8},           {"Hello", -1, 40},  {"Hello", 3, 24},
      {"日本", -1, 32},     {"a\xC3\xA9", -1, 16},  // é is narrow
      {"ＭＳ", -1, 32},     {"a b", -1, 24},
  };
  TextCanvas canvas(10, 10);
  TestFontIn font(canvas.dc(), -16);
  for (const auto& c : cases) {
    SIZE size{};
    int n = c.count < 0 ? static_cast<int>(strlen(c.text)) : c.count;
    ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), c.text, n, &size)) << c.text;
    EXPECT_EQ(size.cx, c.cx) << c.text;
    EXPECT_EQ(size.cy, 20) << c.text;
  }
}

TEST(TestFont, ExtentExCountsWholeCharactersInBytes) {
  TextCanvas canvas(10, 10);
  TestFontIn font(canvas.dc(), -16);
  const char* text = "ab日c";  // 8 + 8 + 16 + 8
  int fit = -1;
  int dx[6] = {};
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPointA(canvas.dc(), text, 6, 20, &fit, dx, &size));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(std::vector<int>(dx, dx + 6), (std::vector<int>{8, 16, 32, 32, 32, 40}));
  EXPECT_EQ(size.cx, 40);
  ASSERT_TRUE(GetTextExtentExPointA(canvas.dc(), text, 6, 32, &fit, nullptr, &size));
  EXPECT_EQ(fit, 5);
}

TEST(TestFont, CharWidthsAndAbc) {
  TextCanvas canvas(10, 10);
  TestFontIn font(canvas.dc(), -16);
  int w[3] = {};
  ASSERT_TRUE(GetCharWidth32A(canvas.dc(), 'A', 'C', w));
  EXPECT_EQ(std::vector<int>(w, w + 3), (std::vector<int>{8, 8, 8}));
  ASSERT_TRUE(GetCharWidth32A(canvas.dc(), 0x65E5, 0x65E5, w));  // 日
  EXPECT_EQ(w[0], 16);
  ABC abc[2] = {};
  ASSERT_TRUE(GetCharABCWidthsA(canvas.dc(), ' ', '!', abc));
  EXPECT_EQ(abc[0].abcA, 0);
  EXPECT_EQ(abc[0].abcB, 8u);
  EXPECT_EQ(abc[1].abcA, 0);
  EXPECT_EQ(abc[1].abcB, 7u);
  EXPECT_EQ(abc[1].abcC, 1);
  EXPECT_FALSE(GetCharWidth32A(canvas.dc(), 'C', 'A', w));
}

TEST(FontObject, GetObjectAnswersTheLogFontAsGiven) {
  LOGFONTA lf{};
  lf.lfHeight = -15;
  lf.lfWeight = 700;
  lf.lfItalic = 1;
  lf.lfEscapement = 900;
  lf.lfOrientation = 900;
  lf.lfCharSet = 128;
  lf.lfOutPrecision = OUT_STROKE_PRECIS;
  lf.lfPitchAndFamily = 0x12;
  std::strcpy(lf.lfFaceName, "ＭＳ Ｐゴシック");
  HFONT f = CreateFontIndirectA(&lf);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(GetObjectType(f), static_cast<DWORD>(OBJ_FONT));
  EXPECT_EQ(GetObjectA(f, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
  LOGFONTA got{};
  ASSERT_EQ(GetObjectA(f, sizeof got, &got), static_cast<int>(sizeof got));
  EXPECT_EQ(std::memcmp(&got, &lf, sizeof lf), 0);
  EXPECT_EQ(got.lfCharSet, 128);

  TextCanvas canvas(10, 10);
  HGDIOBJ old = SelectObject(canvas.dc(), f);
  char face[LF_FACESIZE];
  EXPECT_EQ(GetTextFaceA(canvas.dc(), sizeof face, face), static_cast<int>(strlen("ＭＳ Ｐゴシック") + 1));
  EXPECT_STREQ(face, "ＭＳ Ｐゴシック");
  // A short buffer gets whole characters only: "ＭＳ " is 7 bytes.
  EXPECT_EQ(GetTextFaceA(canvas.dc(), 8, face), 8);
  EXPECT_STREQ(face, "ＭＳ ");
  EXPECT_EQ(GetTextFaceA(canvas.dc(), 6, face), 4);
  EXPECT_STREQ(face, "Ｍ");
  EXPECT_EQ(GetTextFaceA(canvas.dc(), 7, face), 7);
  EXPECT_STREQ(face, "ＭＳ");
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmCharSet, 128);
  EXPECT_EQ(tm.tmWeight, 700);
  EXPECT_EQ(tm.tmItalic, 1);
  SelectObject(canvas.dc(), old);
  DeleteObject(f);
}

TEST(FontObject, CreateFontFillsTheLogFontAndCutsLongFaceNames) {
  // 11 three-byte characters: 33 bytes, more than a face name holds.
  std::string longFace;
  for (int i = 0; i < 11; ++i) longFace += "日";
  HFONT f = CreateFontA(-20, 0, -900, -900, FW_BOLD, 0, 1, 1, 128, 3, 2, 1, 0x31, longFace.c_str());
  LOGFONTA got{};
  ASSERT_TRUE(GetObjectA(f, sizeof got, &got));
  EXPECT_EQ(got.lfHeight, -20);
  EXPECT_EQ(got.lfEscapement, -900);
  EXPECT_EQ(got.lfUnderline, 1);
  EXPECT_EQ(got.lfStrikeOut, 1);
  EXPECT_EQ(got.lfCharSet, 128);
  EXPECT_EQ(got.lfPitchAndFamily, 0x31);
  EXPECT_EQ(std::string(got.lfFaceName), longFace.substr(0, 30));  // 10 whole characters
  DeleteObject(f);
}

TEST(FontObject, Failures) {
  SetLastError(0);
  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  LOGFONTA lf{};
  {
    plat::faults::Scope fail("CreateFontIndirectA", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(CreateFontIndirectA(&lf), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  }
  SIZE size;
  HDC bogus = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x1234));
  EXPECT_FALSE(GetTextExtentPoint32A(bogus, "a", 1, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(TextOutA(bogus, 0, 0, "a", 1));
  EXPECT_EQ(SetTextAlign(bogus, TA_RIGHT), static_cast<UINT>(GDI_ERROR));
  TextCanvas canvas(10, 10);
  EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc(), "a", -1, &size));
  EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, nullptr, 3));
}

TEST(StockFonts, DefaultsOfAJapaneseSystem) {
  struct Case {
    int index;
    const char* face;
    BYTE charSet;
  } cases[] = {{DEFAULT_GUI_FONT, "ＭＳ Ｐゴシック", 128},
               {SYSTEM_FONT, "System", 128},
               {ANSI_VAR_FONT, "MS Sans Serif", 0},
               {ANSI_FIXED_FONT, "Courier", 0}};
  for (const auto& c : cases) {
    HGDIOBJ f = GetStockObject(c.index);
    ASSERT_NE(f, nullptr) << c.face;
    EXPECT_EQ(GetObjectType(f), static_cast<DWORD>(OBJ_FONT)) << c.face;
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(f, sizeof lf, &lf)) << c.face;
    EXPECT_STREQ(lf.lfFaceName, c.face);
    EXPECT_EQ(lf.lfCharSet, c.charSet) << c.face;
    DeleteObject(f);  // stock objects stay
    EXPECT_EQ(GetObjectType(f), static_cast<DWORD>(OBJ_FONT)) << c.face;
  }
  // A new DC starts with the system font.
  TextCanvas canvas(10, 10);
  char face[LF_FACESIZE];
  GetTextFaceA(canvas.dc(), sizeof face, face);
  EXPECT_STREQ(face, "System");
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
}

int CALLBACK CollectFace(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD type, LPARAM param) {
  reinterpret_cast<std::vector<std::string>*>(param)->push_back(lf->lfFaceName);
  // "MS Sans Serif" is a raster face, as on Windows; the others are outline faces.
  const bool raster = std::string(lf->lfFaceName) == "MS Sans Serif";
  EXPECT_EQ(type, static_cast<DWORD>(raster ? RASTER_FONTTYPE : TRUETYPE_FONTTYPE)) << lf->lfFaceName;
  EXPECT_EQ(lf->lfOutPrecision, raster ? OUT_STRING_PRECIS : OUT_STROKE_PRECIS) << lf->lfFaceName;
  EXPECT_EQ((tm->tmPitchAndFamily & TMPF_TRUETYPE) != 0, !raster) << lf->lfFaceName;
  EXPECT_GT(tm->tmHeight, 0);
  return 1;
}

TEST(FontEnumeration, ListsMappedFacesByCharacterSet) {
  TextCanvas canvas(10, 10);
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  std::vector<std::string> all;
  EnumFontFamiliesExA(canvas.dc(), &lf, CollectFace, reinterpret_cast<LPARAM>(&all), 0);
  EXPECT_EQ(all, (std::vector<std::string>{"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "Arial", "Courier New",
                                           "MS Sans Serif", "Times New Roman"}));
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::vector<std::string> japanese;
  EnumFontFamiliesExA(canvas.dc(), &lf, CollectFace, reinterpret_cast<LPARAM>(&japanese), 0);
  EXPECT_EQ(japanese, (std::vector<std::string>{"ＭＳ Ｐゴシック", "ＭＳ ゴシック"}));
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "arial");
  std::vector<std::string> one;
  EnumFontFamiliesExA(canvas.dc(), &lf, CollectFace, reinterpret_cast<LPARAM>(&one), 0);
  EXPECT_EQ(one, (std::vector<std::string>{"Arial"}));
}

// ---- installed fonts (fontconfig and FreeType)

class InstalledFonts : public testing::Test {
 protected:
  void SetUp() override { plat::config::Set("FONT", "system"); }
  void TearDown() override { plat::config::Set("FONT", std::nullopt); }
};

TEST_F(InstalledFonts, JapaneseDefaultFaceMapsToAFontWithJapaneseGlyphs) {
  auto file = plat::text::MatchFace("ＭＳ Ｐゴシック", FW_NORMAL, false, SHIFTJIS_CHARSET);
  EXPECT_EQ(file.family, "IPAPGothic");
  LOGFONTA lf{};
  lf.lfHeight = -15;
  lf.lfCharSet = 128;
  std::strcpy(lf.lfFaceName, "ＭＳ Ｐゴシック");
  auto font = plat::text::Realize(lf);
  EXPECT_EQ(font->FaceName(), "ＭＳ Ｐゴシック");
  const auto& g = font->GlyphOf(U'日');
  EXPECT_GT(g.width, 5);
  EXPECT_GT(g.advance, 10);
  int inked = 0;
  for (uint8_t c : g.coverage) inked += c > 0;
  EXPECT_GT(inked, 20);
  // The cell of a -15 font: the character height plus the leading above it.
  EXPECT_GE(font->Metrics().height, 15);
  EXPECT_LE(font->Metrics().height, 20);
}

TEST_F(InstalledFonts, WindowsFacesMapByLook) {
  struct Case {
    const char* face;
    int charSet;
    const char* alias;
  } cases[] = {{"MS Sans Serif", 0, "sans-serif"}, {"Arial", 0, "sans-serif"}, {"System", 0, "sans-serif"},
               {"Courier New", 0, "monospace"},    {"COURIER NEW", 0, "monospace"},
               {"Times New Roman", 0, "serif"},    {"ＭＳ ゴシック", 128, "IPAGothic"},
               {"MS PGothic", 128, "IPAPGothic"},  {"Live Font", 0, "sans-serif"},
               {"No Such Face", 0, ""}};
  for (const auto& c : cases) EXPECT_EQ(plat::text::AliasOf(c.face), c.alias) << c.face;
  // Whatever is asked for, some installed file answers.
  for (const auto& c : cases) EXPECT_FALSE(plat::text::MatchFace(c.face, 400, false, c.charSet).path.empty()) << c.face;
  // An empty face with the Japanese character set is the Japanese default.
  EXPECT_EQ(plat::text::MatchFace("", 400, false, 128).family, "IPAPGothic");
}

TEST_F(InstalledFonts, RendersAntialiasedAndSynthesisesBold) {
  LOGFONTA lf{};
  lf.lfHeight = -24;
  std::strcpy(lf.lfFaceName, "Arial");
  auto normal = plat::text::Realize(lf);
  lf.lfQuality = NONANTIALIASED_QUALITY;
  lf.lfWeight = FW_NORMAL;
  auto crisp = plat::text::Realize(lf);
  const auto& g = normal->GlyphOf(U'O');
  bool partial = false;
  for (uint8_t c : g.coverage) partial |= c > 0 && c < 255;
  EXPECT_TRUE(partial) << "edges are antialiased";
  for (uint8_t c : crisp->GlyphOf(U'O').coverage) ASSERT_TRUE(c == 0 || c == 255);
  SIZE n{}, b{};
  TextCanvas canvas(10, 10);
  HFONT hn = CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HFONT hb = CreateFontA(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ old = SelectObject(canvas.dc(), hn);
  GetTextExtentPoint32A(canvas.dc(), "Hello world", 11, &n);
  SelectObject(canvas.dc(), hb);
  GetTextExtentPoint32A(canvas.dc(), "Hello world", 11, &b);
  SelectObject(canvas.dc(), old);
  DeleteObject(hn);
  DeleteObject(hb);
  EXPECT_GT(n.cx, 60);
  EXPECT_GT(b.cx, n.cx);
  EXPECT_EQ(b.cy, n.cy);
}

TEST_F(InstalledFonts, HeightMeansCharacterOrCellHeight) {
  for (const char* face : {"Arial", "ＭＳ Ｐゴシック", "Courier New", "Times New Roman"}) {
    TextCanvas canvas(10, 10);
    TEXTMETRICA tm{};
    HFONT cell = CreateFontA(30, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(canvas.dc(), cell);
    GetTextMetricsA(canvas.dc(), &tm);
    EXPECT_NEAR(tm.tmHeight, 30, 1) << face;
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent) << face;
    HFONT character = CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, face);
    SelectObject(canvas.dc(), character);
    GetTextMetricsA(canvas.dc(), &tm);
    EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, 30, 1) << face;
    EXPECT_GT(tm.tmHeight, 30) << face;
    SelectObject(canvas.dc(), old);
    DeleteObject(cell);
    DeleteObject(character);
  }
}

TEST_F(InstalledFonts, ItalicSlantsAnUprightFace) {
  LOGFONTA lf{};
  lf.lfHeight = -40;
  std::strcpy(lf.lfFaceName, "Arial");
  auto upright = plat::text::Realize(lf);
  lf.lfItalic = 1;
  auto italic = plat::text::Realize(lf);
  EXPECT_GT(italic->GlyphOf(U'l').width, upright->GlyphOf(U'l').width + 3);
  EXPECT_TRUE(italic->Metrics().italic);
}

// A bold font is drawn heavier and wider than the regular one, whether its face has a bold
// file (Arial) or is emboldened from the regular one (the Japanese faces, and the Japanese
// characters a Latin bold borrows), and what the measuring calls answer covers what is drawn.
TEST_F(InstalledFonts, BoldIsHeavierAndWiderAndItsMeasureCoversItsInk) {
  struct Case {
    const char* face;
    int charSet;
    LONG height;
    const char* text;
  } cases[] = {
      {"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, -12, "File Exposure 123"},
      {"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, -20, "露出 Gain ゲイン"},
      {"ＭＳ ゴシック", SHIFTJIS_CHARSET, -12, "Mode 1280x1024"},
      {"Arial", ANSI_CHARSET, -13, "Sensitive Mode"},
      {"Arial", ANSI_CHARSET, -16, "露出時間"},  // borrowed from the Japanese face
  };
  constexpr uint32_t kWhite = 0xFFFFFF;
  constexpr int kX = 10, kY = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height) + " " + c.text);
    const int len = static_cast<int>(std::strlen(c.text));
    struct Drawn {
      SIZE extent{};
      TEXTMETRICA tm{};
      RECT calc{};
      int ink = 0;
      RECT box{};  // of every pixel not left white
    };
    auto draw = [&](int weight) {
      Drawn d;
      TextCanvas canvas(400, 60);
      HFONT font = CreateFontA(c.height, 0, 0, 0, weight, 0, 0, 0, static_cast<BYTE>(c.charSet), 0, 0, 0, 0, c.face);
      HGDIOBJ old = SelectObject(canvas.dc(), font);
      GetTextExtentPoint32A(canvas.dc(), c.text, len, &d.extent);
      GetTextMetricsA(canvas.dc(), &d.tm);
      DrawTextA(canvas.dc(), c.text, len, &d.calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      TextOutA(canvas.dc(), kX, kY, c.text, len);
      RECT r{400, 60, 0, 0};
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 400; ++x)
          if (canvas.At(x, y) != kWhite) {
            ++d.ink;
            r = RECT{std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
                     std::max<LONG>(r.bottom, y + 1)};
          }
      d.box = r;
      SelectObject(canvas.dc(), old);
      DeleteObject(font);
      return d;
    };
    const Drawn normal = draw(FW_NORMAL), bold = draw(FW_BOLD);
    EXPECT_EQ(bold.tm.tmWeight, FW_BOLD);
    EXPECT_GT(bold.extent.cx, normal.extent.cx) << "wider";
    EXPECT_EQ(bold.extent.cy, normal.extent.cy) << "the line height stays";
    EXPECT_GT(bold.ink, normal.ink * 6 / 5) << "heavier";
    EXPECT_GE(bold.tm.tmAveCharWidth, normal.tm.tmAveCharWidth);
    EXPECT_GE(bold.tm.tmMaxCharWidth, normal.tm.tmMaxCharWidth);
    EXPECT_EQ(bold.calc.right - bold.calc.left, bold.extent.cx) << "DrawText measures as GetTextExtentPoint32";
    EXPECT_EQ(bold.calc.bottom - bold.calc.top, bold.tm.tmHeight);
    // The ink lies inside the measured box drawn at (kX, kY).
    for (const Drawn* d : {&normal, &bold}) {
      ASSERT_GT(d->ink, 0);
      EXPECT_GE(d->box.left, kX);
      EXPECT_LE(d->box.right, kX + d->extent.cx);
      EXPECT_GE(d->box.top, kY);
      EXPECT_LE(d->box.bottom, kY + d->extent.cy);
    }
  }
}

// Threads share realised fonts and their glyph caches; each must see the same glyphs.
TEST_F(InstalledFonts, ThreadsShareFontsSafely) {
  auto draw = [](std::vector<uint32_t>& out) {
    TextCanvas canvas(160, 30);
    HFONT f = CreateFontA(-18, 0, 0, 0, FW_BOLD, 1, 0, 0, 128, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
    HGDIOBJ old = SelectObject(canvas.dc(), f);
    for (int i = 0; i < 20; ++i) TextOutA(canvas.dc(), 2, 2, "露出 Gain 123 ゲイン", 25);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 160; ++x) out.push_back(canvas.At(x, y));
    SelectObject(canvas.dc(), old);
    DeleteObject(f);
  };
  std::vector<std::vector<uint32_t>> results(4);
  std::vector<std::thread> threads;
  for (auto& r : results) threads.emplace_back(draw, std::ref(r));
  for (auto& t : threads) t.join();
  for (size_t i = 1; i < results.size(); ++i) EXPECT_EQ(results[i], results[0]);
  EXPECT_GT(std::count(results[0].begin(), results[0].end(), 0u), 100);
}

TEST_F(InstalledFonts, LatinFontBorrowsJapaneseGlyphs) {
  LOGFONTA lf{};
  lf.lfHeight = -16;
  std::strcpy(lf.lfFaceName, "Courier New");
  auto font = plat::text::Realize(lf);
  EXPECT_FALSE(font->GlyphOf(U'本').coverage.empty());
}

// Where the ink of a glyph lies across, in its top and bottom quarters of rows.
struct Slant {
  double top = 0, bottom = 0;
};
Slant SlantOf(const plat::text::Glyph& g) {
  auto meanX = [&](int from, int to) {
    double sum = 0, weight = 0;
    for (int y = from; y < to; ++y)
      for (int x = 0; x < g.width; ++x) {
        const double c = g.coverage[static_cast<size_t>(y * g.width + x)];
        sum += c * x, weight += c;
      }
    return weight ? sum / weight : 0;
  };
  return {meanX(0, g.rows / 4), meanX(g.rows - g.rows / 4, g.rows)};
}

TEST_F(InstalledFonts, TheJapaneseFaceDrawsAYenSignAt0x5COnlyInTheJapaneseLocale) {
  LOGFONTA lf{};
  lf.lfHeight = -40;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(lf.lfFaceName, "ＭＳ Ｐゴシック");
  struct Case {
    const char* lcid;
    bool backslash;
  } cases[] = {{"0x0411", false}, {"0x0409", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lcid);
    plat::config::Set("LCID", c.lcid);
    auto font = plat::text::Realize(lf);
    const auto& g = font->GlyphOf(U'\\');
    ASSERT_GT(g.rows, 8);
    const Slant s = SlantOf(g);
    // A backslash runs from the top left to the bottom right; the yen sign's arms and
    // stem are centred.
    if (c.backslash)
      EXPECT_GT(s.bottom - s.top, g.width / 3.0);
    else
      EXPECT_LT(std::abs(s.bottom - s.top), g.width / 6.0);
    // The Japanese characters stay those of the Japanese face.
    EXPECT_FALSE(font->GlyphOf(U'日').coverage.empty());
  }
  plat::config::Set("LCID", std::nullopt);
}

}  // namespace
