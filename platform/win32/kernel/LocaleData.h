// The locale data the stand-in knows: Japanese (0x0411) and English (0x0409). The
// default locale (LUMORA_LCID) is Japanese; a locale without its own table answers
// the English data.
#pragma once
#include <optional>
#include <string_view>

#include "WinTypes.h"

namespace plat::locale {

// The configured default locale id.
LCID DefaultLcid();
// Turns LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT and 0 into the default locale.
LCID Resolve(LCID lcid);
// The text of one LOCALE_ value (UTF-8); nullopt for a value the stand-in lacks.
std::optional<std::string_view> Info(LCID lcid, LCTYPE type);
// The name of the Gregorian era ("gg").
std::string_view EraName(LCID lcid);

}  // namespace plat::locale
