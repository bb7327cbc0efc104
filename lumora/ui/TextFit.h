// Fitting UTF-8 text into fixed buffers without splitting a character.
#pragma once
#include <cstdarg>
#include <cstddef>

namespace textfit {

// The length of the longest prefix of `text` (of `length` bytes) that holds only whole
// characters and is at most `room` bytes long.
size_t WholeCharacters(const char* text, size_t length, size_t room);

// vsnprintf into `buffer` (`size` bytes, terminator included), cut back to whole
// characters when the text does not fit. Returns the buffer.
char* FormatBounded(char* buffer, size_t size, const char* format, va_list args);

}  // namespace textfit
