// The end of the process. On Windows the other threads end with the process; here
// exit() leaves them running while it destroys statics, so a thread that is waiting
// when the process ends stays asleep for good, and waits for other threads return.
#pragma once
#include "WinTypes.h"

namespace plat {

// True once main has returned or exit() has begun.
bool ProcessEnding();
// True when the calling thread must not run on: the process is ending on another thread.
bool EndedWithProcess();
// True when the thread with this stand-in id counts as ended because the process is.
bool ThreadEndedWithProcess(DWORD threadId);

}  // namespace plat
