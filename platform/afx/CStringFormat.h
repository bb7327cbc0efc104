// Text helpers behind CString: UTF-8 character steps and the translation of the
// original platform's printf dialect into this C library's.
#pragma once
#include <string>

namespace plat::text {

// Bytes of the UTF-8 character at p (1 for ASCII, a stray byte, or the terminator).
int CharLength(const char* p);

// Rewrites a format of the original platform for vsnprintf: "l" on integers means
// 32 bits there, "I64" means 64 bits, "I" alone pointer size; "%n" is dropped (it
// would let a format write to memory) while still taking its argument.
std::string ToNativeFormat(const char* format);

}  // namespace plat::text
