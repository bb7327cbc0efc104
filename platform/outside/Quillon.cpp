// The resource-only library the camera library loads by name. Its templates and
// strings are compiled from resources/quillon/Quillon.rc into the stand-in; this makes
// "Quillon" a module that LoadLibraryA finds.
#include "ModuleRegistry.h"

namespace {
const HMODULE kQuillon = plat::RegisterModule(plat::ModuleSpec{"Quillon.dll"});
}  // namespace
