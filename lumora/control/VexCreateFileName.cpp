#include "VexCreateFileName.h"

void CVexCreateFileName::Expand(CString& name, LONG counter, const CString& settingName) const {
  // One reading of the clock, so that every token of a name shows the same moment.
  const CTime now = CTime::GetCurrentTime();
  auto part = [&now](LPCSTR format) { return now.Format(format).Left(4); };
  // Longer tokens first: "$YYYY" must not be eaten by "$YY", nor "$MMM" by "$MM".
  const struct {
    LPCSTR token;
    LPCSTR format;
  } times[] = {
      {"$YYYY", "%Y"}, {"$YY", "%y"}, {"$MMM", "%b"}, {"$MM", "%m"}, {"$DD", "%d"}, {"$HH", "%H"},
      {"$hh", "%I"},   {"$mm", "%M"}, {"$ss", "%S"},  {"$SS", "%S"}, {"$W", "%a"},  {"$p", "%p"},
  };
  for (const auto& t : times) name.Replace(t.token, part(t.format));

  if (counter >= 0) {
    const struct {
      LPCSTR token;
      LPCSTR format;
    } counters[] = {{"$###", "%03d"}, {"$##", "%02d"}, {"$#", "%01d"}};
    for (const auto& c : counters) {
      CString number;
      number.Format(c.format, static_cast<int>(counter));
      name.Replace(c.token, number);
    }
  }
  name.Replace("$VEX", settingName);
}
