#include "ModuleRegistry.h"

#include <cstring>
#include <mutex>

#include "DrivePath.h"
#include "Faults.h"
#include "HandleTable.h"
#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"
#include "kernel/TextCopy.h"

namespace plat {
namespace {

struct Module {
  ModuleSpec spec;
  int references = 0;
  bool Loaded() const { return spec.loaded || references > 0; }
};

struct Registry {
  std::mutex mutex;
  HandleTable<Module> table{HandleKind::Module};
  std::map<std::string, uint32_t> byKey;  // lower-case file name with extension -> id
  uint32_t program = 0;
};
uint32_t RegisterLocked(Registry& r, ModuleSpec spec);
void RegisterSystemModulesLocked(Registry& r);

Registry& Reg() {
  static Registry registry;
  static const bool systemModules = [] {
    RegisterSystemModulesLocked(registry);
    return true;
  }();
  (void)systemModules;
  return registry;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// "C:\x\Quillon", "quillon.DLL" and "QUILLON" all name "quillon.dll": the folder is
// dropped and a name without extension gets ".dll", as LoadLibrary does.
std::string KeyOf(std::string_view name) {
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string_view::npos) name = name.substr(slash + 1);
  std::string key = Lower(name);
  if (!key.empty() && key.back() == '.')
    key.pop_back();  // a trailing dot means "no extension"
  else if (key.find('.') == std::string::npos)
    key += ".dll";
  return key;
}

uint32_t RegisterLocked(Registry& r, ModuleSpec spec) {
  std::string key = KeyOf(spec.fileName);
  if (auto it = r.byKey.find(key); it != r.byKey.end()) {
    auto module = r.table.Find(it->second);
    for (auto& [name, proc] : spec.symbols) module->spec.symbols[name] = proc;
    if (spec.data.has_value()) module->spec.data = std::move(spec.data);
    module->spec.loaded = module->spec.loaded || spec.loaded;
    return it->second;
  }
  auto module = std::make_shared<Module>();
  module->spec = std::move(spec);
  uint32_t id = r.table.Insert(module);
  if (id) r.byKey[key] = id;
  return id;
}

// The system's own libraries that programs look functions up in at run time; they are
// there for the life of the process, as on Windows.
void RegisterSystemModulesLocked(Registry& r) {
  ModuleSpec kernel{"kernel32.dll", "C:\\WINDOWS\\SYSTEM32", {}, {}, true};
  kernel.symbols["GetDiskFreeSpaceExA"] = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&::GetDiskFreeSpaceExA));
  RegisterLocked(r, std::move(kernel));
}

uint32_t ProgramIdLocked(Registry& r) {
  if (!r.program) r.program = RegisterLocked(r, ModuleSpec{"Lumora.exe", path::kProgramFolder, {}, {}, true});
  return r.program;
}

// The loaded module behind a handle (null: the program); sets the error when none.
std::shared_ptr<Module> LoadedModule(Registry& r, HMODULE h) {
  auto module = r.table.Find(h ? HandleId(h) : ProgramIdLocked(r));
  if (!module || !module->Loaded()) {
    ::SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return module;
}

}  // namespace

HMODULE RegisterModule(ModuleSpec spec) {
  Registry& r = Reg();
  std::lock_guard lock(r.mutex);
  return ToHandle<HMODULE>(RegisterLocked(r, std::move(spec)));
}

std::any* ModuleData(HMODULE h) {
  Registry& r = Reg();
  std::lock_guard lock(r.mutex);
  auto module = LoadedModule(r, h);
  return module ? &module->spec.data : nullptr;
}

void SetProgramName(const std::string& fileName) {
  Registry& r = Reg();
  std::lock_guard lock(r.mutex);
  auto module = r.table.Find(ProgramIdLocked(r));
  r.byKey.erase(KeyOf(module->spec.fileName));
  module->spec.fileName = fileName;
  r.byKey[KeyOf(fileName)] = r.program;
}

HMODULE ProgramModule() {
  Registry& r = Reg();
  std::lock_guard lock(r.mutex);
  return ToHandle<HMODULE>(ProgramIdLocked(r));
}

}  // namespace plat

using plat::Reg;

HMODULE LoadLibraryA(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (DWORD e = plat::faults::Check("LoadLibrary")) {
    SetLastError(e);
    return nullptr;
  }
  auto& r = Reg();
  std::lock_guard lock(r.mutex);
  auto it = r.byKey.find(plat::KeyOf(name));
  if (it == r.byKey.end()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ++r.table.Find(it->second)->references;
  return plat::ToHandle<HMODULE>(it->second);
}

BOOL FreeLibrary(HMODULE h) {
  auto& r = Reg();
  std::lock_guard lock(r.mutex);
  auto module = r.table.Find(plat::HandleId(h));
  if (!module) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (module->references > 0) {
    --module->references;
    return TRUE;
  }
  if (module->spec.loaded) return TRUE;  // the program and load-time libraries stay
  // Freeing more often than loading would unload a module someone still uses.
  SetLastError(ERROR_MOD_NOT_FOUND);
  return FALSE;
}

HMODULE GetModuleHandleA(LPCSTR name) {
  auto& r = Reg();
  std::lock_guard lock(r.mutex);
  if (!name) return plat::ToHandle<HMODULE>(plat::ProgramIdLocked(r));
  auto it = r.byKey.find(plat::KeyOf(name));
  if (it == r.byKey.end() || !r.table.Find(it->second)->Loaded()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return plat::ToHandle<HMODULE>(it->second);
}

FARPROC GetProcAddress(HMODULE h, LPCSTR name) {
  auto& r = Reg();
  std::lock_guard lock(r.mutex);
  auto module = plat::LoadedModule(r, h);
  if (!module) return nullptr;
  // Names only: an ordinal (a value below 0x10000 in the pointer) exports nothing here.
  if (!name || reinterpret_cast<uintptr_t>(name) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  // A test can make one function look missing ("GetProcAddress:<name>").
  if (DWORD e = plat::faults::Check(std::string("GetProcAddress:") + name)) {
    SetLastError(e);
    return nullptr;
  }
  auto it = module->spec.symbols.find(name);
  if (it == module->spec.symbols.end()) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return it->second;
}

DWORD GetModuleFileNameA(HMODULE h, LPSTR buffer, DWORD size) {
  std::string path;
  {
    auto& r = Reg();
    std::lock_guard lock(r.mutex);
    auto module = plat::LoadedModule(r, h);
    if (!module) return 0;
    path = module->spec.folder + "\\" + module->spec.fileName;
  }
  return plat::CopyTruncated(path, buffer, size);
}
