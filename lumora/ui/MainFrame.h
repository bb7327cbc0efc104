// CMainFrame: the program's only top-level window and the composition root. It lays out
// the four fixed panes, creates and wires every hidden pipeline object, runs the worker
// threads (live view, still capture, white balance, saving, trigger polling, the shading
// busy animation) and carries settings changes to the objects by UpdateFlags.
//
// Thread rule: the frame belongs to the user-interface thread. The worker bodies
// (LiveBody, TriggerBody, ShadingBusyBody, FlowProc) read the pipeline pointers, which
// are set before any worker starts and cleared only after all are joined, and read or
// write only the std::atomic members and their Worker's flags; whatever else they need
// they post to the window (kWorkerError, kArmEnableGuard, kTriggerFocus). m_liveLock
// orders live starts and stops, m_updateLock the update broadcasts, m_enableLock the
// enabling and m_bCaptureAllowed. Every plain int is the user-interface thread's alone.
#pragma once
#include <afxext.h>
#include <afxmt.h>
#include <afxwin.h>

#include <atomic>
#include <memory>
#include <vector>

#include "FixedSplitterWnd.h"
#include "LumoraResource.h"

class CVexAnnoContrl;
class SECCustomToolBar;
class CVexBufferControl;
class CVexCCDInput;
class CVexDisplayOutput;
class CVexDoc;
class CVexErrorControl;
class CVexFileDelete;
class CVexFileInput;
class CVexFileOutput;
class CVexFlowControl;
class CVexFocusProcess;
class CVexFullScreenOutput;
class CVexMainControlView;
class CVexNoiseCutProcess;
class CVexProcessDialog;
class CVexPrinterOutput;
class CVexProfileProcess;
class CVexRGBProcess;
class CVexResizeProcess;
class CVexRetouchProcess;
class CVexSaveNowDialog;
class CVexScaleDialog;
class CVexShadingNowDialog;
class CVexShadingProcess;
class CVexStageLinks;
class CVexThumbnailView;

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame();
  ~CMainFrame() override;
  // Messages the frame posts to itself: a palette or scale dialog freed after its close; the first live
  // frame; a worker's error pair (type, detail); focus to the full-screen window.
  enum : DWORD { kScaleDialogFlag = 0x200000 };
  enum : UINT {
    kFreeClosedTools = WM_APP + 0x31,
    kArmEnableGuard = WM_APP + 0x40,
    kWorkerError = WM_APP + 0x41,
    kTriggerFocus = WM_APP + 0x42,
  };

  // The frame of the running program, or null before it exists.
  static CMainFrame* Get();

  // ---- composition: which class each pane and hidden object is made of. Process-wide,
  // so that tests can put recording doubles in before the frame is created.
  struct ObjectClass {
    UINT id;
    CRuntimeClass* cls;
  };
  struct Composition {
    CRuntimeClass* display = nullptr;
    CRuntimeClass* thumbnails = nullptr;
    CRuntimeClass* controlView = nullptr;
    std::vector<ObjectClass> objects;  // in creation order
  };
  static Composition DefaultComposition();
  static Composition& Classes();

  // The fixed window rectangle for a work area, dialog base unit and caption height.
  struct Geometry {
    int x, y, width, height;
  };
  static Geometry ComputeGeometry(const RECT& workArea, int baseUnit, int captionHeight);

  // ---- services of the other windows
  void EnableFrame(BOOL bEnable);
  int IsCaptureAllowed();
  // The pipeline objects that fetch one fresh live frame into the live display.
  struct LiveStages {
    CVexBufferControl* buffers = nullptr;
    CVexCCDInput* camera = nullptr;
    CVexShadingProcess* shading = nullptr;
    CVexRGBProcess* rgb = nullptr;
    CVexDisplayOutput* liveDisplay = nullptr;
  };
  void SetLiveStages(const LiveStages& stages) { m_live = stages; }
  void CaptureLiveFrame();
  void SwapDisplays();
  void SetSettingLoadMode(int mode) { m_nSettingLoadMode = mode; }
  int GetSettingLoadMode() const { return m_nSettingLoadMode; }
  void SetImageStatus(int status);
  // Busy: a capture road of another window runs (it may pump a dialog); a close met
  // meanwhile comes when it ends.
  void SetBusy(BOOL busy);
  BOOL IsBusy() const { return m_bBusy; }
  // A close is asked for (waiting for an operation to end) or under way: nothing new
  // starts, and what runs is being stopped.
  BOOL IsClosing() const { return m_bClosing || m_bClosePending; }
  // 1 while the printer output prints (it sets 1 when printing begins and 0 at the end).
  void SetDirectClose(int printing) { m_bPrinting = printing; }
  int IsDirectClose() const { return m_bPrinting; }
  // The full-screen window, and whether live view ran before a still picture went full
  // screen (ExitFullScreen restarts it then).
  void SetFullScreenWindow(CVexFullScreenOutput* window) { m_pFullScreen = window; }
  CVexFullScreenOutput* FullScreenWindow() const { return m_pFullScreen; }
  void SetLiveBeforeFullScreen(int ran) { m_bLiveBeforeFullScreen = ran; }
  // Leaves full-screen mode: live view as it was, the trigger resumed, the window hidden,
  // the frame enabled.
  void ExitFullScreen();
  void RedisplayImage();
  void ReportError(SHORT type, SHORT detail);
  void EnableErrorReports(BOOL on) { m_bReportErrors = on; }
  void DeleteSelectedImages();
  // Prints the picture just taken (automatic printing after a capture).
  void AutoPrint();
  int MakeThumbnail(int index);
  // The first live frame (or a live start that failed before one): from now on
  // EnableFrame acts, and the window is enabled.
  void ArmEnableGuard();

  // ---- worker threads, live view and the update broadcast
  int StartLive();
  void StopLive();
  int IsLiveRunning() const { return m_liveWorker.running.load(); }
  int IsLiveOn() const { return m_bLiveOn.load(); }
  int CaptureStill(int timeLapse);
  int IsCapturing() const { return m_capture.running.load(); }
  void StopCapture();
  int RunWhiteBalance();
  void AbortWhiteBalance();
  void SaveCurrentImage();
  void StartExternalTrigger();
  void StartTriggerThread();
  void StopTrigger();
  int IsTriggerRunning() const { return m_trigger.running.load(); }
  void SuspendTrigger(int slot);
  void ResumeTrigger(int slot);
  void StartShadingBusy();
  void StopShadingBusy();
  void BroadcastUpdate(DWORD flags, LPARAM arg);
  void UpdateAll();

  // ---- objects and panes
  int AreObjectsReady() const { return m_bObjectsReady; }
  int IsCameraReady() const { return m_bCameraReady; }
  CVexErrorControl* ErrorControl() const { return m_pErrorControl; }
  CVexFileDelete* FileDelete() const { return m_pFileDelete; }
  CVexFlowControl* FlowControl() const { return m_pFlowControl; }
  CVexBufferControl* BufferControl() const { return m_pBufferControl; }
  CVexCCDInput* CameraInput() const { return m_pCCDInput; }
  CVexDisplayOutput* LeftDisplay() const { return m_pLeftDisplay; }
  CVexDisplayOutput* RightDisplay() const { return m_pRightDisplay; }
  CVexThumbnailView* ThumbnailView() const { return m_pThumbnailView; }
  CVexMainControlView* ControlView() const { return m_pControlView; }
  CVexProcessDialog* ProgressDialog() const { return m_pProgressDialog.get(); }
  CVexSaveNowDialog* SaveBusyDialog() const { return m_pSaveBusyDialog.get(); }
  CVexShadingNowDialog* ShadingBusyDialog() const { return m_pShadingBusyDialog.get(); }
  CStatusBar& StatusBar() { return m_wndStatusBar; }
  SECCustomToolBar* ToolBar() const { return m_pToolBar.get(); }
  CFixedSplitterWnd& OuterSplitter() { return m_wndOuter; }
  CFixedSplitterWnd& LeftSplitter() { return m_wndLeft; }
  CFixedSplitterWnd& RightSplitter() { return m_wndRight; }
  const CString& GetUserToolFile() const { return m_strUserToolFile; }
  const CObArray& GetUserTools() const { return m_userTools; }
  CObArray& UserTools() { return m_userTools; }

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // The frame has no view class: it keeps the document it was created for.
  CDocument* GetActiveDocument() override { return m_pDocument; }
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;

  // ---- annotation tool palette
  afx_msg void OnAnnotationTool();
  int GetSelectedAnnotationTool();
  void ActivateImagePane();
  void AbandonUnfinishedAnnotation();
  void OpenAnnotationSetDialog(int tool);
  void CloseAnnotationTool();
  CVexAnnoContrl* GetAnnotationPalette() const { return m_pAnnoContrl.get(); }
  void SetStillDisplay(CVexDisplayOutput* display) { m_pStillDisplay = display; }
  CVexDisplayOutput* GetStillDisplay() const { return m_pStillDisplay; }
  int IsScaleToolOpen() const { return m_pScaleDialog != nullptr; }

  // ---- scale tool and calibration
  // Opens the scale dialog (Image > Scale, the toolbar): nothing when it is open, a
  // warning while the annotation palette is open.
  afx_msg void OnScaleTool();
  void OpenScaleTool() { OnScaleTool(); }
  // Destroys the scale dialog; the object is freed once the message being handled (its
  // own OK or Cancel) has returned. Scale editing stays on while the still picture shows
  // the scale.
  void CloseScaleTool();
  CVexScaleDialog* GetScaleDialog() const { return m_pScaleDialog.get(); }
  // Places both displays' scale overlays again from the document's switches and preset.
  void RefreshScaleOverlays();
  // A measuring line on the still display, and its length handed to the scale dialog.
  void BeginCalibration();
  void EndCalibration();
  int IsCalibrating() const { return m_bCalibrating; }

  // ---- annotation editing on the still display
  // The commands of context menu 144 and accelerators 128 go to the still display.
  BOOL RouteToStillDisplay(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
  // Moves the whole editing state from one display to the other, `from` ending empty.
  static void MoveAnnotationState(CVexDisplayOutput& from, CVexDisplayOutput& to);

  // ---- commands of the menus, the toolbar and the accelerators
  // Print types: 0 print preview, 1 print, 2 layout preview, 3 layout print; -1 before
  // any print command chose one.
  int GetPrintType() const { return m_nPrintType; }
  void OnPrintPreviewType(int type);
  void OnPrintType(int type);
  // Still full screen (View > Full Screen) and live full screen (Live > Full Screen).
  afx_msg void OnFullScreen();
  afx_msg void OnLiveFullScreen();
  // Freezes live view on one fresh frame, or resumes it.
  afx_msg void OnLiveOn();
  afx_msg void OnExternalTrigger();
  afx_msg void OnLauncherProperty();
  afx_msg void OnUserTool(UINT nID);
  // Retouches the still picture (the document's Retouch command).
  void RetouchImage();
  // The path of the picture shown, as the user tools' %F: an open sets it to the opened
  // file, a save to the saved file, a capture not saved clears it.
  void KeepShownPath();
  // Exchanges the live and still panes (pictures, flows, annotation state, overlays).
  int ExchangeDisplays();

  // Tells a test what the frame was asked to do before it does it.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void OnBroadcast(DWORD flags, LPARAM arg) {}
    virtual void OnRedisplay() {}
    virtual void OnSave() {}
    virtual void OnEnableFrame(BOOL enable) {}
    virtual void OnLive(BOOL start) {}
  };
  void SetObserver(Observer* observer) { m_pObserver = observer; }

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg void OnUpdateClock(CCmdUI* pCmdUI);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg LRESULT OnFreeClosedTools(WPARAM, LPARAM);
  afx_msg LRESULT OnArmEnableGuard(WPARAM, LPARAM);
  afx_msg LRESULT OnWorkerError(WPARAM, LPARAM);
  afx_msg LRESULT OnTriggerFocus(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

  void InitObjects();
  void DestroyObjects();
  void ApplyFixedLayout();

  std::unique_ptr<CVexScaleDialog> m_pScaleDialog;  // the open scale dialog, or null

 private:
  // One worker: `running` written by the thread, `stop` by the user-interface thread,
  // and `started`, which the thread sets first and never clears, so a waiter cannot miss
  // a run that begins and ends between two looks.
  struct Worker {
    std::atomic<int> running{0};
    std::atomic<int> stop{1};
    std::atomic<int> started{0};
    std::unique_ptr<CWinThread> thread;
    // A flow worker's frame and the flow it runs, set before its thread starts.
    CMainFrame* owner = nullptr;
    int (CVexFlowControl::*flowRun)() = nullptr;
  };
  // Counts the operations that pump messages; a close or quit met inside them waits for
  // the outermost one to end.
  class Operation;
  friend class Operation;

  // The hidden pipeline objects, one row each in creation order: window id, default
  // class, the member that keeps it, its flow step (-1 none), and whether it is made late
  // (after the windows the others need) or joins the document. A new stage is one row.
  enum StageFlags : unsigned { kInDocument = 1, kMadeLate = 2 };
  struct StageRow {
    UINT id;
    CRuntimeClass* cls;
    SHORT step;
    unsigned flags;
    CView* (*get)(const CMainFrame&);
    void (*set)(CMainFrame&, CView*);
  };
  static const std::vector<StageRow>& StageTable();
  template <auto Member>
  static StageRow Row(UINT id, CRuntimeClass* cls, SHORT step, unsigned flags);
  // Everything the image slots and the error control are given to: panes, stages, full screen.
  std::vector<CVexStageLinks*> LinkedObjects() const;

  CView* MakeObject(UINT id);
  void RegisterObjects();
  void UpdateDisplayRoles();
  void CheckCameraAtStart();
  void ShowSplash();
  void LoadTools();
  CVexDoc* Doc() const;

  // Starts the worker's thread on `proc`, which gets `param` (the frame when null).
  void StartWorker(Worker& worker, AFX_THREADPROC proc, LPVOID param = nullptr);
  // The capture, white-balance and save workers: one flow run between the worker's flags.
  void StartFlowWorker(Worker& worker, int (CVexFlowControl::*run)());
  void Join(Worker& worker);
  void PumpOnce();
  void PumpUntil(const std::atomic<int>& flag, int value, DWORD sleepMillis = 0);
  // Pumps until the worker's running flag falls; sleeps between messages until its thread ends.
  void PumpUntilEnded(Worker& worker);
  void WaitForRun(Worker& worker);
  void StopWorker(Worker& worker);
  void StopAllWorkers();
  // Posts the close that waited for an operation to end.
  void PostPendingClose();
  static UINT LiveProc(LPVOID frame);
  static UINT FlowProc(LPVOID worker);
  static UINT TriggerProc(LPVOID frame);
  static UINT ShadingBusyProc(LPVOID frame);
  UINT LiveBody();
  UINT TriggerBody();
  UINT ShadingBusyBody();
  // The broadcast the frame sends itself (no observer hears it).
  void Broadcast(DWORD flags, LPARAM arg);
  void NotifyTargets(DWORD flags, LPARAM arg);
  void Notify(DWORD bit, LPARAM arg);

  CFixedSplitterWnd m_wndOuter, m_wndLeft, m_wndRight;
  CDocument* m_pDocument = nullptr;
  CVexBufferControl* m_pBufferControl = nullptr;
  CVexFlowControl* m_pFlowControl = nullptr;
  CVexCCDInput* m_pCCDInput = nullptr;
  CVexDisplayOutput* m_pLeftDisplay = nullptr;
  CVexDisplayOutput* m_pRightDisplay = nullptr;
  CVexFileInput* m_pFileInput = nullptr;
  CVexFileOutput* m_pFileOutput = nullptr;
  CVexFileDelete* m_pFileDelete = nullptr;
  CVexPrinterOutput* m_pPrinterOutput = nullptr;
  CVexProfileProcess* m_pProfile = nullptr;
  CVexFocusProcess* m_pFocus = nullptr;
  CVexRetouchProcess* m_pRetouch = nullptr;
  CVexResizeProcess* m_pResize = nullptr;
  CVexNoiseCutProcess* m_pNoiseCut = nullptr;
  CVexRGBProcess* m_pRGB = nullptr;
  CVexShadingProcess* m_pShading = nullptr;
  CVexThumbnailView* m_pThumbnailView = nullptr;
  CVexMainControlView* m_pControlView = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  CVexFullScreenOutput* m_pFullScreen = nullptr;  // owned by m_pFullScreenOwned, or a test's
  std::unique_ptr<CVexFullScreenOutput> m_pFullScreenOwned;
  int m_bLiveBeforeFullScreen = 0;
  // Hidden objects made (their windows) and added to the document, for the teardown.
  std::vector<CView*> m_made;
  std::vector<CView*> m_added;

  Worker m_liveWorker, m_capture, m_whiteBalance, m_save, m_trigger, m_shadingBusy;
  std::atomic<int> m_bObjectsReady{0};
  std::unique_ptr<CVexProcessDialog> m_pProgressDialog;
  std::unique_ptr<CVexSaveNowDialog> m_pSaveBusyDialog;
  std::unique_ptr<CVexShadingNowDialog> m_pShadingBusyDialog;
  CStatusBar m_wndStatusBar;
  std::unique_ptr<SECCustomToolBar> m_pToolBar;
  UINT m_nSavedPaneStyle = 0;
  UINT m_nSavedPaneId = 0;
  int m_nSavedPaneWidth = -1;
  int m_bMenuActive = 0;
  CObArray m_userTools;
  int m_bPrinting = 0;
  CCriticalSection m_liveLock, m_updateLock, m_enableLock;
  std::atomic<int> m_bLiveOn{0};
  CString m_strClockFormat = "hh':'mm tt";
  int m_nWindowX = 0, m_nWindowY = 0, m_nWindowWidth = 0, m_nWindowHeight = 0;
  int m_bErrorControlReady = 0;
  int m_bCameraInputReady = 0;
  std::atomic<int> m_bCameraReady{0};
  std::atomic<int> m_bEnableGuard{0};
  std::atomic<int> m_bEnableArmed{0};  // the first live frame (or a failed start) was seen
  std::atomic<int> m_bCapturing{0};
  std::atomic<int> m_bClosing{0};
  CString m_strUserToolFile;
  std::atomic<int> m_bBusy{0};
  int m_bDimensionsSwapped = 0;
  int m_bCaptureAllowed = 1;
  int m_bCalibrating = 0;
  int m_nSettingLoadMode = 0;
  int m_bTriggerSuspended[2] = {0, 0};
  int m_bReportErrors = TRUE;
  int m_nOperationDepth = 0;
  int m_bClosePending = 0;
  int m_bClosePosted = 0;  // the pending close's WM_CLOSE is in the queue
  int m_bQuitTaken = 0;
  int m_nQuitCode = 0;
  LiveStages m_live;
  Observer* m_pObserver = nullptr;
  std::unique_ptr<CVexAnnoContrl> m_pAnnoContrl;
  std::unique_ptr<CVexAnnoContrl> m_pClosedAnnoContrl;
  CVexDisplayOutput* m_pStillDisplay = nullptr;
  // Scale tool: a dialog closed by its own button waits here to be freed.
  std::unique_ptr<CVexScaleDialog> m_pClosedScaleDialog;
  // The still display's placement cache from the shooting settings; the overlays the
  // document's switches ask for, placed again.
  // Command handlers whose ids share one body.
  afx_msg void OnPrintPreviewCommand();
  afx_msg void OnPrintCommand();
  afx_msg void OnLayoutPreviewCommand();
  afx_msg void OnLayoutPrintCommand();
  afx_msg void OnFilePrintPreview();
  afx_msg void OnFilePrint();
  afx_msg void OnZoomCommand(UINT nID);
  afx_msg void OnLeftFullScreen();
  afx_msg void OnRightFullScreen();
  afx_msg void OnRefreshThumbnail();
  afx_msg void OnSwapDisplays();
  afx_msg void OnUpdateLiveOn(CCmdUI* pCmdUI);
  afx_msg void OnUpdateDisplayRight(CCmdUI* pCmdUI);
  afx_msg void OnUpdateExternalTrigger(CCmdUI* pCmdUI);
  afx_msg void OnUpdateUserTool(CCmdUI* pCmdUI);
  void FullScreenOf(CVexDisplayOutput* display);
  int m_nPrintType = -1;
  void SetStillScaleCache(const CVexDoc& doc);
  void PlaceScaleOverlays(const CVexDoc& doc, int swapped);
};
