// strftime-style formatting shared by CTime and COleDateTime, with the run-time's codes
// and its '#' flag (no leading zeros; long forms of %c and %x), in the C locale's texts.
#pragma once
#include <ctime>
#include <string>

namespace plat::afx {

// `zone` is what %z and %Z print. Unknown codes are copied as they stand.
std::string FormatTime(const char* format, const std::tm& t, const char* zone);

// %D (days), %H, %M, %S (two digits) and %% of a time span; other text as it stands.
std::string FormatSpan(const char* format, long long days, int hours, int minutes, int seconds);

}  // namespace plat::afx
