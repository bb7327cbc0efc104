// CVexFlowControl: runs the image pipeline. It keeps one pointer per stage, keyed by
// step id, and runs fixed rows of step ids (flows) over the image slots; the rows are
// rebuilt from the document's settings. It also runs the capture progress and the
// saving indicator on their own threads while a capture or a save is in a stage.
#pragma once
#include <afxwin.h>

#include <atomic>
#include <thread>

#include "LumoraResource.h"
#include "pipeline/VexStageLinks.h"

class CVexBufferControl;
class CVexCCDInput;
class CVexDisplayOutput;
class CVexDoc;
class CVexErrorControl;
class CVexFullScreenOutput;
class CVexImageInput;
class CVexImageOutput;
class CVexItoIProcess;
class CVexItoVProcess;
class CVexProcessDialog;
class CVexSaveNowDialog;
class CVexThumbnailView;

using FlowStepId = SHORT;

// The steps a flow row names: the inputs, the picture-to-picture processes, the live
// process and the outputs. 305 shows live view full screen.
enum FlowStep : FlowStepId {
  kStepCamera = 0,
  kStepFile = 1,
  kStepRetouch = 100,
  kStepResize = 101,
  kStepProfile = 102,
  kStepNoiseCut = 103,
  kStepRGB = 104,
  kStepShading = 105,
  kStepFocus = 200,
  kStepLeftDisplay = 300,
  kStepRightDisplay = 301,
  kStepFileOutput = 302,
  kStepPrinter = 303,
  kStepFullScreen = 305,
};

class CVexFlowControl : public CView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexFlowControl)
 public:
  enum { kWindowId = IDW_FLOW_CONTROL, kRows = 7, kRowLength = 10 };
  enum Row : SHORT { kShoot, kLive, kOpen, kRetouch, kSave, kPrint };
  CVexFlowControl();
  ~CVexFlowControl() override;

  int SetBufferControl(CVexBufferControl* buffers) override;
  // Errors of the flows go to the document's latch; the link is kept for the stages' sake.
  void SetErrorControl(CVexErrorControl* errors) override { m_pErrorControl = errors; }
  int SetInput(SHORT id, CVexImageInput* stage);
  int SetProcess(SHORT id, CVexItoIProcess* stage);
  int SetLiveProcess(SHORT id, CVexItoVProcess* stage);
  int SetOutput(SHORT id, CVexImageOutput* stage);
  // Registers a stage under its step id by the kind the id names (input, process, live
  // process or output); 0 when the stage is not of that kind.
  int SetStage(FlowStepId id, CView* stage);
  void SetFullScreenOutput(CVexFullScreenOutput* viewer) { m_pFullScreen = viewer; }
  void SetThumbnailView(CVexThumbnailView* view) { m_pThumbnails = view; }
  void SetProgressWindow(CVexProcessDialog* window) { m_pShootProgress = window; }
  void SetSaveProgressWindow(CVexSaveNowDialog* window) { m_pSaveProgress = window; }
  CVexDoc* GetDocument() const;
  // The stage registered under a step id (0-1, 100-105, 200, 300-303), or null.
  CView* GetStage(FlowStepId id) const;

  int BuildFlows();
  virtual void OnSettingsChanged(LONG flag);
  int SetFlowStep(SHORT row, SHORT position, FlowStepId id);
  FlowStepId GetFlowStep(SHORT row, SHORT position) const;

  int RunFlow(SHORT row);
  void RequestStop() { m_bStopRequest = 1; }
  int RunShootFlow();
  int RunLiveFlow();
  int RunOpenFlow();
  int RunRetouchFlow();
  int RunSaveFlow();
  int RunPrintFlow();
  int PrepareBuffer(SHORT slot, int live);
  int RunWithProgress();
  int MakeThumbnail(SHORT index);
  int SwapDisplays();
  SHORT GetShootBufferIndex() const { return m_nShootSlot; }
  SHORT GetLiveBufferIndex() const { return m_nLiveSlot; }

  void OnDraw(CDC*) override {}

 private:
  // One helper thread with the flags its starter waits on.
  struct Worker {
    std::atomic<int> running{0};
    std::atomic<int> stop{1};
    std::thread thread;
  };
  SHORT RunStep(SHORT row, FlowStepId id, bool* end);
  SHORT RunCaptureStep();
  SHORT RunSaveStep();
  void MarkSaved();
  CVexDisplayOutput* StillPane() const;
  void SetDisplayModes();
  void StartWorker(Worker& worker, void (CVexFlowControl::*body)());
  void StopWorker(Worker& worker);
  void ExposureLoop();
  void SaveAnimationLoop();
  static void PumpOne();

  CVexBufferControl* m_pBuffers = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  SHORT m_nShootSlot = 2, m_nLiveSlot = 0;
  CVexImageInput* m_inputs[2] = {};
  CVexItoIProcess* m_processes[6] = {};
  CVexItoVProcess* m_pLiveProcess = nullptr;
  CVexImageOutput* m_outputs[4] = {};
  CVexThumbnailView* m_pThumbnails = nullptr;
  FlowStepId m_flows[kRows][kRowLength];
  CVexProcessDialog* m_pShootProgress = nullptr;
  CVexSaveNowDialog* m_pSaveProgress = nullptr;
  Worker m_exposure, m_saveAnimation;
  CVexDisplayOutput* m_pLeftDisplay = nullptr;
  CVexDisplayOutput* m_pRightDisplay = nullptr;
  CVexFullScreenOutput* m_pFullScreen = nullptr;
  std::atomic<int> m_bStopRequest{0};

 public:
  CVexFlowControl(const CVexFlowControl&) = delete;
  CVexFlowControl& operator=(const CVexFlowControl&) = delete;
};
