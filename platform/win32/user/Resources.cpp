// Resources of the stand-in's modules: a module's tables are found by its file name.
#include <cstring>
#include <string>

#include "../HandleTable.h"
#include "../LastError.h"
#include "../ModuleRegistry.h"
#include "../WinError.h"
#include "../WinUserUi.h"
#include "Menu.h"
#include "ResourceLookup.h"
#include "rc/ResourceRegistry.h"

namespace plat::user {
namespace {

struct ResourceRef {
  const rc::Entry* entry;
};

HandleTable<ResourceRef>& Refs() {
  static HandleTable<ResourceRef> table(HandleKind::User);
  return table;
}

}  // namespace

std::string ModuleName(HMODULE module) {
  if (!module) module = ProgramModule();
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(module, path, sizeof path);
  if (!n) return {};
  std::string s(path, n);
  size_t slash = s.find_last_of("\\/");
  return slash == std::string::npos ? s : s.substr(slash + 1);
}

const rc::Entry* FindEntry(HMODULE module, LPCSTR name, LPCSTR type) {
  if (!name || !type) return nullptr;
  return rc::Find(ModuleName(module), type, name);
}

std::shared_ptr<ResourceRef> RefOf(const void* h) { return Refs().Find(HandleId(h)); }

}  // namespace plat::user

using namespace plat::user;

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  const plat::rc::Entry* e = FindEntry(module, name, type);
  if (!e) {
    ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return plat::ToHandle<HRSRC>(Refs().Insert(std::make_shared<ResourceRef>(ResourceRef{e})));
}

// Resources live in the program's image: loading hands out the same reference.
HGLOBAL LoadResource(HMODULE, HRSRC res) {
  if (!RefOf(res)) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return reinterpret_cast<HGLOBAL>(res);
}

LPVOID LockResource(HGLOBAL data) {
  auto r = RefOf(data);
  return r ? const_cast<unsigned char*>(r->entry->data) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC res) {
  auto r = RefOf(res);
  return r ? r->entry->size : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int max) {
  if (!buffer || max <= 0) return 0;
  buffer[0] = '\0';
  auto s = plat::rc::LoadString(ModuleName(instance), id);
  if (!s) {
    ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  // Cut to fit, never inside a character.
  size_t n = std::min(s->size(), static_cast<size_t>(max - 1));
  while (n > 0 && n < s->size() && (static_cast<unsigned char>((*s)[n]) & 0xC0) == 0x80) --n;
  std::memcpy(buffer, s->data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

HMENU LoadMenuA(HINSTANCE instance, LPCSTR name) {
  const plat::rc::Entry* e = FindEntry(instance, name, RT_MENU);
  if (!e) {
    ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return LoadMenuTemplate(e->data, e->size);
}
