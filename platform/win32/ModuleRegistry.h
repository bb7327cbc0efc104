// The modules of the stand-in: the program itself, the libraries that register
// themselves (the camera library, the resource library, outside libraries) and the
// system's own DLL names. LoadLibraryA, GetProcAddress, GetModuleHandleA and
// GetModuleFileNameA answer from here.
#pragma once
#include <any>
#include <map>
#include <string>

#include "WinSystem.h"

namespace plat {

using SymbolTable = std::map<std::string, FARPROC>;  // export names match by case, as on Windows

struct ModuleSpec {
  std::string fileName;                 // "Quillon.dll", matched without regard to case
  std::string folder = "C:\\Lumora";    // the Windows folder it appears to live in
  SymbolTable symbols;
  std::any data;                        // e.g. the module's resource tables
  bool loaded = false;                  // true: loaded for the life of the process
};

// Registers a module (or, for a name already known, adds its symbols and data) and
// answers its handle, which stays the same for the life of the process.
HMODULE RegisterModule(ModuleSpec spec);
// The data slot of a module; nullptr for an unknown or unloaded handle.
std::any* ModuleData(HMODULE module);

// The program's file name ("Lumora.exe" by default); each deliverable sets its own
// at start. The program module is GetModuleHandleA(NULL).
void SetProgramName(const std::string& fileName);
HMODULE ProgramModule();

}  // namespace plat
