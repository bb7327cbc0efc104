// CCameraCtrl: the library's one camera object. It owns the board's buffers and tables
// and carries every operation on the board and the camera; the exports forward to it.
// The operations live in the source files of their areas (board search, line transfer,
// capture set-up, camera control, exposure, capture sequencing, readout, white balance).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "TrueImage.h"
#include "afx.h"

class CCameraCtrl : public CObject {
 public:
  CCameraCtrl();
  ~CCameraCtrl() override;

  // ---- board search and line transfer
  LONG SearchPCIAndSetGETA();
  BOOL ReadLine(BYTE* buffer, LONG line);
  BOOL ReadLinePart(WORD* destination, LONG first, LONG count, DWORD portOffset, LONG line);
  void DrainLine(LONG bytes);
  void ReadWords(WORD* destination, LONG count);
  void AverageLineWords(BYTE* accumulator, LONG count, LONG weight);
  void AverageLineBlock(BYTE* accumulator, LONG skipBefore, LONG count, LONG skipAfter, LONG weight);
  void AveragePlanes(LONG length, LONG rows);
  // Opens the driver device of the board at PCIaddress; false (Camera_Status -11) when
  // the driver lists no board there.
  bool SelectDevice();
  bool ReadyStatus(DWORD status) const { return (status & m_StatusMask) == (m_StatusMask & 0xE); }

  // ---- capture format and set-up
  // The image format for rect (filled in when empty); 1, or -2 for a rectangle outside
  // the frame or too large to address.
  LONG FormatImage(CTrueImage* image, RECT& rect);
  LONG SetupCapture(CTrueImage* image, RECT rect, bool whiteBalance);

  // ---- camera control
  BOOL WaitHandshake(LPCSTR name);
  DWORD ReadCameraStatus();
  BOOL WaitCameraReady();
  void WinSet(LONG left, LONG right, LONG top, LONG bottom);
  void PowerOn();
  void PowerOff();
  BOOL CheckCameraPower();
  void SetCDSGain(const LONG* gains);
  void SetBlackLevel(const LONG* levels);
  void SetAGCGain(const LONG* gains);
  void SetAdTop(LONG value);
  void WriteCDSParamToEEPROM(LONG value);
  void FreePlaneStore();

  // ---- exposure and frame timing
  void SetExposure(LONG exposure, LONG mode);
  void SetShutterStep(LONG code);
  BOOL WaitSyncPhase(int kind);
  BOOL WaitFrameReady();
  BOOL RearmExposure();

  // ---- capture sequencing, continuous capture, planes, white balance, progress
  LONG OnShutter(CTrueImage* image, RECT rect, LONG flag);
  LONG CaptureFactory(RECT rect, LONG type);
  LONG MemoryShot(DWORD* buffer, CTrueImage* image, RECT rect);
  LONG ImageFromBuffer(WORD* raw, CTrueImage* image, RECT rect);
  void StartFrame();
  BOOL MoveToPosition(LONG index, BOOL bookkeeping);
  LONG ContinueFrame(CTrueImage* image);
  LONG RGBFromPlanesRaw(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG FillPlanesFromUnits(LONG a, LONG b, LONG c, LONG rows);
  LONG WhiteBalance(CTrueImage* image, RECT rect, LONG passes);
  void DestroyProgress();

  // ---- state
  BYTE* m_pLineBuffer = nullptr;  // locked, one whole line
  std::unique_ptr<BYTE[]> m_pWork;
  WORD m_PortBase = 0;
  LONG m_Revision = 0;
  DWORD m_ClassCode = 0;
  DWORD m_StatusMask = 9;
  LONG m_BlockLines = 8;
  LONG m_TriggerLatch = 0;
  void* m_pProgress = nullptr;  // the readout progress window, when one is shown
  std::vector<std::vector<BYTE>> m_RawLines;
  std::vector<BYTE*> m_Planes[4];  // plane store: row pointers, empty until a capture
  LONG m_PlaneOrder[4] = {0, 1, 2, 3};
  int16_t m_PhaseColumn[4][7][6] = {};
  int16_t m_PhaseRow[4][7][6] = {};
  BYTE ChannelLut[3][4][256];
  LONG m_NoiseStep = 128;
  LONG m_ExposureState = 0;
  LONG m_WindowTop = 0;
  bool m_WindowChanged = false;
  LONG m_CaptureOptionA = 0, m_CaptureOptionB = 0;
  RECT m_LastRect = {};
  bool m_BoardModeFlag = false;  // set by the power check from the revision and Mode
  bool m_Searching = false;

 private:
  bool PciSearch();
  LONG BringUp();
  BOOL OverlappedRead(BYTE* buffer, DWORD bytes);
  BOOL SyncRead(BYTE* buffer, DWORD bytes);
  BOOL VxdRead(BYTE* buffer, DWORD bytes);
  BOOL TransferLine(BYTE* buffer, DWORD bytes);
  void OpenDevice();
};

// The camera object of the loaded library (null before start-up and after shut-down).
CCameraCtrl* Camera();
void SetCamera(CCameraCtrl* camera);

// The 3 x 16 table of the camera control and white balance, zeroed when the camera
// object is built.
extern LONG g_GainTable[3][16];
