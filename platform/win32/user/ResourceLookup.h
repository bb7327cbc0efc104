// Finding a module's resources by handle.
#pragma once
#include <string>

#include "../WinUserUi.h"
#include "rc/ResourceRegistry.h"

namespace plat::user {

// The file name of a module ("Lumora.exe"); the program for a null handle.
std::string ModuleName(HMODULE module);
const rc::Entry* FindEntry(HMODULE module, LPCSTR name, LPCSTR type);

}  // namespace plat::user
