// Small printf-style helpers of the windows: into a caller's buffer, or into one
// buffer of the program's own that each call overwrites.
#pragma once
#include <cstddef>

// Formats into `buffer` of `size` bytes (whole characters only) and returns it.
char* FormatInto(char* buffer, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
// Formats into a 256-byte buffer of the program's own, valid until the next call.
const char* FormatStatic(const char* format, ...) __attribute__((format(printf, 1, 2)));
