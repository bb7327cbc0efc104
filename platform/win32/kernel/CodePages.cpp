#include <string>
#include <string_view>

#include "LastError.h"
#include "WinCodePage.h"
#include "WinError.h"
#include "text/Utf8.h"

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int count, LPWSTR wide, int size) {
  bool known = codePage == CP_ACP || codePage == CP_THREAD_ACP || codePage == CP_UTF8;
  if (!known || !text || count == 0 || count < -1 || size < 0 || (size > 0 && !wide)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string_view s(text, count == -1 ? std::char_traits<char>::length(text) + 1 : static_cast<size_t>(count));
  std::u16string out = plat::text::ToUtf16(s);
  auto needed = static_cast<int>(out.size());
  if (size == 0) return needed;
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  out.copy(wide, out.size());
  return needed;
}
