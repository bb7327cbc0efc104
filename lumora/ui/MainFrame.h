// CMainFrame: the program's main window. This is the part the document and the
// application call today; the windows of the frame grow here behind the same names.
#pragma once
#include <afxwin.h>

#include <memory>
#include <mutex>

class CVexBufferControl;
class CVexCCDInput;
class CVexDisplayOutput;
class CVexErrorControl;
class CVexFileDelete;
class CVexFullScreenOutput;
class CVexRGBProcess;
class CVexShadingProcess;
class CVexAnnoContrl;
class CVexScaleDialog;
class CVexDoc;

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  enum : DWORD { kScaleDialogFlag = 0x200000 };
  CMainFrame();
  ~CMainFrame() override;

  // The frame of the running program, or null before it exists.
  static CMainFrame* Get();

  // Refuses input while settings are applied wholesale.
  void EnableFrame(BOOL bEnable);
  // Whether the window was last enabled, read under the lock EnableFrame takes.
  int IsCaptureAllowed() const;
  // The pipeline objects that fetch one fresh live frame into the live display.
  struct LiveStages {
    CVexBufferControl* buffers = nullptr;
    CVexCCDInput* camera = nullptr;
    CVexShadingProcess* shading = nullptr;
    CVexRGBProcess* rgb = nullptr;
    CVexDisplayOutput* liveDisplay = nullptr;
  };
  void SetLiveStages(const LiveStages& stages) { m_live = stages; }
  // One fresh frame from the camera, corrected as live view corrects it, shown in the
  // live display (live view is stopped while it runs).
  void CaptureLiveFrame();
  int IsLiveRunning() const { return m_bLiveRunning; }
  void StartLive() { m_bLiveRunning = 1; }
  void StopLive() { m_bLiveRunning = 0; }
  // Tells every pipeline object and view what changed (flag bits) in the document.
  void BroadcastUpdate(DWORD flags, LPARAM arg);
  // Exchanges the live and captured displays and records the new side in the document.
  void SwapDisplays();
  void SetSettingLoadMode(int mode) { m_nSettingLoadMode = mode; }
  int GetSettingLoadMode() const { return m_nSettingLoadMode; }
  void SetImageStatus(int status) { m_nImageStatus = status; }
  // Every target but the scale dialog, which hears only of captures and its opening.
  void UpdateAll() { BroadcastUpdate(0xFFFFFFFFu & ~DWORD(kScaleDialogFlag), 0); }
  void StartExternalTrigger() {}
  // While busy the frame's own commands do nothing.
  void SetBusy(BOOL busy) { m_bBusy = busy; }
  BOOL IsBusy() const { return m_bBusy; }
  // Shows the picture at the document's load path (the open flow).
  void RedisplayImage() { ++m_nRedisplays; }
  // Saves the current picture as the document's save path says (the save flow).
  void SaveCurrentImage() { ++m_nSaves; }
  void ReportError(SHORT type, SHORT detail);
  void EnableErrorReports(BOOL on) { m_bReportErrors = on; }
  void DeleteSelectedImages();
  // 1 while the printer output prints (it sets 1 when printing begins and 0 at the end).
  void SetDirectClose(int printing) { m_nDirectClose = printing; }
  int IsDirectClose() const { return m_nDirectClose; }
  // The full-screen window, and whether live view ran before a still picture went full
  // screen (ExitFullScreen restarts it then).
  void SetFullScreenWindow(CVexFullScreenOutput* window) { m_pFullScreen = window; }
  void SetLiveBeforeFullScreen(int ran) { m_bLiveBeforeFullScreen = ran; }
  // Leaves full-screen mode: live view as it was, the window hidden, the frame enabled.
  void ExitFullScreen();
  CVexErrorControl* ErrorControl() { return m_errors.get(); }
  CVexFileDelete* FileDelete() { return m_fileDelete.get(); }
  // The frame has no view: its document handles commands before the frame does.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // The frame has no view: it keeps the document it was created for.
  CDocument* GetActiveDocument() override { return m_pDocument; }

  // ---- annotation tool palette
  // Opens the palette (Image > Annotation, the toolbar): nothing when it is open, a
  // warning while the scale dialog is open.
  afx_msg void OnAnnotationTool();
  // The palette's chosen tool (0 none ... 7 freehand), 0 without a palette.
  int GetSelectedAnnotationTool();
  // Makes the still display's pane active, or gives it the focus when it already is.
  void ActivateImagePane();
  // The still display drops the object it is still drawing.
  void AbandonUnfinishedAnnotation();
  // The modal defaults dialog of a palette tool (1 text ... 7 freehand); OK stores the
  // values as the document's defaults for that kind.
  void OpenAnnotationSetDialog(int tool);
  // Destroys the palette and turns annotation off on the still display. The palette
  // object is freed once the message being handled (its own close) has returned.
  void CloseAnnotationTool();
  CVexAnnoContrl* GetAnnotationPalette() const { return m_pAnnoContrl.get(); }
  // The display that shows still pictures and takes annotation input.
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
  // The still picture changes pane: its annotations, selection and clipboard go with it.
  void SwapStillDisplay();

  // What the frame was told, for the views that will listen.
  DWORD LastUpdateFlags() const { return m_lastUpdate; }
  int UpdateCount() const { return m_nUpdates; }
  int RedisplayCount() const { return m_nRedisplays; }
  int SaveCount() const { return m_nSaves; }

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  afx_msg void OnDestroy();
  afx_msg LRESULT OnFreeClosedTools(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

  std::unique_ptr<CVexScaleDialog> m_pScaleDialog;  // the open scale dialog, or null

 private:
  CDocument* m_pDocument = nullptr;
  int m_bLiveRunning = 0;
  int m_nSettingLoadMode = 0;
  int m_nImageStatus = 0;
  DWORD m_lastUpdate = 0;
  int m_nUpdates = 0;
  BOOL m_bBusy = FALSE;
  BOOL m_bReportErrors = TRUE;
  int m_nRedisplays = 0;
  int m_nSaves = 0;
  int m_bCaptureAllowed = 1;
  mutable std::mutex m_enableLock;
  LiveStages m_live;
  int m_nDirectClose = 0;
  CVexFullScreenOutput* m_pFullScreen = nullptr;
  int m_bLiveBeforeFullScreen = 0;
  std::unique_ptr<CVexErrorControl> m_errors;
  std::unique_ptr<CVexFileDelete> m_fileDelete;
  std::unique_ptr<CVexAnnoContrl> m_pAnnoContrl;
  std::unique_ptr<CVexAnnoContrl> m_pClosedAnnoContrl;
  CVexDisplayOutput* m_pStillDisplay = nullptr;
  // Scale tool: a dialog closed by its own button waits here to be freed.
  std::unique_ptr<CVexScaleDialog> m_pClosedScaleDialog;
  // The still display's placement cache from the shooting settings; the overlays the
  // document's switches ask for, placed again.
  void SetStillScaleCache(const CVexDoc& doc);
  void PlaceScaleOverlays(const CVexDoc& doc, int swapped);
  int m_bCalibrating = 0;
  int m_bDimensionsSwapped = 0;  // set when a retouch swapped the picture's width and height
};
