#include "TimeFormat.h"

#include <cstdio>

namespace plat::afx {
namespace {

const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

void Number(std::string& out, long long value, int width, bool noPad) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", noPad ? 1 : width, value);
  out += buf;
}

// Week number with weeks starting on `firstDay` (0 Sunday, 1 Monday); days before the
// first such day of the year are in week 0.
int WeekOfYear(const std::tm& t, int firstDay) {
  int wday = (t.tm_wday + 7 - firstDay) % 7;
  return (t.tm_yday + 7 - wday) / 7;
}

void Append(std::string& out, char code, bool alt, const std::tm& t, const char* zone) {
  int wday = (t.tm_wday % 7 + 7) % 7;
  int mon = (t.tm_mon % 12 + 12) % 12;
  switch (code) {
    case 'a': out.append(kDays[wday], 3); break;
    case 'A': out += kDays[wday]; break;
    case 'b': out.append(kMonths[mon], 3); break;
    case 'B': out += kMonths[mon]; break;
    case 'c':
      if (alt) {
        Append(out, 'x', true, t, zone);
        out += ", ";
        Append(out, 'X', false, t, zone);
      } else {
        Append(out, 'x', false, t, zone);
        out += ' ';
        Append(out, 'X', false, t, zone);
      }
      break;
    case 'd': Number(out, t.tm_mday, 2, alt); break;
    case 'H': Number(out, t.tm_hour, 2, alt); break;
    case 'I': Number(out, (t.tm_hour + 11) % 12 + 1, 2, alt); break;
    case 'j': Number(out, t.tm_yday + 1, 3, alt); break;
    case 'm': Number(out, t.tm_mon + 1, 2, alt); break;
    case 'M': Number(out, t.tm_min, 2, alt); break;
    case 'p': out += t.tm_hour < 12 ? "AM" : "PM"; break;
    case 'S': Number(out, t.tm_sec, 2, alt); break;
    case 'U': Number(out, WeekOfYear(t, 0), 2, alt); break;
    case 'w': Number(out, wday, 1, alt); break;
    case 'W': Number(out, WeekOfYear(t, 1), 2, alt); break;
    case 'x':
      if (alt) {
        out += kDays[wday];
        out += ", ";
        out += kMonths[mon];
        out += ' ';
        Number(out, t.tm_mday, 2, false);
        out += ", ";
        Number(out, t.tm_year + 1900LL, 4, false);
      } else {
        Number(out, t.tm_mon + 1, 2, false);
        out += '/';
        Number(out, t.tm_mday, 2, false);
        out += '/';
        Number(out, ((t.tm_year + 1900LL) % 100 + 100) % 100, 2, false);
      }
      break;
    case 'X':
      Number(out, t.tm_hour, 2, false);
      out += ':';
      Number(out, t.tm_min, 2, false);
      out += ':';
      Number(out, t.tm_sec, 2, false);
      break;
    case 'y': Number(out, ((t.tm_year + 1900LL) % 100 + 100) % 100, 2, alt); break;
    case 'Y': Number(out, t.tm_year + 1900LL, 4, alt); break;
    case 'z':
    case 'Z': out += zone ? zone : ""; break;
    case '%': out += '%'; break;
    default:
      out += '%';
      if (alt) out += '#';
      out += code;
      break;
  }
}

}  // namespace

std::string FormatTime(const char* format, const std::tm& t, const char* zone) {
  std::string out;
  if (format == nullptr) return out;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    bool alt = p[1] == '#';
    if (alt) ++p;
    if (p[1] == '\0') {
      out += alt ? "%#" : "%";
      break;
    }
    Append(out, *++p, alt, t, zone);
  }
  return out;
}

std::string FormatSpan(const char* format, long long days, int hours, int minutes, int seconds) {
  std::string out;
  if (format == nullptr) return out;
  for (const char* p = format; *p; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    char buf[32];
    switch (*++p) {
      case 'D': std::snprintf(buf, sizeof buf, "%lld", days); break;
      case 'H': std::snprintf(buf, sizeof buf, "%02d", hours); break;
      case 'M': std::snprintf(buf, sizeof buf, "%02d", minutes); break;
      case 'S': std::snprintf(buf, sizeof buf, "%02d", seconds); break;
      case '%': std::snprintf(buf, sizeof buf, "%%"); break;
      default: std::snprintf(buf, sizeof buf, "%%%c", *p); break;
    }
    out += buf;
  }
  return out;
}

}  // namespace plat::afx
