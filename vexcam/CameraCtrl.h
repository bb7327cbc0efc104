// CCameraCtrl: the library's one camera object. It owns the board's buffers and tables
// and carries every operation on the board and the camera; the exports forward to it.
// The operations live in the source files of their areas (board search, line transfer,
// capture set-up, camera control, exposure, capture sequencing, readout, white balance).
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "CaptureTimes.h"
#include "Levels.h"
#include "PlaneMerge.h"
#include "PlanePlacement.h"
#include "ReadoutKernels.h"
#include "ShiftTables.h"
#include "TrueImage.h"
#include "afx.h"

class CReadoutProgressWnd;

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
  BOOL SendAddrCmmnd(WORD reg, BYTE value);
  BOOL SendAddrCmmndPCI(WORD reg, BYTE value);
  BOOL SendAddrCmmndMACH(WORD reg, BYTE value);
  BOOL WaitHandshake(LPCSTR name);
  DWORD ReadCameraStatus();
  BOOL WaitCameraReady();
  void WinSet(LONG left, LONG right, LONG top, LONG bottom);
  void PowerOn();
  void PowerOff();
  BOOL CheckCameraPower();
  // FALSE when the camera did not answer its power check or a send failed.
  BOOL SetCDSGain(const LONG* gains);
  void SetBlackLevel(const LONG* levels);
  void SetAGCGain(const LONG* gains);
  void SetAdTop(LONG value);
  void WriteCDSParamToEEPROM(LONG value);
  void SetCameraCtrl(LONG value);
  // Geometry of the model in CameraVer; FALSE (later captures refused) for a model or a
  // frame timing the library cannot work with.
  BOOL ConfigureModel();
  BOOL AllocLineStore();
  BOOL AllocSampleRows();
  void FreePlaneStore();

  // ---- exposure and frame timing
  void SetExposure(LONG exposure, LONG mode);
  void SetShutterStep(LONG code);
  void RestartExposure(LONG flag);
  void AdjustAutoExposure(LONG dark, LONG bright, LONG low, LONG high);
  BOOL WaitSyncPhase(int kind);
  BOOL WaitFrameReady();
  BOOL RearmExposure();

  // ---- capture sequencing, continuous capture, planes, white balance, progress
  LONG OnShutter(CTrueImage* image, RECT rect, LONG flag);
  // One still capture of the rectangle (picture units) into the image: the time value,
  // 0 failed or aborted, -2 rectangle too large, -1 exposure not yet complete.
  LONG CaptureImage(CTrueImage* image, RECT rect);
  LONG CaptureShifted(CTrueImage* image, RECT rect);
  // The port-probed board's whole still capture.
  LONG CapturePortBoard(CTrueImage* image, RECT rect);
  // Preview, colour and in-frame-move flags of a capture from the image's purpose word.
  void TakePurpose(const CTrueImage* image);
  // Enhancement values of the transfer mode for the reconstruction that follows.
  void CopyLevelSettings();
  // Frames of the positions [first, last) into their line stores (sensor rectangle).
  LONG ReadMemoryShot(LONG x, LONG y, LONG width, LONG height, LONG mode, LONG first, LONG last);
  LONG ReadLinesToStore(LONG row, LONG column, LONG x, LONG width, LONG height, LONG repeat);
  BOOL CheckExposureAccumulated();
  // Frame periods between the last two re-arms, from the frame timer and the line marks.
  LONG FramesSinceLastRearm() const;
  LONG CaptureFactory(RECT rect, LONG type);
  LONG MemoryShot(DWORD* buffer, CTrueImage* image, RECT rect);
  LONG ImageFromBuffer(WORD* raw, CTrueImage* image, RECT rect);
  void StartFrame();
  BOOL MoveToPosition(LONG index, BOOL bookkeeping);
  LONG RGBFromPlanesRaw(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG FillPlanesFromUnits(LONG a, LONG b, LONG c, LONG rows);
  void DestroyProgress();
  // Actuator tables and the in-frame move of the pixel shift.
  void LoadShiftTables(bool fullSet);
  void UseLinearShiftCodes();
  void InFrameMove();
  // The actuator: raw targets, a position of the current factor's grid, and the move that
  // keeps the current, previous and before-previous positions.
  BOOL SetActuator(LONG x, LONG y);
  BOOL DriveActuator(LONG index);
  // Correction curves of a gain level from the colour tables, and their gamma bend.
  void BuildLevelCurves(LONG level);
  void ApplyGammaCurve(LONG level);
  // Stores the percentage in the block and pumps the progress window; 0 once cancelled.
  int UpdateProgress(int percent);
  int PumpWhiteBalance();

  // ---- continuous capture (ContinuousCapture.cpp)
  // One frame of the live document-camera loop; the next shift position after the call.
  // Through the shutter the still frames are counted in every mode and the count is kept
  // after the switch to the shift mode.
  LONG ContinueFrame(CTrueImage* image, bool fromShutter = false);
  // 1 when the scene moved, 0 when still, -1 when no frame was read.
  LONG ContinueFramePCI(CTrueImage* image);
  LONG ContinueFramePort(CTrueImage* image);
  LONG EndShiftPosition(LONG next, LONG moved, BYTE* bits, LONG width, LONG height, LONG stride);
  LONG EndSingleFrame(LONG moved, BYTE* bits, LONG width, LONG height, LONG stride);
  // Compares the frame just read with the saved sample rows; the change flag to report.
  LONG DetectChange();
  // Keeps the sample rows of the frame last read, for the next comparison.
  void SaveSampleRows();
  LONG m_NextPosition = 0;
  bool m_ChangeReady = false;
  unsigned m_Histogram[256] = {};
  bool m_KeepLines = false;  // the line read keeps every line of the frame

  // ---- white balance (WhiteBalance.cpp): each step answers 0 or a run result
  LONG WhiteBalance(CTrueImage* image, RECT rect, LONG passes);
  // 1 with the mean of each cell site over the rectangle's sampled cells; 0 when stopped.
  LONG MeasureChannels(CTrueImage* image, RECT rect, double means[4], CDC* preview);
  LONG DetectMosaic(CTrueImage* image, RECT rect);
  LONG MeasureDarkLevel(CTrueImage* image, RECT rect);
  LONG BalanceGains(CTrueImage* image, RECT rect, double tolerance, LONG level);
  LONG CalibrateBlackLevel(CTrueImage* image, RECT rect, LONG level);
  LONG MeasureColorSteps(CTrueImage* image, RECT rect, LONG level);
  LONG m_DarkLevel = 0;    // 0..16, measured by white balance on model 0xA
  LONG m_WBRowExcess = 0;  // rows the measuring rectangle's top was pulled in by

  // ---- single-frame readout straight into the picture (SingleFrameReadout.cpp)
  // How a single-frame kernel takes its lines off the board.
  enum class Transfer { LineRead, Port, Block };
  struct FrameReadout {
    vexcam::ReadoutKind kind;
    Transfer transfer = Transfer::LineRead;
    bool stats = false;      // gathers the green pairs and re-tunes the lower green
    bool lateStart = false;  // starts the next exposure after the last line when none started
  };
  // Reads one frame of the window (x, width, height in sensor units) through the line
  // read into `picture`; 1 when read and not aborted, 0 otherwise.
  LONG ReadFrameToPicture(const FrameReadout& readout, const vexcam::PictureTarget& picture, LONG x, LONG width,
                          LONG height);
  // Single-frame captures of the rectangle into the image: the capture time value (1 at
  // least), 0 failed or aborted, -2 rectangle too large. Half size reads a window twice
  // the rectangle. Only the line-read boards (revision 212 and up, zoom 1.0) are served.
  LONG DispatchFull(CTrueImage* image, RECT rect);
  LONG DispatchHalf(CTrueImage* image, RECT rect);
  LONG DispatchFullZoomHalf(CTrueImage* image, RECT rect);
  LONG DispatchHalfZoomHalf(CTrueImage* image, RECT rect);
  // The readout a single-frame capture uses for the revision, zoom and Mode bits 0x20/0x40.
  FrameReadout SingleFrameReadout(bool full) const;
  // The port and block readouts of the older boards and of zoom 0.5.
  FrameReadout PortReadout() const;
  FrameReadout BlockReadout(bool full) const;

  // ---- multi-frame readout into the colour planes (MultiFrameReadout.cpp)
  // One sub-frame of a shift position (sensor window x, width, height); 1 done, 0
  // stopped or failed. The first hands over to the second from revision 217.
  LONG ReadSubFrame(LONG x, LONG width, LONG height, LONG current, LONG next);
  LONG ReadSubFrameNew(LONG x, LONG width, LONG height, LONG current, LONG next);
  LONG ReadFramePlanesHead(LONG x, LONG width, LONG height, LONG first, LONG& end);
  LONG ReadFramePlanesTail(LONG x, LONG width, LONG height, LONG first, LONG end);
  LONG ReadFramePlanes(LONG x, LONG width, LONG height, LONG first, LONG end);
  LONG ReadFramePlanesAveraged(LONG x, LONG width, LONG height, LONG first, LONG end);
  // Sums of AveragingCount frames of lines [first, end) of the window, and their mean.
  LONG AccumulateFrames(LONG x, LONG width, LONG height, LONG first, LONG end);
  void CheckSignal(const BYTE* cells, LONG count);
  // Places window line `line` (`count` cells) of shift position m_SubCurrent into the planes,
  // as the readout does; for frames that come through the line stores.
  void PlaceWindowLine(const BYTE* cells, LONG count, LONG line, LONG width, LONG height);
  // Progress of the run after a sub-frame; 0 once cancelled.
  LONG SubFrameProgress();

  // ---- colour planes and the picture kernels (PlaneKernels.cpp)
  // Allocates the four planes for a width x height raster, with a guard margin.
  void AllocatePlaneStore(LONG width, LONG height);
  vexcam::PlaneSet PlaneView() const;
  vexcam::ColourContext ColourJob();
  vexcam::MergeJob MergeJobOf() const;
  LONG ReconstructPlanes(BYTE* rows, LONG width, LONG height, LONG stride);  // by InterPolationMethod
  LONG RGBMosaic(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG RGBFromCells(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG InterpolateBilinear(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG InterpolateAdaptive(BYTE* rows, LONG width, LONG height, LONG stride);
  void ChromaEnhance(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG RGBHalfSize(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG RGBFromShiftCells(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG RGBHalfSizeShift(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG RGBFromShift18(BYTE* rows, LONG width, LONG height, LONG stride);
  int GreenStatistics(LONG width, LONG height);
  LONG PlanesFromSubFrame(LONG columnStep, LONG rowStep, LONG rowLength, LONG rows);
  void MergeSubFrames(LONG positions, LONG scale, LONG width, LONG height);
  void MergeSubFramesLut(LONG positions, LONG scale, LONG width, LONG height);
  void MergeContinuousFrame(LONG columnStep, LONG rowStep, LONG scale, LONG width, LONG height);
  LONG RGBFromPlanes(BYTE* rows, LONG width, LONG height, LONG stride);
  LONG GreyFromPlanes(BYTE* rows, LONG width, LONG height, LONG stride);
  void PlaneLevelStats(LONG width, LONG height, LONG* blackPoint, double* scale);
  LONG ApplyLevels(BYTE* rows, LONG width, LONG height, LONG stride);
  void PictureExposureStats(const BYTE* rows, LONG width, LONG height, LONG* mean, LONG* peak);
  void GreenExposureStats(const BYTE* rows, LONG width, LONG height, LONG* mean, LONG* peak);

  // ---- state
  BYTE* m_pLineBuffer = nullptr;  // locked, one whole line
  std::unique_ptr<BYTE[]> m_pWork;
  WORD m_PortBase = 0;
  LONG m_Revision = 0;
  DWORD m_ClassCode = 0;
  DWORD m_StatusMask = 9;
  LONG m_BlockLines = 8;
  std::atomic<LONG> m_TriggerLatch{0};  // set by any status read, taken by the trigger poll
  std::unique_ptr<CReadoutProgressWnd> m_pProgress;  // the readout progress window, when one is shown
  bool m_WhiteBalanceOpen = false;
  std::vector<std::vector<BYTE>> m_RawLines;
  std::vector<BYTE*> m_Planes[4];  // plane store: row pointers, empty until a capture
  LONG m_PlaneOrder[4] = {1, 2, 0, 3};  // blue, red, green on red rows, green on blue rows
  int16_t m_PhaseColumn[4][7][6] = {};
  int16_t m_PhaseRow[4][7][6] = {};
  BYTE ChannelLut[3][4][256];
  // Plane memory behind m_Planes, and the samples each plane row holds.
  std::vector<BYTE> m_PlaneMemory[4];
  LONG m_PlaneRowBytes = 0;
  LONG m_LaneOrder[4] = {0, 1, 2, 3};  // level table of each byte lane of a sub-frame word
  std::vector<BYTE*> m_SubFrameRows;   // 36 blocks of 516 rows, filled by the multi-frame readout
  LONG m_SubFrameRowBytes = 0;
  BYTE m_SubFrameSteps[7][36] = {};    // column step of each sub-frame, by grid size
  vexcam::GreenStatsState m_GreenStats;
  vexcam::Enhancement m_Enhancement;
  LONG m_ShiftPositions = 0;  // sensor positions of the running capture
  bool m_PreviewCapture = false;
  bool m_FrameParity = false;
  LONG m_NoiseStep = 128;
  LONG m_ExposureState = 0;
  LONG m_WindowTop = 0;
  bool m_WindowChanged = false;
  LONG m_CaptureOptionA = 0, m_CaptureOptionB = 0;
  RECT m_LastRect = {};
  bool m_BoardModeFlag = false;  // set by the power check from the revision and Mode
  bool m_Searching = false;

  // ---- camera control and exposure state
  // Held by a readout while it works on the stores: a power-off in between (a recovery
  // inside a handshake) leaves them alone and they are freed when the last lease ends.
  class StoreLease {
   public:
    explicit StoreLease(CCameraCtrl& camera);
    ~StoreLease();
    StoreLease(const StoreLease&) = delete;
    StoreLease& operator=(const StoreLease&) = delete;

   private:
    CCameraCtrl& m_Camera;
  };
  bool ModelA() const;
  // The status code of a camera fault word in the echo register (-17 to -19), or 0.
  static SHORT FaultStatus(DWORD echo);
  LONG m_ConfiguredVer = 0;        // CameraVer the geometry was last built for
  bool m_GeometryValid = false;
  LONG m_HandshakeFailures = 0;    // revision 217 on, for the life of the library
  std::unique_ptr<BYTE[]> m_LineBlock;  // raw sensor lines of every shift position
  size_t m_LineBlockBytes = 0;
  std::vector<BYTE*> m_LineRows[36];    // per shift position
  std::vector<BYTE*> m_LineRowsSpare;   // second copy of position (0, 0)
  std::unique_ptr<BYTE[]> m_PlaneBlock;
  std::vector<std::vector<BYTE>> m_SampleRows;  // continuous mode
  LONG m_ChangeResult = 0, m_ChangePrevious = 0, m_StillCount = 0;
  std::vector<BYTE> m_AverageBytes, m_AverageWords;  // averaging readout accumulators
  int m_StoreUsers = 0;
  bool m_StoreFreePending = false;
  bool m_PreviousLong = false;     // the last SetExposure ran a long exposure
  bool m_ExposureChanged = false;
  LONG m_AutoCounter = 0;          // auto-exposure hysteresis, signed
  bool m_Overshoot = false;
  bool m_Armed = false;            // a frame was started and not yet re-armed
  LONG m_LineMarks[2] = {};
  LONG m_FrameMarks[2] = {};
  LONG m_ExpectedWaitMs = 0;       // sleeps of the frame waits, taken off a capture's time
  LONG m_LastFrameMs = 0;          // the frame timer when it was last restarted
  bool m_ShiftRunning = false;     // a pixel-shift capture is running
  bool m_MoveDone = false;         // the actuator reached its target
  vexcam::SignalLatch m_Signal;   // the frame carries signal (set by auto exposure too)
  bool m_Overlap = false;          // live frames: the next exposure runs during the readout
  bool m_ExposureStarted = false;  // an exposure was started since the frame began
  LONG m_MeanCaptureMs = 0;        // mean of the last ten captures
  BYTE m_SavedLineCounter = 0;
  std::vector<BYTE> m_SavedLine = std::vector<BYTE>(4096);
  vexcam::GreenPairs m_GreenPairs;
  vexcam::ShiftTables m_Shift;     // actuator tables, loaded by the power check
  LONG m_ShiftFactor = 1;          // positions per axis of the running capture
  LONG m_Target[3] = {};           // current, previous and before-previous position
  int64_t m_MoveTicks = 0;         // performance counter at the last actuator move

  // ---- capture sequencing state
  // The picture of the export running on this thread only: the trigger poll's export
  // must not drop the picture a capture on another thread is filling.
  static inline thread_local CTrueImage* m_pImage = nullptr;
  bool m_ColourCapture = false;    // reconstruction and enhancement follow the readout
  bool m_ShiftInFrame = false;     // the pending move is made inside the frame wait
  bool m_Hold = false;             // live frames: no progress, some exposure starts left out
  bool m_WhiteBalanceRun = false;
  bool m_DiagonalStart = false;
  LONG m_WindowTranMode = -1;      // transfer mode and zoom the cached window was set up for
  double m_WindowZoom = 0;    // the diagonal pair starts at position 3 next time
  LONG m_BatchFirst = 0, m_BatchLast = 1;
  LONG m_SubCurrent = 0, m_SubNext = 0;  // positions of the sub-frame being read
  LONG m_FramePosition = 0;        // where the frame being read was exposed (set by the frame wait)
  bool m_WholeFrame = true;        // the frame holds one whole exposure
  LONG m_FrameCounter = 0;         // 100 per frame read, for the progress
  LONG m_ExposureUnits = 0, m_Overshoots = 0;  // accumulated long exposure
  bool m_ExposureComplete = true;
  vexcam::CaptureTimes m_CaptureTimes;
  std::vector<uint16_t> m_FrameSums;    // averaging accumulators
  std::vector<BYTE> m_AveragedLines;
  LONG m_LineStoreBytes[36] = {};       // bytes of one row of each position's line store

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
