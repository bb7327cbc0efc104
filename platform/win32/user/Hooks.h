// Thread hooks (keyboard, mouse, message filter, get-message).
#pragma once
#include "../WinUser.h"

namespace plat::user {

// Runs the chain of `idHook` for the calling thread; returns the first hook's answer,
// or 0 when there is no hook.
LRESULT RunHooks(int idHook, int code, WPARAM wParam, LPARAM lParam);
bool HasHooks(int idHook);

}  // namespace plat::user
