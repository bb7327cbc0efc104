// Signals the event of an OVERLAPPED record when the driver completes (or cancels) an
// overlapped request, as the I/O manager does.
#pragma once
#include <functional>

#include "WinTypes.h"

namespace plat::board {

void SignalCompletion(HANDLE event);

// Replaces how events are signalled (tests record the calls); nullptr restores the default.
void SetCompletionSignal(std::function<void(HANDLE)> signal);

}  // namespace plat::board
