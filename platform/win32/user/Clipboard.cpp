// The clipboard: one per process, opened by one window at a time. It owns the data
// handed to it and frees the data it replaces.
#include <strings.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "../LastError.h"
#include "../WinControls.h"
#include "../WinError.h"
#include "../WinGdi.h"
#include "../WinSystem.h"
#include "../WinSync.h"

namespace {

struct Board {
  std::mutex mutex;
  bool open = false;
  DWORD openThread = 0;
  HWND owner = nullptr;  // the window that last emptied it
  std::map<UINT, HANDLE> data;
  std::vector<std::string> formats;  // registered names, from 0xC000
};

Board& TheBoard() {
  static Board board;
  return board;
}

void Free(UINT format, HANDLE h) {
  if (!h) return;
  if (format == CF_BITMAP) DeleteObject(static_cast<HGDIOBJ>(h));
  else GlobalFree(static_cast<HGLOBAL>(h));
}

bool OpenedHere(Board& b) {
  if (b.open && b.openThread == GetCurrentThreadId()) return true;
  ::SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return false;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  Board& b = TheBoard();
  std::lock_guard lock(b.mutex);
  if (b.open) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  b.open = true;
  b.openThread = GetCurrentThreadId();
  b.owner = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  Board& b = TheBoard();
  std::lock_guard lock(b.mutex);
  if (!OpenedHere(b)) return FALSE;
  b.open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  Board& b = TheBoard();
  std::lock_guard lock(b.mutex);
  if (!OpenedHere(b)) return FALSE;
  for (auto& [format, h] : b.data) Free(format, h);
  b.data.clear();
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  Board& b = TheBoard();
  std::lock_guard lock(b.mutex);
  if (!OpenedHere(b) || !data) return nullptr;
  auto& slot = b.data[format];
  if (slot != data) Free(format, slot);
  slot = data;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  Board& b = TheBoard();
  std::lock_guard lock(b.mutex);
  if (!OpenedHere(b)) return nullptr;
  auto it = b.data.find(format);
  return it == b.data.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  Board& b = TheBoard();
  std::lock_guard lock(b.mutex);
  return b.data.count(format) != 0;
}

HWND GetClipboardOwner() {
  Board& b = TheBoard();
  std::lock_guard lock(b.mutex);
  return b.owner;
}

UINT RegisterClipboardFormatA(LPCSTR name) {
  if (!name || !*name) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Board& b = TheBoard();
  std::lock_guard lock(b.mutex);
  for (size_t i = 0; i < b.formats.size(); ++i)
    if (strcasecmp(b.formats[i].c_str(), name) == 0) return static_cast<UINT>(0xC000 + i);
  b.formats.emplace_back(name);
  return static_cast<UINT>(0xC000 + b.formats.size() - 1);
}
