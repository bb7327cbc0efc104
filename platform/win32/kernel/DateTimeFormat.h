// Windows date and time pictures ("yyyy/MM/dd", "h:mm:ss tt", quoted literals) made
// into text with a locale's names.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "WinTypes.h"

namespace plat::locale {

// Only h H m s t are fields; everything else is text. `flags` are the TIME_ flags:
// a field they leave out takes the text that separates it from the field before
// (or, leading, from the field after) with it. nullopt for an invalid time.
std::optional<std::string> FormatTime(std::string_view picture, const SYSTEMTIME& t, LCID lcid, DWORD flags);
// Only d M y g are fields. nullopt for an invalid date.
std::optional<std::string> FormatDate(std::string_view picture, const SYSTEMTIME& d, LCID lcid);

}  // namespace plat::locale
