// The readout progress window. Not in yet: none is ever shown, so there is none to close.
#include "CameraCtrl.h"

void CCameraCtrl::DestroyProgress() { m_pProgress = nullptr; }
