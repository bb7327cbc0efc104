#include "CommDlgError.h"

namespace {
thread_local DWORD t_error = 0;  // per thread, as each thread runs its own dialogs
}

DWORD CommDlgExtendedError() { return t_error; }

void plat::commdlg::SetExtendedError(DWORD code) { t_error = code; }
