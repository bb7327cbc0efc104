#include "text/FaceMatcher.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>

#include "WinGdiText.h"

namespace plat::text {
namespace {

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

bool HasNonAscii(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::mutex g_mutex;

FcConfig* Config() {
  static FcConfig* config = FcInitLoadConfigAndFonts();
  return config;
}

}  // namespace

bool IsRasterFace(std::string_view face) {
  static const char* const raster[] = {"ms sans serif", "ms serif", "system", "small fonts", "courier", "fixedsys",
                                       "terminal"};
  const std::string key = Lower(face);
  return std::any_of(std::begin(raster), std::end(raster), [&](const char* r) { return key == r; });
}

std::string AliasOf(std::string_view face) {
  // Windows faces the system names, and their relatives, by what they look like.
  static const std::map<std::string, std::string> aliases = {
      {"ms pgothic", "IPAPGothic"},           {"ms ui gothic", "IPAPGothic"},
      {"ms gothic", "IPAGothic"},             {"ms pmincho", "IPAPMincho"},
      {"ms mincho", "IPAMincho"},             {"ms sans serif", "sans-serif"},
      {"ms shell dlg", "sans-serif"},         {"ms shell dlg 2", "sans-serif"},
      {"microsoft sans serif", "sans-serif"}, {"system", "sans-serif"},
      {"arial", "sans-serif"},                {"helvetica", "sans-serif"},
      {"tahoma", "sans-serif"},               {"verdana", "sans-serif"},
      {"segoe ui", "sans-serif"},             {"small fonts", "sans-serif"},
      {"courier new", "monospace"},           {"courier", "monospace"},
      {"fixedsys", "monospace"},              {"terminal", "monospace"},
      {"lucida console", "monospace"},        {"consolas", "monospace"},
      {"times new roman", "serif"},           {"times", "serif"},
      {"ms serif", "serif"},                  {"georgia", "serif"},
      // The program's own "Live Font" names no face any system has: a plain sans serif.
      {"live font", "sans-serif"},
  };
  std::string key = Lower(face);
  if (auto it = aliases.find(key); it != aliases.end()) return it->second;
  // The Japanese names are written with full-width Latin ("ＭＳ"), matched as written.
  static const std::map<std::string, std::string> fullWidth = {
      {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"ＭＳ ゴシック", "IPAGothic"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},     {"ＭＳ 明朝", "IPAMincho"}};
  if (auto it = fullWidth.find(std::string(face)); it != fullWidth.end()) return it->second;
  return {};
}

FaceFile MatchFace(std::string_view face, int weight, bool italic, int charSet, int pitchAndFamily) {
  bool japanese = charSet == SHIFTJIS_CHARSET || HasNonAscii(face);
  std::string family = AliasOf(face);
  if (family.empty()) family = std::string(face);
  if (family.empty()) {
    if (charSet == SHIFTJIS_CHARSET)
      family = "IPAPGothic";
    else if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
      family = "monospace";
    else if ((pitchAndFamily & 0xF0) == FF_ROMAN)
      family = "serif";
    else
      family = "sans-serif";
  }
  bool bold = weight >= FW_SEMIBOLD;

  using Key = std::tuple<std::string, bool, bool, bool>;
  static std::map<Key, FaceFile> cache;
  std::lock_guard lock(g_mutex);
  Key key{family, bold, italic, japanese};
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  if (japanese) FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(Config(), pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result;
  FcPattern* match = FcFontMatch(Config(), pat, &result);
  FaceFile out;
  if (match) {
    FcChar8* s = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &s) == FcResultMatch) out.path = reinterpret_cast<char*>(s);
    if (FcPatternGetString(match, FC_FAMILY, 0, &s) == FcResultMatch) out.family = reinterpret_cast<char*>(s);
    int v = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &v) == FcResultMatch) out.index = v;
    if (FcPatternGetInteger(match, FC_WEIGHT, 0, &v) == FcResultMatch) out.bold = v >= FC_WEIGHT_DEMIBOLD;
    if (FcPatternGetInteger(match, FC_SLANT, 0, &v) == FcResultMatch) out.italic = v != FC_SLANT_ROMAN;
    // A configuration that fakes a missing bold or italic reports the asked-for weight and
    // slant with a flag to embolden or a slanting matrix: the file itself is neither.
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden) out.bold = false;
    FcMatrix* slant = nullptr;
    if (FcPatternGetMatrix(match, FC_MATRIX, 0, &slant) == FcResultMatch && slant && slant->xy != 0) out.italic = false;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pat);
  cache.emplace(key, out);
  return out;
}

std::vector<Family> InstalledFamilies() {
  std::lock_guard lock(g_mutex);
  std::map<std::string, bool> names;
  FcPattern* pat = FcPatternCreate();
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, FC_LANG, nullptr);
  if (FcFontSet* set = FcFontList(Config(), pat, os)) {
    for (int i = 0; i < set->nfont; ++i) {
      FcChar8* s = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &s) != FcResultMatch) continue;
      FcLangSet* langs = nullptr;
      bool ja = FcPatternGetLangSet(set->fonts[i], FC_LANG, 0, &langs) == FcResultMatch &&
                FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
      names[reinterpret_cast<char*>(s)] |= ja;
    }
    FcFontSetDestroy(set);
  }
  FcObjectSetDestroy(os);
  FcPatternDestroy(pat);
  std::vector<Family> out;
  for (auto& [name, ja] : names) out.push_back(Family{name, ja});
  return out;
}

}  // namespace plat::text
