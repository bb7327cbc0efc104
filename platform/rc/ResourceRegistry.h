// Resource tables of the stand-in's modules (the program, setup, the camera library's
// resource library), compiled from .rc files at build time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plat::rc {

// One resource in its Windows binary form. A type or name is an id when its text is null.
struct Entry {
  uint32_t typeId;
  const char* typeName;
  uint32_t nameId;
  const char* nameName;
  const unsigned char* data;
  uint32_t size;
};

// Registers a module's table at start-up (the generated source holds one of these).
class Registrar {
 public:
  Registrar(const char* module, const Entry* entries, size_t count);
};

// `type` and `name` follow the Win32 rule: a value below 0x10000 is an id (MAKEINTRESOURCE),
// otherwise text; text "#123" means id 123. Modules are named without regard to case,
// with or without ".exe"/".dll".
const Entry* Find(std::string_view module, const char* type, const char* name);
bool HasModule(std::string_view module);

// The UTF-8 text of string `id`, or nullopt when the module has none.
std::optional<std::string> LoadString(std::string_view module, uint32_t id);

// UTF-16 (as resource templates hold it) to UTF-8.
std::string Utf16ToUtf8(const uint16_t* text, size_t count);

}  // namespace plat::rc
