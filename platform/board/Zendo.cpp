#include "Zendo.h"

#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"

extern "C" BOOL WINAPI ZendoOpenBoard(HANDLE* device) {
  if (!device) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The first board, for reading and writing, with overlapped line reads.
  *device = CreateFileA("\\\\.\\KQPCI1", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  return *device != INVALID_HANDLE_VALUE;
}
