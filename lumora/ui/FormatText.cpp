#include "FormatText.h"

#include <cstdarg>

#include "TextFit.h"

char* FormatInto(char* buffer, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  textfit::FormatBounded(buffer, size, format, args);
  va_end(args);
  return buffer;
}

const char* FormatStatic(const char* format, ...) {
  // One buffer per thread: a worker's status text never overwrites the UI thread's.
  static thread_local char buffer[256];
  va_list args;
  va_start(args, format);
  textfit::FormatBounded(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}
