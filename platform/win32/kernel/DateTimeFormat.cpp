#include "kernel/DateTimeFormat.h"

#include <cstdio>
#include <vector>

#include "WinSystem.h"
#include "kernel/LocaleData.h"

namespace plat::locale {
namespace {

struct Piece {
  char letter;  // 0 for literal text
  int count;
  std::string text;
};

// Splits a picture into fields (runs of one field letter) and literal text. A quoted
// run 'like this' is literal; two quotes stand for one quote, inside or outside.
std::vector<Piece> Parse(std::string_view picture, std::string_view fieldLetters) {
  std::vector<Piece> pieces;
  auto literal = [&](std::string_view s) {
    if (pieces.empty() || pieces.back().letter) pieces.push_back({0, 0, {}});
    pieces.back().text += s;
  };
  for (size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {
      if (i + 1 < picture.size() && picture[i + 1] == '\'') {
        literal("'");
        i += 2;
        continue;
      }
      ++i;
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            literal("'");
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal(picture.substr(i, 1));
        ++i;
      }
    } else if (fieldLetters.find(c) != std::string_view::npos) {
      size_t end = i;
      while (end < picture.size() && picture[end] == c) ++end;
      pieces.push_back({c, static_cast<int>(end - i), {}});
      i = end;
    } else {
      literal(picture.substr(i, 1));
      ++i;
    }
  }
  return pieces;
}

std::string Number(int value, bool pad) {
  char buf[16];
  std::snprintf(buf, sizeof buf, pad ? "%02d" : "%d", value);
  return buf;
}

// The first character of a UTF-8 text.
std::string FirstCharacter(std::string_view s) {
  if (s.empty()) return {};
  size_t n = 1;
  while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
  return std::string(s.substr(0, n));
}

std::string Text(LCID lcid, LCTYPE type) { return std::string(Info(lcid, type).value_or("")); }

bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && LeapYear(y) ? 29 : days[m - 1];
}

// 0 = Sunday, computed from the date itself (the record's own day of week is ignored).
int DayOfWeek(int y, int m, int d) {
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) --y;
  return (y + y / 4 - y / 100 + y / 400 + offsets[m - 1] + d) % 7;
}

}  // namespace

std::optional<std::string> FormatTime(std::string_view picture, const SYSTEMTIME& t, LCID lcid, DWORD flags) {
  if (t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59 || t.wMilliseconds > 999) return std::nullopt;
  auto dropped = [&](char letter) {
    return (letter == 's' && (flags & (TIME_NOSECONDS | TIME_NOMINUTESORSECONDS))) ||
           (letter == 'm' && (flags & TIME_NOMINUTESORSECONDS)) || (letter == 't' && (flags & TIME_NOTIMEMARKER));
  };
  std::string out, pending;
  bool anyField = false, skipPending = false;
  for (const Piece& p : Parse(picture, "hHmst")) {
    if (!p.letter) {
      pending += p.text;
      continue;
    }
    if (dropped(p.letter)) {
      skipPending = !anyField;  // a leading field takes the text after it instead
      pending.clear();
      continue;
    }
    if (!skipPending) out += pending;
    pending.clear();
    skipPending = false;
    anyField = true;
    bool pad = p.count >= 2;
    char letter = p.letter == 'h' && (flags & TIME_FORCE24HOURFORMAT) ? 'H' : p.letter;
    switch (letter) {
      case 'h': out += Number(t.wHour % 12 == 0 ? 12 : t.wHour % 12, pad); break;
      case 'H': out += Number(t.wHour, pad); break;
      case 'm': out += Number(t.wMinute, pad); break;
      case 's': out += Number(t.wSecond, pad); break;
      case 't': {
        std::string marker = Text(lcid, t.wHour < 12 ? LOCALE_S1159 : LOCALE_S2359);
        out += p.count >= 2 ? marker : FirstCharacter(marker);
        break;
      }
    }
  }
  if (!skipPending) out += pending;
  return out;
}

std::optional<std::string> FormatDate(std::string_view picture, const SYSTEMTIME& d, LCID lcid) {
  // The range Windows keeps dates in.
  if (d.wYear < 1601 || d.wYear > 30827 || d.wMonth < 1 || d.wMonth > 12 || d.wDay < 1 ||
      d.wDay > DaysInMonth(d.wYear, d.wMonth))
    return std::nullopt;
  int weekday = DayOfWeek(d.wYear, d.wMonth, d.wDay);
  int mondayFirst = (weekday + 6) % 7;  // LOCALE_SDAYNAME1 is Monday
  std::string out;
  for (const Piece& p : Parse(picture, "dMyg")) {
    switch (p.letter) {
      case 0: out += p.text; break;
      case 'd':
        if (p.count <= 2)
          out += Number(d.wDay, p.count == 2);
        else
          out += Text(lcid, (p.count == 3 ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1) + mondayFirst);
        break;
      case 'M':
        if (p.count <= 2)
          out += Number(d.wMonth, p.count == 2);
        else
          out += Text(lcid, (p.count == 3 ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1) + d.wMonth - 1);
        break;
      case 'y':
        out += p.count <= 2 ? Number(d.wYear % 100, p.count == 2) : Number(d.wYear, false);
        break;
      case 'g': out += EraName(lcid); break;
    }
  }
  return out;
}

}  // namespace plat::locale
