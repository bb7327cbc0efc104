#include "text/FontCache.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "Config.h"
#include "WinSystem.h"
#include "text/FreeTypeFont.h"
#include "text/TestFont.h"

namespace plat::text {
namespace {

// Fonts no object uses any more are dropped once this many are kept.
constexpr size_t kKeep = 64;

std::string KeyOf(const LOGFONTA& lf, bool test, bool japanese) {
  LOGFONTA k = lf;
  k.lfEscapement = k.lfOrientation = 0;  // rotation happens when drawing
  k.lfOutPrecision = k.lfClipPrecision = 0;
  size_t n = strnlen(k.lfFaceName, LF_FACESIZE);
  std::memset(k.lfFaceName + n, 0, LF_FACESIZE - n);
  std::string key(reinterpret_cast<const char*>(&k), sizeof k);
  key += test ? 'T' : 'F';
  key += japanese ? 'J' : 'W';
  return key;
}

}  // namespace

std::shared_ptr<RealizedFont> Realize(const LOGFONTA& lf) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<RealizedFont>> fonts;
  const bool test = config::Get("FONT", "") == "test";
  const bool japanese = PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_JAPANESE;
  std::string key = KeyOf(lf, test, japanese);
  std::lock_guard lock(mutex);
  if (auto it = fonts.find(key); it != fonts.end()) return it->second;
  if (fonts.size() >= kKeep) std::erase_if(fonts, [](const auto& e) { return e.second.use_count() == 1; });
  std::shared_ptr<RealizedFont> font;
  if (!test) {
    font = FreeTypeFont::Create(lf, japanese);
    if (!font) {
      static bool told = false;
      if (!told) std::fprintf(stderr, "lumora: no usable installed font; text uses the built-in font\n");
      told = true;
    }
  }
  if (!font) font = std::make_shared<TestFont>(lf);
  fonts.emplace(std::move(key), font);
  return font;
}

}  // namespace plat::text
