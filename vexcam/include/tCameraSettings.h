// The camera settings block: the record the program keeps in its document and passes,
// by address, as the last argument of every camera-library export. Two deliverables
// built apart share it, so the order and width of every field are fixed; narrower fields
// fill the start of a 32-bit slot.
#pragma once
#include <cstddef>

#include "WinTypes.h"

struct tCameraSettings {
  DWORD bAbort;  // nonzero: the library's long loops and waits stop
  DWORD bAutoLevel;
  DWORD bExtraCont;
  DWORD bEdgeApp;
  LONG nAutoLevelHalf, nAutoLevelStd, nAutoLevelHigh, nAutoLevelBw;
  LONG EdgeAppLevelHalf, EdgeAppLevelStd, EdgeAppLevelHigh, EdgeAppLevelBw;
  LONG ContrastLevelHalf, ContrastLevelStd, ContrastLevelHigh, ContrastLevelBw;
  // Actuator targets [factor][axis][row][col] for shift factors 1 to 6. Slice 0 holds the
  // frame rate in its first word and the camera-restarted flag in its eighth.
  LONG ShiftPositions[7][2][6][6];
  LONG Command_Repeat;
  LONG Camera_Ctrl;
  LONG WBGain[3][4];
  LONG BB_Lev[3][4];
  LONG GainLv;
  LONG Black_Level[4];
  LONG AGCGain[4];
  LONG AdTop;
  LONG ExpMode;
  LONG ExpParam;
  LONG AutoExpThresh;
  LONG TranMode;
  double zoom;
  BYTE InterPolationMethod;
  BYTE padInterPolationMethod[3];
  DWORD Mode;
  DWORD PCIaddress;
  BYTE Progress[3];
  BYTE padProgress;
  LONG Mosaic[4];
  DWORD bSwitched;
  SHORT Camera_Status;
  SHORT padCameraStatus;
  LONG CameraVer;
  DWORD bPCI;
  DWORD bISA;
  LONG OHPTranMode;
  LONG MotionDetCount;
  LONG TriggerEvent;
  LONG TriggerHold;
  LONG BoardRevision;
  LONG BoardCount;
  LONG BoardNumber;
  LONG ShowCameraMessages;
  LONG CaptureOptionA;
  LONG CaptureOptionB;
  LONG FrameClockCount;
  LONG AveragingCount;
  BYTE WBSeed[4];
  LONG WBAllLevels;
  BYTE GammaMode;
  BYTE padGammaMode[3];
  LONG ExposureLong;
  LONG Unused;

  // The eighth word of the first ShiftPositions slice: 1 after a successful camera recovery.
  LONG& CameraRestarted() { return ShiftPositions[0][0][1][1]; }
};

static_assert(sizeof(tCameraSettings) == 2368, "the block is shared with the camera library");
static_assert(offsetof(tCameraSettings, bAbort) == 0);
static_assert(offsetof(tCameraSettings, bAutoLevel) == 4);
static_assert(offsetof(tCameraSettings, bExtraCont) == 8);
static_assert(offsetof(tCameraSettings, bEdgeApp) == 12);
static_assert(offsetof(tCameraSettings, nAutoLevelHalf) == 16);
static_assert(offsetof(tCameraSettings, nAutoLevelStd) == 20);
static_assert(offsetof(tCameraSettings, nAutoLevelHigh) == 24);
static_assert(offsetof(tCameraSettings, nAutoLevelBw) == 28);
static_assert(offsetof(tCameraSettings, EdgeAppLevelHalf) == 32);
static_assert(offsetof(tCameraSettings, EdgeAppLevelStd) == 36);
static_assert(offsetof(tCameraSettings, EdgeAppLevelHigh) == 40);
static_assert(offsetof(tCameraSettings, EdgeAppLevelBw) == 44);
static_assert(offsetof(tCameraSettings, ContrastLevelHalf) == 48);
static_assert(offsetof(tCameraSettings, ContrastLevelStd) == 52);
static_assert(offsetof(tCameraSettings, ContrastLevelHigh) == 56);
static_assert(offsetof(tCameraSettings, ContrastLevelBw) == 60);
static_assert(offsetof(tCameraSettings, ShiftPositions) == 64);
static_assert(offsetof(tCameraSettings, Command_Repeat) == 2080);
static_assert(offsetof(tCameraSettings, Camera_Ctrl) == 2084);
static_assert(offsetof(tCameraSettings, WBGain) == 2088);
static_assert(offsetof(tCameraSettings, BB_Lev) == 2136);
static_assert(offsetof(tCameraSettings, GainLv) == 2184);
static_assert(offsetof(tCameraSettings, Black_Level) == 2188);
static_assert(offsetof(tCameraSettings, AGCGain) == 2204);
static_assert(offsetof(tCameraSettings, AdTop) == 2220);
static_assert(offsetof(tCameraSettings, ExpMode) == 2224);
static_assert(offsetof(tCameraSettings, ExpParam) == 2228);
static_assert(offsetof(tCameraSettings, AutoExpThresh) == 2232);
static_assert(offsetof(tCameraSettings, TranMode) == 2236);
static_assert(offsetof(tCameraSettings, zoom) == 2240);
static_assert(offsetof(tCameraSettings, InterPolationMethod) == 2248);
static_assert(offsetof(tCameraSettings, Mode) == 2252);
static_assert(offsetof(tCameraSettings, PCIaddress) == 2256);
static_assert(offsetof(tCameraSettings, Progress) == 2260);  // three bytes share one slot
static_assert(offsetof(tCameraSettings, Mosaic) == 2264);
static_assert(offsetof(tCameraSettings, bSwitched) == 2280);
static_assert(offsetof(tCameraSettings, Camera_Status) == 2284);
static_assert(offsetof(tCameraSettings, CameraVer) == 2288);
static_assert(offsetof(tCameraSettings, bPCI) == 2292);
static_assert(offsetof(tCameraSettings, bISA) == 2296);
static_assert(offsetof(tCameraSettings, OHPTranMode) == 2300);
static_assert(offsetof(tCameraSettings, MotionDetCount) == 2304);
static_assert(offsetof(tCameraSettings, TriggerEvent) == 2308);
static_assert(offsetof(tCameraSettings, TriggerHold) == 2312);
static_assert(offsetof(tCameraSettings, BoardRevision) == 2316);
static_assert(offsetof(tCameraSettings, BoardCount) == 2320);
static_assert(offsetof(tCameraSettings, BoardNumber) == 2324);
static_assert(offsetof(tCameraSettings, ShowCameraMessages) == 2328);
static_assert(offsetof(tCameraSettings, CaptureOptionA) == 2332);
static_assert(offsetof(tCameraSettings, CaptureOptionB) == 2336);
static_assert(offsetof(tCameraSettings, FrameClockCount) == 2340);
static_assert(offsetof(tCameraSettings, AveragingCount) == 2344);
static_assert(offsetof(tCameraSettings, WBSeed) == 2348);
static_assert(offsetof(tCameraSettings, WBAllLevels) == 2352);
static_assert(offsetof(tCameraSettings, GammaMode) == 2356);
static_assert(offsetof(tCameraSettings, ExposureLong) == 2360);
static_assert(offsetof(tCameraSettings, Unused) == 2364);
