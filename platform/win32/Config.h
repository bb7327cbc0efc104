// Settings of the stand-in itself (display back end, screen size, drives, simulated
// board, faults ...). They come from environment variables named LUMORA_<KEY>; a test
// may override a key in-process. None of this is a setting of the system.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace plat::config {

std::optional<std::string> Find(std::string_view key);
std::string Get(std::string_view key, std::string_view fallback);
long GetInt(std::string_view key, long fallback);

// In-process override, for tests; nullopt removes it again.
void Set(std::string_view key, std::optional<std::string> value);

}  // namespace plat::config
