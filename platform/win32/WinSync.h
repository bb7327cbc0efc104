// Threads, waits, events, mutexes, critical sections, interlocked operations and
// processes.
#pragma once
#include <atomic>

#include "WinTypes.h"

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_ABANDONED_0 0x00000080u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64
#define STILL_ACTIVE 259

#define CREATE_SUSPENDED 0x00000004
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

// ---- waits
DWORD WaitForSingleObject(HANDLE h, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

// ---- events and mutexes
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES sa, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE h);
BOOL ResetEvent(HANDLE h);
// A named mutex exists once per user, across processes: a second CreateMutexA of the
// same name answers a handle with ERROR_ALREADY_EXISTS.
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES sa, BOOL initialOwner, LPCSTR name);
BOOL ReleaseMutex(HANDLE h);
#define CreateEvent CreateEventA
#define CreateMutex CreateMutexA

// ---- critical sections (recursive; the state lives in the structure itself)
typedef struct _RTL_CRITICAL_SECTION {
  void* DebugInfo;
  LONG LockCount;       // 0 free, 1 held, 2 held with waiters
  LONG RecursionCount;
  DWORD OwningThread;   // thread id of the owner, 0 when free
  DWORD SpinCount;
} CRITICAL_SECTION, *LPCRITICAL_SECTION, *PCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION cs);
void DeleteCriticalSection(LPCRITICAL_SECTION cs);
void EnterCriticalSection(LPCRITICAL_SECTION cs);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs);
void LeaveCriticalSection(LPCRITICAL_SECTION cs);

// ---- interlocked operations on 32-bit values
inline LONG InterlockedIncrement(LONG volatile* v) {
  // Atomic arithmetic wraps; the result is computed the same way.
  return static_cast<LONG>(static_cast<ULONG>(std::atomic_ref<LONG>(const_cast<LONG&>(*v)).fetch_add(1)) + 1u);
}
inline LONG InterlockedDecrement(LONG volatile* v) {
  return static_cast<LONG>(static_cast<ULONG>(std::atomic_ref<LONG>(const_cast<LONG&>(*v)).fetch_sub(1)) - 1u);
}
inline LONG InterlockedExchange(LONG volatile* v, LONG value) {
  return std::atomic_ref<LONG>(const_cast<LONG&>(*v)).exchange(value);
}
inline LONG InterlockedExchangeAdd(LONG volatile* v, LONG value) {
  return std::atomic_ref<LONG>(const_cast<LONG&>(*v)).fetch_add(value);
}
inline LONG InterlockedCompareExchange(LONG volatile* v, LONG exchange, LONG comparand) {
  std::atomic_ref<LONG>(const_cast<LONG&>(*v)).compare_exchange_strong(comparand, exchange);
  return comparand;  // the value found, whether or not it was replaced
}

// ---- threads
typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID);
HANDLE CreateThread(LPSECURITY_ATTRIBUTES sa, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID param,
                    DWORD flags, LPDWORD threadId);
[[noreturn]] void ExitThread(DWORD exitCode);
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
// Small ids that stay the same for the life of the thread and are never 0.
DWORD GetCurrentThreadId();
HANDLE GetCurrentThread();  // the pseudo handle that always means the calling thread

// ---- processes
#define STARTF_USESHOWWINDOW 0x00000001
typedef struct _STARTUPINFOA {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA;
typedef STARTUPINFOA STARTUPINFO;
typedef LPSTARTUPINFOA LPSTARTUPINFO;

typedef struct _PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *LPPROCESS_INFORMATION;

// The application is `applicationName` or the first word of `commandLine`, found the
// way Windows finds it; the rest of the command line is split into arguments by the
// Windows quoting rules. `currentDirectory` is the child's working folder only.
BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                    LPPROCESS_INFORMATION processInformation);
#define CreateProcess CreateProcessA
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
DWORD GetCurrentProcessId();
