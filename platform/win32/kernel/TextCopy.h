// The three ways Win32 calls hand text back into a caller's buffer.
#pragma once
#include <string_view>

#include "WinTypes.h"

namespace plat {

// GetModuleFileName style: copies what fits, always terminated; answers the length
// copied, or `size` with ERROR_INSUFFICIENT_BUFFER when the text was cut.
DWORD CopyTruncated(std::string_view text, char* buffer, DWORD size);
// GetWindowsDirectory style: answers the length copied, or when the buffer is too
// small the size needed including the terminator (nothing copied).
DWORD CopyOrNeed(std::string_view text, char* buffer, DWORD size);
// GetLocaleInfo style: answers the characters written including the terminator;
// size 0 asks for that count; a short buffer gives 0 and ERROR_INSUFFICIENT_BUFFER.
int CopyCounted(std::string_view text, char* buffer, int size);

}  // namespace plat
