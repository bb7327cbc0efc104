// The main frame's worker threads, live view with its lock, the window enable protocol
// and the update broadcast.
#include <afxmt.h>

#include "MainFrame.h"
#include "UpdateFlags.h"
#include "VexBusyDialogs.h"
#include "VexMainControlView.h"
#include "VexThumbnailView.h"
#include "annotation/dialogs/VexScaleDialog.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexFileDelete.h"
#include "control/VexFlowControl.h"
#include "outside/Ardel.h"
#include "pipeline/input/VexCCDInput.h"
#include "pipeline/input/VexFileInput.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/output/VexFileOutput.h"
#include "pipeline/output/VexFullScreenOutput.h"
#include "pipeline/output/VexPrinterOutput.h"
#include "pipeline/process/VexFocusProcess.h"
#include "pipeline/process/VexNoiseCutProcess.h"
#include "pipeline/process/VexProfileProcess.h"
#include "pipeline/process/VexRGBProcess.h"
#include "pipeline/process/VexResizeProcess.h"
#include "pipeline/process/VexShadingProcess.h"
#include "pipeline/retouch/VexRetouchProcess.h"

namespace {
constexpr UINT kCaptureCommand = 1038;
}

// While an operation pumps messages, a WM_CLOSE waits and a WM_QUIT it took is kept;
// the outermost operation hands both on when it ends.
class CMainFrame::Operation {
 public:
  explicit Operation(CMainFrame& frame) : frame_(frame) { ++frame_.m_nOperationDepth; }
  ~Operation() {
    if (--frame_.m_nOperationDepth > 0) return;
    if (!frame_.m_bBusy) frame_.PostPendingClose();
    if (frame_.m_bQuitTaken) {
      frame_.m_bQuitTaken = 0;
      ::PostQuitMessage(frame_.m_nQuitCode);
    }
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

 private:
  CMainFrame& frame_;
};

// ---- pumping and workers

void CMainFrame::PumpOnce() {
  MSG msg;
  if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      m_bQuitTaken = 1;
      m_nQuitCode = static_cast<int>(msg.wParam);
    } else {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

void CMainFrame::PumpUntil(const std::atomic<int>& flag, int value, DWORD sleepMillis) {
  while (flag.load() != value) {
    PumpOnce();
    ::Sleep(sleepMillis);
  }
}

void CMainFrame::PumpUntilEnded(Worker& worker) {
  HANDLE ending = worker.thread ? worker.thread->m_hThread : nullptr;
  if (!ending) return PumpUntil(worker.running, 0);
  while (worker.running.load() != 0) {
    PumpOnce();
    if (worker.running.load() == 0) break;
    // The flag falls as the worker's thread returns: sleep until it has ended or a message
    // (a sent one too) comes for this thread, not round and round.
    ::MsgWaitForMultipleObjects(1, &ending, FALSE, INFINITE, QS_ALLINPUT);
  }
}

void CMainFrame::StartWorker(Worker& worker, AFX_THREADPROC proc, LPVOID param) {
  Join(worker);
  worker.started = 0;
  // Once a close is asked for, no worker starts: the close joins the ones that run.
  CWinThread* thread =
      IsClosing() ? nullptr : AfxBeginThread(proc, param ? param : this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  if (!thread) {
    // Nothing runs: a waiter sees a run that has already ended.
    worker.started = 1;
    return;
  }
  thread->m_bAutoDelete = FALSE;
  worker.thread.reset(thread);
  thread->ResumeThread();
}

void CMainFrame::Join(Worker& worker) {
  if (!worker.thread) return;
  ::WaitForSingleObject(worker.thread->m_hThread, INFINITE);
  worker.thread.reset();
}

void CMainFrame::WaitForRun(Worker& worker) {
  PumpUntil(worker.started, 1);
  PumpUntilEnded(worker);
}

void CMainFrame::StopWorker(Worker& worker) {
  worker.stop = 1;
  if (CVexDoc* doc = Doc()) doc->SetAbort(1);
  PumpUntilEnded(worker);
}

void CMainFrame::StopAllWorkers() {
  Operation op(*this);
  if (m_capture.running) StopCapture();
  if (m_whiteBalance.running) AbortWhiteBalance();
  if (m_liveWorker.running) StopLive();
  if (m_trigger.running) StopTrigger();
  if (m_shadingBusy.running) StopShadingBusy();
  // The save has no stopper, but its objects must outlive it.
  PumpUntilEnded(m_save);
  for (Worker* w : {&m_liveWorker, &m_capture, &m_whiteBalance, &m_save, &m_trigger, &m_shadingBusy}) Join(*w);
  // The abort stopped these runs; the settings keep no abort for the next start.
  if (CVexDoc* doc = Doc()) doc->SetAbort(0);
}

UINT CMainFrame::LiveProc(LPVOID frame) { return static_cast<CMainFrame*>(frame)->LiveBody(); }

void CMainFrame::StartFlowWorker(Worker& worker, int (CVexFlowControl::*run)()) {
  worker.owner = this;
  worker.flowRun = run;
  StartWorker(worker, FlowProc, &worker);
}

UINT CMainFrame::FlowProc(LPVOID p) {
  auto* worker = static_cast<Worker*>(p);
  worker->running = 1;
  worker->started = 1;
  if (CVexFlowControl* flow = worker->owner->m_pFlowControl) (flow->*worker->flowRun)();
  worker->running = 0;
  return 0;
}

UINT CMainFrame::TriggerProc(LPVOID frame) { return static_cast<CMainFrame*>(frame)->TriggerBody(); }
UINT CMainFrame::ShadingBusyProc(LPVOID frame) { return static_cast<CMainFrame*>(frame)->ShadingBusyBody(); }

// ---- live view

int CMainFrame::StartLive() {
  if (m_pObserver) m_pObserver->OnLive(TRUE);
  if (IsClosing()) return 0;
  Operation op(*this);
  CVexDoc* doc = Doc();
  int started = 0;
  if (!m_bObjectsReady || !doc) {
    if (m_bErrorControlReady) ReportError(4, 1);
  } else if (!m_bCameraReady) {
    ReportError(110, 6);
  } else {
    CSingleLock lock(&m_liveLock, TRUE);
    // Live on without a running thread (it ended on an error) counts as off.
    if (m_bLiveOn && m_liveWorker.running) return 0;
    m_bLiveOn = 0;
    doc->ClearLastError();
    doc->SetCaptureMode(1);
    if (!m_pFlowControl->PrepareBuffer(m_pFlowControl->GetLiveBufferIndex(), 1)) {
      lock.Unlock();
      ReportError(1, 1);
    } else {
      Broadcast(kUpdCCDInput, 0);
      if (doc->GetFocusTargetState() == 1 && doc->GetWBAreaSelection() == 0) {
        lock.Unlock();
        Broadcast(kUpdFocus, 0);
        lock.Lock();
      }
      m_pCCDInput->CaptureScratchFrame();
      m_liveWorker.stop = 0;
      StartWorker(m_liveWorker, LiveProc);
      PumpUntil(m_liveWorker.started, 1);
      m_bLiveOn = 1;
      started = 1;
    }
  }
  // Without a camera no first frame will ever enable the window.
  if (!started && !m_bEnableArmed) ArmEnableGuard();
  return started;
}

UINT CMainFrame::LiveBody() {
  Worker& w = m_liveWorker;
  if (m_bClosing) {
    w.started = 1;
    return 0;
  }
  w.running = 1;
  w.started = 1;
  CVexDoc* doc = Doc();
  bool posted = false;
  do {
    m_pFlowControl->RunLiveFlow();
    if (doc->GetLastErrorValue() == 1) {
      // Reported, and the window enabled, by the user-interface thread.
      PostMessage(kWorkerError, static_cast<WPARAM>(doc->GetLastErrorType()),
                  static_cast<LPARAM>(doc->GetLastErrorDetail()));
      if (!m_bEnableArmed && !posted) PostMessage(kArmEnableGuard);
      break;
    }
    ::Sleep(0);
    if (!m_bEnableArmed && !posted) {
      PostMessage(kArmEnableGuard);
      posted = true;
    }
  } while (w.stop != 1 && !m_bClosing);
  w.running = 0;
  return 0;
}

void CMainFrame::StopLive() {
  if (m_pObserver) m_pObserver->OnLive(FALSE);
  Operation op(*this);
  CSingleLock lock(&m_liveLock, TRUE);
  CVexDoc* doc = Doc();
  m_liveWorker.stop = 1;
  if (doc) doc->SetAbort(1);
  PumpUntilEnded(m_liveWorker);
  if (doc) doc->SetAbort(0);
  m_bLiveOn = 0;
}

LRESULT CMainFrame::OnArmEnableGuard(WPARAM, LPARAM) {
  ArmEnableGuard();
  return 0;
}

void CMainFrame::ArmEnableGuard() {
  if (m_bEnableArmed) return;
  m_bEnableArmed = 1;
  m_bEnableGuard = 1;
  EnableFrame(1);
}

LRESULT CMainFrame::OnWorkerError(WPARAM type, LPARAM detail) {
  ReportError(static_cast<SHORT>(type), static_cast<SHORT>(detail));
  return 0;
}

// ---- still capture, white balance, saving

int CMainFrame::CaptureStill(int timeLapse) {
  CVexDoc* doc = Doc();
  if (!m_bObjectsReady || !doc) {
    if (m_bErrorControlReady) ReportError(4, 1);
    return 0;
  }
  if (!m_bCameraReady) {
    ReportError(110, 6);
    return 0;
  }
  if (m_bCapturing || IsClosing()) return 0;
  m_bCapturing = 1;
  Operation op(*this);
  doc->ClearLastError();
  doc->SetCaptureMode(0);
  if (!m_pFlowControl->PrepareBuffer(m_pFlowControl->GetShootBufferIndex(), 0)) {
    // The caller reports the latched pair, as after any failed shot.
    doc->SetLastError(1, 1, 1);
    m_bCapturing = 0;
    return 0;
  }
  Broadcast(kUpdCCDInput, 0);
  if (timeLapse)
    doc->MakeTimeLapseName();
  else if (doc->GetAutoSave() == 1)
    doc->MakeAutoSaveName();
  m_capture.stop = 0;
  StartFlowWorker(m_capture, &CVexFlowControl::RunShootFlow);
  WaitForRun(m_capture);
  if (doc->IsShotDone()) {
    if (doc->GetAutoSave() == 1) Broadcast(kUpdThumbNewFile, 0);
  } else if (timeLapse) {
    m_bCapturing = 0;
    return 0;
  }
  if (m_pStillDisplay) m_pStillDisplay->SetLiveOption(1);
  const DWORD size = doc->GetResizeSaveSize();
  const LPARAM code = doc->IsShootMode() && doc->GetResizeSave() == 1 && size <= 2 ? static_cast<LPARAM>(size) : -1;
  Broadcast(kUpdScaleDialog, code);
  doc->SetShootState(0);
  KeepShownPath();
  m_bCapturing = 0;
  return 1;
}

void CMainFrame::StopCapture() {
  Operation op(*this);
  StopWorker(m_capture);
}

void CMainFrame::AbortWhiteBalance() {
  Operation op(*this);
  StopWorker(m_whiteBalance);
}

int CMainFrame::RunWhiteBalance() {
  Operation op(*this);
  const int live = IsLiveRunning();
  if (live) StopLive();
  if (CVexDoc* doc = Doc()) doc->SetCaptureMode(2);
  m_whiteBalance.stop = 0;
  StartFlowWorker(m_whiteBalance, &CVexFlowControl::RunWithProgress);
  WaitForRun(m_whiteBalance);
  if (live) StartLive();
  return 1;
}

void CMainFrame::SaveCurrentImage() {
  if (m_pObserver) m_pObserver->OnSave();
  CVexDoc* doc = Doc();
  if (!doc || !m_pFlowControl) return;
  Operation op(*this);
  const int live = IsLiveRunning();
  if (live) StopLive();
  CFileFind find;
  const BOOL existed = find.FindFile(doc->GetSavePath());
  // An error left from an earlier run is not this save's.
  doc->ClearLastError();
  StartFlowWorker(m_save, &CVexFlowControl::RunSaveFlow);
  WaitForRun(m_save);
  if (doc->GetLastErrorValue() == 1)
    ReportError(static_cast<SHORT>(doc->GetLastErrorType()), static_cast<SHORT>(doc->GetLastErrorDetail()));
  else
    Broadcast(existed ? kUpdThumbOverwrite : kUpdThumbNewFile, 0);
  KeepShownPath();
  if (live) StartLive();
}

// ---- external trigger

void CMainFrame::StartExternalTrigger() {
  CVexDoc* doc = Doc();
  if (!doc || doc->GetExternalTrigger() != 1 || !m_pCCDInput) return;
  // A panel that starts in time-lapse mode has suspended polling already; its resume starts it.
  if (m_bTriggerSuspended[0] || m_bTriggerSuspended[1]) return;
  m_pCCDInput->CheckStatus();
  StartTriggerThread();
}

void CMainFrame::StartTriggerThread() {
  if (!m_pCCDInput || m_trigger.running) return;
  Operation op(*this);
  m_trigger.stop = 0;
  // The camera takes one capture at a time: live view waits while the scratch frame is
  // taken (a resume after full screen comes with live view running).
  const int live = IsLiveRunning();
  if (live) StopLive();
  m_pCCDInput->CaptureScratchFrame();
  StartWorker(m_trigger, TriggerProc);
  PumpUntil(m_trigger.started, 1);
  if (live) StartLive();
}

UINT CMainFrame::TriggerBody() {
  Worker& w = m_trigger;
  if (m_bClosing) {
    w.started = 1;
    return 0;
  }
  w.running = 1;
  w.started = 1;
  CVexDoc* doc = Doc();
  doc->SetAbort(0);
  do {
    if (m_pCCDInput->CheckStatus() == 1) {
      if (!m_bBusy && IsCaptureAllowed() && doc->GetEnableTimeLapse() != 1 && doc->IsFullScreen() == 0 &&
          doc->GetViewState() != 1) {
        if (m_pControlView && m_pControlView->GetSafeHwnd())
          ::SendMessageA(m_pControlView->m_hWnd, WM_COMMAND, kCaptureCommand, 0);
        m_pCCDInput->CheckStatus();
      } else if (doc->IsFullScreen() == 1 || doc->GetViewState() == 1) {
        PostMessage(kTriggerFocus);
      }
    }
    AR_SetPowerStateOn();
    ::Sleep(100);
  } while (w.stop != 1);
  w.running = 0;
  return 1;
}

LRESULT CMainFrame::OnTriggerFocus(WPARAM, LPARAM) {
  if (m_pFullScreen && m_pFullScreen->GetSafeHwnd()) {
    m_pFullScreen->SetFocus();
    m_pFullScreen->SetCapture();
  }
  return 0;
}

void CMainFrame::StopTrigger() {
  Operation op(*this);
  m_trigger.stop = 1;
  if (CVexDoc* doc = Doc()) doc->SetAbort(1);
  PumpUntil(m_trigger.running, 0, 10);
}

void CMainFrame::SuspendTrigger(int slot) {
  if (slot < 0 || slot > 1) return;
  CVexDoc* doc = Doc();
  // The slot notes the setting, not the thread: a suspension made before polling starts holds
  // it off until the resume. Polling stops; the stored setting stays as the user left it.
  m_bTriggerSuspended[slot] = doc && doc->GetExternalTrigger() == 1 ? 1 : 0;
  if (!m_bTriggerSuspended[slot]) return;
  if (m_pCCDInput) m_pCCDInput->CheckStatus();
  ::Sleep(100);
  if (m_trigger.running) StopTrigger();
}

void CMainFrame::ResumeTrigger(int slot) {
  if (slot < 0 || slot > 1 || !m_bTriggerSuspended[slot]) return;
  m_bTriggerSuspended[slot] = 0;
  // Full screen shown in time-lapse mode: polling waits for the other slot's resume too.
  if (m_bTriggerSuspended[1 - slot]) return;
  CVexDoc* doc = Doc();
  // Switched off meanwhile: nothing to resume.
  if (!doc || doc->GetExternalTrigger() != 1 || !m_pCCDInput) return;
  m_pCCDInput->CheckStatus();
  ::Sleep(100);
  StartTriggerThread();
  ::Sleep(100);
}

// ---- shading busy animation

void CMainFrame::StartShadingBusy() {
  if (!m_pShadingBusyDialog || m_shadingBusy.running) return;
  m_shadingBusy.stop = 0;
  m_pShadingBusyDialog->ShowWindow(SW_SHOWNORMAL);
  m_pShadingBusyDialog->SetForegroundWindow();
  StartWorker(m_shadingBusy, ShadingBusyProc);
  PumpUntil(m_shadingBusy.started, 1);
}

UINT CMainFrame::ShadingBusyBody() {
  Worker& w = m_shadingBusy;
  w.running = 1;
  w.started = 1;
  SHORT frame = 0;
  do {
    if (frame == 4) frame = 0;
    if (m_pShadingBusyDialog) m_pShadingBusyDialog->SetSpinnerFrame(frame);
    ++frame;
    ::Sleep(200);
  } while (w.stop != 1);
  w.running = 0;
  return 0;
}

void CMainFrame::StopShadingBusy() {
  Operation op(*this);
  m_shadingBusy.stop = 1;
  PumpUntil(m_shadingBusy.running, 0, 100);
  if (m_pShadingBusyDialog) m_pShadingBusyDialog->ShowWindow(SW_HIDE);
}

// ---- window enable protocol

void CMainFrame::EnableFrame(BOOL enable) {
  if (m_pObserver) m_pObserver->OnEnableFrame(enable);
  if (!m_bEnableGuard) return;
  CSingleLock lock(&m_enableLock, TRUE);
  m_bEnableGuard = 0;
  m_bCaptureAllowed = enable ? 1 : 0;
  if (m_nSettingLoadMode && m_pControlView) {
    m_pControlView->FocusCaptureButton();
    ::ReleaseCapture();
  }
  if (GetSafeHwnd()) {
    EnableWindow(enable);
    if (enable) {
      SetFocus();
      ::ReleaseCapture();
    }
  }
  m_bEnableGuard = 1;
}

int CMainFrame::IsCaptureAllowed() {
  CSingleLock lock(&m_enableLock, TRUE);
  return m_bCaptureAllowed;
}

// ---- update broadcast

void CMainFrame::Notify(DWORD bit, LPARAM arg) {
  const LONG flag = static_cast<LONG>(bit);
  const bool liveLeft = Doc() && Doc()->IsLiveWindowLeft() == 1;
  // Hidden objects of a composition that failed were never given the document: they
  // hear nothing. The panes, the views of the document, always hear their bits.
  const bool objects = m_bObjectsReady == 1;
  switch (objects ? bit : (bit & (kUpdControlView | kUpdReloadSettings | kUpdLiveDisplay | kUpdStillDisplay |
                                  kUpdThumbFolder | kUpdThumbNewFile | kUpdThumbOverwrite | kUpdThumbDeleted |
                                  kUpdScaleDialog))) {
    case kUpdControlView:
    case kUpdReloadSettings:
      if (m_pControlView) m_pControlView->OnSettingsChanged(flag);
      break;
    case kUpdFlowControl:
      if (m_pFlowControl) m_pFlowControl->OnSettingsChanged(flag);
      break;
    case kUpdCCDInput:
      if (m_pCCDInput) m_pCCDInput->OnSettingsChanged(flag);
      break;
    case kUpdFileInput:
      if (m_pFileInput) m_pFileInput->OnSettingsChanged(flag);
      break;
    case kUpdRetouch:
      if (m_pRetouch) m_pRetouch->OnSettingsChanged(flag);
      break;
    case kUpdProfile:
      if (m_pProfile) m_pProfile->OnSettingsChanged(flag);
      break;
    case kUpdFocus:
      if (m_pFocus) m_pFocus->OnSettingsChanged(flag);
      break;
    case kUpdResize:
      if (m_pResize) m_pResize->OnSettingsChanged(flag);
      break;
    case kUpdNoiseCut:
      if (m_pNoiseCut) m_pNoiseCut->OnSettingsChanged(flag);
      break;
    case kUpdRGB:
      if (m_pRGB) m_pRGB->OnSettingsChanged(flag);
      break;
    case kUpdShading:
      if (m_pShading) m_pShading->OnSettingsChanged(flag);
      break;
    case kUpdLiveDisplay:
      if (CVexDisplayOutput* d = liveLeft ? m_pLeftDisplay : m_pRightDisplay) d->OnSettingsChanged(flag);
      break;
    case kUpdStillDisplay:
      if (CVexDisplayOutput* d = liveLeft ? m_pRightDisplay : m_pLeftDisplay) d->OnSettingsChanged(flag);
      break;
    case kUpdFileOutput:
      if (m_pFileOutput) m_pFileOutput->OnSettingsChanged(flag);
      break;
    case kUpdPrinterOutput:
      if (m_pPrinterOutput) m_pPrinterOutput->OnSettingsChanged(flag);
      break;
    case kUpdFileDelete:
      if (m_pFileDelete) m_pFileDelete->OnSettingsChanged(bit);
      break;
    case kUpdThumbFolder:
    case kUpdThumbNewFile:
    case kUpdThumbOverwrite:
    case kUpdThumbDeleted:
      if (m_pThumbnailView) m_pThumbnailView->OnSettingsChanged(flag);
      break;
    case kUpdScaleDialog:
      // The only target that hears the broadcast's argument, and only while it is open.
      if (m_pScaleDialog) m_pScaleDialog->OnSettingsChanged(kUpdScaleDialog, static_cast<int>(arg));
      break;
    default:
      break;
  }
}

void CMainFrame::NotifyTargets(DWORD flags, LPARAM arg) {
  for (DWORD bit = 1; bit && bit <= kUpdScaleDialog; bit <<= 1)
    if (flags & bit) Notify(bit, arg);
}

void CMainFrame::BroadcastUpdate(DWORD flags, LPARAM arg) {
  if (m_pObserver) m_pObserver->OnBroadcast(flags, arg);
  Broadcast(flags, arg);
}

void CMainFrame::Broadcast(DWORD flags, LPARAM arg) {
  Operation op(*this);
  CSingleLock lock(&m_updateLock, TRUE);
  const int live = IsLiveRunning();
  if (live) {
    StopLive();
    ::Sleep(100);
  }
  NotifyTargets(flags, arg);
  if (live) StartLive();
}

void CMainFrame::UpdateAll() {
  Operation op(*this);
  CSingleLock lock(&m_updateLock, TRUE);
  const int live = IsLiveRunning();
  if (live) {
    StopLive();
    ::Sleep(100);
  }
  Notify(kUpdThumbFolder, 0);
  for (DWORD bit : {kUpdFlowControl, kUpdCCDInput, kUpdFileInput, kUpdRetouch, kUpdProfile, kUpdFocus, kUpdResize,
                    kUpdNoiseCut, kUpdRGB, kUpdShading})
    Notify(bit, 0);
  // Each display hears the bit of its own role, the left one first.
  const bool liveLeft = Doc() && Doc()->IsLiveWindowLeft() == 1;
  if (m_pLeftDisplay) m_pLeftDisplay->OnSettingsChanged(liveLeft ? kUpdLiveDisplay : kUpdStillDisplay);
  if (m_pRightDisplay) m_pRightDisplay->OnSettingsChanged(liveLeft ? kUpdStillDisplay : kUpdLiveDisplay);
  for (DWORD bit : {kUpdFileOutput, kUpdPrinterOutput, kUpdFileDelete}) Notify(bit, 0);
  if (live) StartLive();
}
