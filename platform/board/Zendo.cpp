#include "Zendo.h"

#include "KernelObject.h"
#include "LastError.h"

extern "C" BOOL WINAPI ZendoOpenBoard(HANDLE* device) {
  if (!device) {
    ::SetLastError(87);  // ERROR_INVALID_PARAMETER
    return FALSE;
  }
  *device = INVALID_HANDLE_VALUE;
  // The first board, read and write, for overlapped line reads.
  constexpr DWORD kReadWrite = 0xC0000000, kOverlapped = 0x40000000;
  DWORD error = 0;
  auto object = plat::OpenDevice("KQPCI1", kReadWrite, kOverlapped, &error);
  if (!object) {
    ::SetLastError(error);
    return FALSE;
  }
  HANDLE h = plat::InsertKernelObject(std::move(object));
  if (!h) return FALSE;
  *device = h;
  return TRUE;
}
