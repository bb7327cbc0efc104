// EnumFontFamiliesExA: the Windows faces the stand-in maps, then the installed
// families (only the mapped faces with the test font, so lists stay fixed). "MS Sans
// Serif" is a raster face, as on Windows: it reports OUT_STRING_PRECIS.
#include <strings.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "Config.h"
#include "LastError.h"
#include "WinError.h"
#include "gdi/ApiSupport.h"
#include "text/FaceMatcher.h"
#include "text/FontCache.h"

namespace {

struct Listed {
  std::string name;
  BYTE charSet;
  BYTE pitchAndFamily;
};

std::vector<Listed> Families() {
  std::vector<Listed> out = {
      {"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, VARIABLE_PITCH | FF_SWISS},
      {"ＭＳ ゴシック", SHIFTJIS_CHARSET, FIXED_PITCH | FF_MODERN},
      {"Arial", ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
      {"Courier New", ANSI_CHARSET, FIXED_PITCH | FF_MODERN},
      {"MS Sans Serif", ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
      {"Times New Roman", ANSI_CHARSET, VARIABLE_PITCH | FF_ROMAN},
  };
  if (plat::config::Get("FONT", "") != "test")
    for (const auto& f : plat::text::InstalledFamilies())
      if (f.name.size() < LF_FACESIZE)
        out.push_back({f.name, static_cast<BYTE>(f.japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET), VARIABLE_PITCH});
  return out;
}

bool SameFace(const std::string& a, const char* b) {
  return a.size() == std::strlen(b) && strncasecmp(a.c_str(), b, a.size()) == 0;
}

}  // namespace

int WINAPI EnumFontFamiliesExA(HDC hdc, LPLOGFONTA lf, FONTENUMPROCA proc, LPARAM lParam, DWORD flags) {
  if (!plat::gdi::DcOf(hdc)) return 0;
  if (!lf || !proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int result = 1;
  for (const Listed& f : Families()) {
    if (lf->lfCharSet != DEFAULT_CHARSET && lf->lfCharSet != f.charSet) continue;
    if (lf->lfFaceName[0] && !SameFace(f.name, lf->lfFaceName)) continue;
    ENUMLOGFONTEXA elf{};
    LOGFONTA& l = elf.elfLogFont;
    l.lfHeight = -12;
    l.lfWeight = FW_NORMAL;
    l.lfCharSet = f.charSet;
    const bool raster = plat::text::IsRasterFace(f.name);
    l.lfOutPrecision = raster ? OUT_STRING_PRECIS : OUT_STROKE_PRECIS;
    l.lfClipPrecision = CLIP_STROKE_PRECIS;
    l.lfQuality = DRAFT_QUALITY;
    l.lfPitchAndFamily = f.pitchAndFamily;
    std::memcpy(l.lfFaceName, f.name.c_str(), f.name.size() + 1);
    std::memcpy(elf.elfFullName, f.name.c_str(), f.name.size() + 1);
    std::strcpy(reinterpret_cast<char*>(elf.elfStyle), "Regular");
    std::strcpy(reinterpret_cast<char*>(elf.elfScript), f.charSet == SHIFTJIS_CHARSET ? "日本語" : "Western");

    const auto& m = plat::text::Realize(l)->Metrics();
    NEWTEXTMETRICEXA ntm{};
    NEWTEXTMETRICA& t = ntm.ntmTm;
    // A NEWTEXTMETRIC starts with the fields of a TEXTMETRIC.
    TEXTMETRICA tm = plat::text::ToTextMetric(m);
    std::memcpy(&t, &tm, offsetof(TEXTMETRICA, tmCharSet) + 1);
    t.tmPitchAndFamily = static_cast<BYTE>(((f.pitchAndFamily & 3) == FIXED_PITCH ? 0 : TMPF_FIXED_PITCH) |
                                           (raster ? 0 : TMPF_VECTOR | TMPF_TRUETYPE) | (f.pitchAndFamily & 0xF0));
    t.tmCharSet = f.charSet;
    t.ntmSizeEM = static_cast<UINT>(m.height - m.internalLeading);
    t.ntmCellHeight = static_cast<UINT>(m.height);
    t.ntmAvgWidth = static_cast<UINT>(m.aveCharWidth);
    result = proc(reinterpret_cast<const LOGFONTA*>(&elf), reinterpret_cast<const TEXTMETRICA*>(&ntm),
                  raster ? RASTER_FONTTYPE : TRUETYPE_FONTTYPE, lParam);
    if (result == 0) break;
  }
  return result;
}
