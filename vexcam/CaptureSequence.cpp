// Capture sequencing. The sequencer is not in yet: a capture reports a camera that is
// not ready, the factory steps do nothing, no frame is started, the actuator tables stay
// empty and no in-frame move is made.
#include "CameraCtrl.h"

LONG CCameraCtrl::OnShutter(CTrueImage*, RECT, LONG) { return -1; }
LONG CCameraCtrl::CaptureFactory(RECT, LONG) { return 0; }
LONG CCameraCtrl::MemoryShot(DWORD*, CTrueImage*, RECT) { return 1; }
LONG CCameraCtrl::ImageFromBuffer(WORD*, CTrueImage*, RECT) { return 1; }
void CCameraCtrl::StartFrame() {}
BOOL CCameraCtrl::MoveToPosition(LONG, BOOL) { return FALSE; }
void CCameraCtrl::LoadShiftTables(bool) {}
void CCameraCtrl::UseLinearShiftCodes() {}
void CCameraCtrl::InFrameMove() {}
