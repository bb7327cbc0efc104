// The "MDIClient" class of the stand-in (registered with the standard controls).
#pragma once
#include "../WinUser.h"

namespace plat::user {

void RegisterMdiClientClass();

}  // namespace plat::user
