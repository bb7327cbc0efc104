// Small helpers shared by the kernel service tests.
#pragma once
#include <optional>
#include <string>

#include "Config.h"
#include "VirtualClock.h"
#include "windows.h"

namespace kerneltest {

// Closes a kernel handle at the end of a scope.
struct Handle {
  HANDLE h;
  ~Handle() {
    if (h) CloseHandle(h);
  }
  operator HANDLE() const { return h; }
};

// Sets one stand-in setting for the life of the object.
struct Setting {
  std::string key;
  Setting(std::string k, std::string v) : key(std::move(k)) { plat::config::Set(key, v); }
  ~Setting() { plat::config::Set(key, std::nullopt); }
};

using testenv::VirtualClock;

}  // namespace kerneltest
