#include "LastError.h"
#include "WinError.h"
#include "WinSystem.h"
#include "kernel/DateTimeFormat.h"
#include "kernel/LocaleData.h"
#include "kernel/TextCopy.h"

using namespace plat::locale;

namespace {

// A formatted text into the caller's buffer; no text means the value was invalid.
int Answer(const std::optional<std::string>& text, LPSTR out, int size) {
  if (!text) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return plat::CopyCounted(*text, out, size);
}

}  // namespace

LCID GetSystemDefaultLCID() { return DefaultLcid(); }
LCID GetUserDefaultLCID() { return DefaultLcid(); }
LANGID GetSystemDefaultLangID() { return LANGIDFROMLCID(DefaultLcid()); }
LANGID GetUserDefaultLangID() { return LANGIDFROMLCID(DefaultLcid()); }

int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR data, int size) {
  auto text = Info(locale, type & ~LOCALE_NOUSEROVERRIDE);
  if (!text) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  return plat::CopyCounted(*text, data, size);
}

int GetTimeFormatA(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCSTR format, LPSTR out, int size) {
  const DWORD known =
      LOCALE_NOUSEROVERRIDE | TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT;
  if (flags & ~known) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  SYSTEMTIME now;
  if (!time) {
    GetLocalTime(&now);
    time = &now;
  }
  std::string picture = format ? std::string(format) : std::string(Info(locale, LOCALE_STIMEFORMAT).value_or(""));
  return Answer(FormatTime(picture, *time, locale, flags), out, size);
}

int GetDateFormatA(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCSTR format, LPSTR out, int size) {
  DWORD kind = flags & (DATE_SHORTDATE | DATE_LONGDATE);
  // A picture and a picture-choosing flag together, or both pictures, are refused.
  if ((flags & ~(LOCALE_NOUSEROVERRIDE | DATE_SHORTDATE | DATE_LONGDATE)) ||
      kind == (DATE_SHORTDATE | DATE_LONGDATE) || (format && kind)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  SYSTEMTIME today;
  if (!date) {
    GetLocalTime(&today);
    date = &today;
  }
  std::string picture = format ? std::string(format)
                               : std::string(Info(locale, kind == DATE_LONGDATE ? LOCALE_SLONGDATE : LOCALE_SSHORTDATE)
                                                 .value_or(""));
  return Answer(FormatDate(picture, *date, locale), out, size);
}
