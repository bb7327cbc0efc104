#include "VexFlowControl.h"

#include <algorithm>

#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/output/VexFullScreenOutput.h"
#include "pipeline/VexImageInput.h"
#include "pipeline/VexImageOutput.h"
#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexItoVProcess.h"
#include "pipeline/input/VexCCDInput.h"
#include "ui/MainFrame.h"
#include "ui/VexProcessDialog.h"
#include "ui/VexBusyDialogs.h"
#include "ui/VexThumbnailView.h"

IMPLEMENT_DYNCREATE(CVexFlowControl, CView)

namespace {

constexpr FlowStepId kEnd = -1;

void Show(CWnd* window, int how) {
  if (window && window->GetSafeHwnd()) window->ShowWindow(how);
}

}  // namespace

CVexFlowControl::CVexFlowControl() {
  for (auto& row : m_flows) std::fill(std::begin(row), std::end(row), kEnd);
}

CVexFlowControl::~CVexFlowControl() {
  StopWorker(m_exposure);
  StopWorker(m_saveAnimation);
}

CVexDoc* CVexFlowControl::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

int CVexFlowControl::SetBufferControl(CVexBufferControl* buffers) {
  m_pBuffers = buffers;
  return 1;
}

int CVexFlowControl::SetInput(SHORT id, CVexImageInput* stage) {
  if (!stage || (id != kStepCamera && id != kStepFile)) return 0;
  m_inputs[id] = stage;
  return 1;
}

int CVexFlowControl::SetProcess(SHORT id, CVexItoIProcess* stage) {
  if (!stage || id < kStepRetouch || id > kStepShading) return 0;
  m_processes[id - kStepRetouch] = stage;
  return 1;
}

int CVexFlowControl::SetLiveProcess(SHORT id, CVexItoVProcess* stage) {
  if (!stage || id != kStepFocus) return 0;
  m_pLiveProcess = stage;
  return 1;
}

int CVexFlowControl::SetOutput(SHORT id, CVexImageOutput* stage) {
  if (!stage || id < kStepLeftDisplay || id > kStepPrinter) return 0;
  m_outputs[id - kStepLeftDisplay] = stage;
  return 1;
}

int CVexFlowControl::SetStage(FlowStepId id, CView* stage) {
  if (id <= kStepFile) return SetInput(id, dynamic_cast<CVexImageInput*>(stage));
  if (id <= kStepShading) return SetProcess(id, dynamic_cast<CVexItoIProcess*>(stage));
  if (id == kStepFocus) return SetLiveProcess(id, dynamic_cast<CVexItoVProcess*>(stage));
  return SetOutput(id, dynamic_cast<CVexImageOutput*>(stage));
}

int CVexFlowControl::SetFlowStep(SHORT row, SHORT position, FlowStepId id) {
  if (row < 0 || row >= kRows || position < 0 || position >= kRowLength) return 0;
  m_flows[row][position] = id;
  return 1;
}

FlowStepId CVexFlowControl::GetFlowStep(SHORT row, SHORT position) const {
  if (row < 0 || row >= kRows || position < 0 || position >= kRowLength) return kEnd;
  return m_flows[row][position];
}

void CVexFlowControl::SetDisplayModes() {
  const bool liveLeft = GetDocument() && GetDocument()->IsLiveWindowLeft();
  if (m_pLeftDisplay) m_pLeftDisplay->SetDisplayMode(liveLeft ? 2 : 0);
  if (m_pRightDisplay) m_pRightDisplay->SetDisplayMode(liveLeft ? 1 : 3);
}

CVexDisplayOutput* CVexFlowControl::StillPane() const {
  const bool liveLeft = GetDocument() && GetDocument()->IsLiveWindowLeft();
  return liveLeft ? m_pRightDisplay : m_pLeftDisplay;
}

CView* CVexFlowControl::GetStage(FlowStepId id) const {
  if (id >= kStepCamera && id <= kStepFile) return m_inputs[id];
  if (id >= kStepRetouch && id <= kStepShading) return m_processes[id - kStepRetouch];
  if (id == kStepFocus) return m_pLiveProcess;
  if (id >= kStepLeftDisplay && id <= kStepPrinter) return m_outputs[id - kStepLeftDisplay];
  return nullptr;
}

int CVexFlowControl::BuildFlows() {
  CVexDoc* doc = GetDocument();
  if (!doc) return 0;
  m_pLeftDisplay = dynamic_cast<CVexDisplayOutput*>(m_outputs[0]);
  m_pRightDisplay = dynamic_cast<CVexDisplayOutput*>(m_outputs[1]);
  const bool liveLeft = doc->IsLiveWindowLeft() != 0;
  const FlowStepId stillPane = liveLeft ? kStepRightDisplay : kStepLeftDisplay;
  for (SHORT row = 0; row < 6; ++row) {
    FlowStepId steps[kRowLength];
    int n = 0;
    auto add = [&](FlowStepId id) { steps[n++] = id; };
    switch (row) {
      case kShoot:
        add(kStepCamera);
        if (doc->IsNoiseReductionDue() == 1) add(kStepNoiseCut);
        if (doc->GetShadingOption() == 1) add(kStepShading);
        if (doc->GetRGBOption() == 1) add(kStepRGB);
        if (doc->GetResizeSave() == 1) add(kStepResize);
        add(stillPane);
        if (doc->GetAutoSave() == 1) add(kStepFileOutput);
        break;
      case kLive: {
        // While the white-balance view is on only the camera and the pane run.
        const bool plain = doc->GetViewState() != 0;
        add(kStepCamera);
        if (doc->GetFocusTargetState() == 1 && !plain) add(kStepFocus);
        if (doc->GetShadingLive() == 1 && doc->GetShadingOption() == 1 && !plain) add(kStepShading);
        if (doc->GetRGBLive() == 1 && !plain) add(kStepRGB);
        if (doc->IsFullScreen()) {
          add(kStepFullScreen);
        } else {
          if (doc->GetImageProfileState() == 1 && !plain && doc->GetProfileDisplay() == 1) add(kStepProfile);
          add(liveLeft ? kStepLeftDisplay : kStepRightDisplay);
          SetDisplayModes();
        }
        break;
      }
      case kOpen:
        add(kStepFile);
        add(stillPane);
        break;
      case kRetouch:
        add(kStepRetouch);
        add(stillPane);
        break;
      case kSave:
        add(kStepFileOutput);
        break;
      case kPrint:
        add(kStepPrinter);
        break;
    }
    add(kEnd);
    for (SHORT i = 0; i < kRowLength; ++i) m_flows[row][i] = i < n ? steps[i] : kEnd;
  }
  return 1;
}

void CVexFlowControl::OnSettingsChanged(LONG flag) {
  if (flag == 2) BuildFlows();
}

void CVexFlowControl::PumpOne() {
  MSG msg;
  if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    // A quit belongs to the thread's own loop: it is put back, not dropped.
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void CVexFlowControl::StartWorker(Worker& worker, void (CVexFlowControl::*body)()) {
  StopWorker(worker);  // never two of one kind
  worker.stop = 0;
  worker.thread = std::thread([this, body] { (this->*body)(); });
  while (worker.running != 1) {
    PumpOne();
    ::Sleep(0);
  }
}

void CVexFlowControl::StopWorker(Worker& worker) {
  worker.stop = 1;
  while (worker.running == 1) {
    PumpOne();
    ::Sleep(100);
  }
  if (worker.thread.joinable()) worker.thread.join();
}

void CVexFlowControl::ExposureLoop() {
  m_exposure.running = 1;
  CVexDoc* doc = GetDocument();
  const SHORT kind = doc ? doc->GetProgressKind() : 4;
  double expected = -1.0;
  if (doc && (kind == 0 || kind == 1) && doc->IsNewCameraRevision()) {
    // Exposure words count 1/12816 s or 1/12 s on the newer boards.
    if (doc->GetExpMode() == 1) expected = doc->GetExpParam() / 12816.0;
    else if (doc->GetExpMode() == 2) expected = doc->GetExpParam() / 12.0;
  }
  LARGE_INTEGER frequency{}, start{};
  const bool counter = ::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0;
  if (counter && expected > 0) ::QueryPerformanceCounter(&start);
  do {
    if (doc && counter && expected > 0) {
      LARGE_INTEGER now{};
      ::QueryPerformanceCounter(&now);
      const double elapsed = static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
      const double percent = std::clamp(elapsed / expected * 100.0, 0.0, 32767.0);
      CVexDoc::ProgressValues v = doc->GetProgressValues();
      doc->SetProgressValues(static_cast<SHORT>(percent), v.value[1], v.value[2]);
    }
    if (m_pShootProgress && m_pShootProgress->UpdateProgress() == 1 && doc) doc->SetAbort(1);
    PumpOne();
    ::Sleep(50);
  } while (m_exposure.stop != 1);
  if (doc && (kind == 0 || kind == 1)) {
    CVexDoc::ProgressValues v = doc->GetProgressValues();
    doc->SetProgressValues(0, v.value[1], v.value[2]);
  }
  m_exposure.running = 0;
}

void CVexFlowControl::SaveAnimationLoop() {
  m_saveAnimation.running = 1;
  SHORT frame = 0;
  do {
    PumpOne();
    if (frame == 4) frame = 0;
    if (m_pSaveProgress) m_pSaveProgress->SetSpinnerFrame(frame);
    ++frame;
    ::Sleep(200);
  } while (m_saveAnimation.stop != 1);
  m_saveAnimation.running = 0;
}

void CVexFlowControl::MarkSaved() {
  CVexDoc* doc = GetDocument();
  const SHORT state = doc->GetImageState();
  if (state == 1 || state == 2) doc->UpdateImageStatus(2, 0);
  else if (state == 3 || state == 4) doc->UpdateImageStatus(4, 0);
}

SHORT CVexFlowControl::RunCaptureStep() {
  CVexDoc* doc = GetDocument();
  CVexImageInput* camera = m_inputs[0];
  SHORT result = 0;
  if (doc->IsDirectMode()) {
    result = camera->Input(m_nShootSlot);
  } else {
    if (m_pShootProgress) m_pShootProgress->Begin(doc->GetProgressKind());
    Show(m_pShootProgress, SW_SHOW);
    StartWorker(m_exposure, &CVexFlowControl::ExposureLoop);
    result = camera->Input(m_nShootSlot);
    StopWorker(m_exposure);
    Show(m_pShootProgress, SW_HIDE);
    if (result == 1) doc->UpdateImageStatus(1, 0);
  }
  doc->SetShotResult(result);
  return result;
}

SHORT CVexFlowControl::RunSaveStep() {
  CVexDoc* doc = GetDocument();
  CVexImageOutput* file = m_outputs[2];
  SHORT result = 0;
  if (doc->IsDirectMode()) {
    doc->UpdateImageStatus(1, 0);
    result = file->Output(m_nShootSlot);
    doc->UpdateImageStatus(2, 0);
  } else {
    Show(m_pSaveProgress, SW_SHOW);
    if (m_pSaveProgress && m_pSaveProgress->GetSafeHwnd()) m_pSaveProgress->SetForegroundWindow();
    StartWorker(m_saveAnimation, &CVexFlowControl::SaveAnimationLoop);
    result = file->Output(m_nShootSlot);
    MarkSaved();  // the state follows the attempt, whatever its result
    StopWorker(m_saveAnimation);
    Show(m_pSaveProgress, SW_HIDE);
  }
  doc->SetShotResult(result);
  return result;
}

SHORT CVexFlowControl::RunStep(SHORT row, FlowStepId id, bool* end) {
  CVexDoc* doc = GetDocument();
  const bool live = row == kLive;
  const SHORT slot = live ? m_nLiveSlot : m_nShootSlot;
  // A step whose stage was never registered fails; an id outside the table ends the row.
  switch (id) {
    case kStepCamera:
      if (!m_inputs[kStepCamera]) return 0;
      return live ? m_inputs[kStepCamera]->Input(m_nLiveSlot) : RunCaptureStep();
    case kStepFile: {
      if (!m_inputs[kStepFile]) return 0;
      const SHORT result = m_inputs[kStepFile]->Input(m_nShootSlot);
      if (result == 1) {
        // The retouched mark belongs to the picture that was retouched, not to the one opened now.
        doc->SetShotRetouched(0);
        doc->UpdateImageStatus(3, 0);
      }
      return result;
    }
    case kStepRetouch: case kStepResize: case kStepNoiseCut: case kStepRGB: case kStepShading: case kStepProfile: {
      CVexItoIProcess* stage = m_processes[id - kStepRetouch];
      if (!stage) return 0;
      const SHORT s = id == kStepProfile                         ? m_nLiveSlot
                      : (id == kStepRGB || id == kStepShading) ? slot
                                                               : m_nShootSlot;
      const SHORT result = stage->Process(s, s);
      if (id == kStepResize && result == 1) MarkSaved();
      return result;
    }
    case kStepFocus:
      return m_pLiveProcess ? m_pLiveProcess->Process(m_nLiveSlot, m_nLiveSlot) : 0;
    case kStepLeftDisplay:
    case kStepRightDisplay:
      return m_outputs[id - kStepLeftDisplay] ? m_outputs[id - kStepLeftDisplay]->Output(slot) : 0;
    case kStepFileOutput:
      return m_outputs[kStepFileOutput - kStepLeftDisplay] ? RunSaveStep() : 0;
    case kStepPrinter:
      return m_outputs[kStepPrinter - kStepLeftDisplay] ? m_outputs[kStepPrinter - kStepLeftDisplay]->Output(m_nShootSlot) : 0;
    default:
      *end = true;
      return 0;
  }
}

int CVexFlowControl::RunFlow(SHORT row) {
  CVexDoc* doc = GetDocument();
  if (row < 0 || row >= kRows || !doc) return 0;
  // A stop asked for while nothing ran is not meant for this row.
  m_bStopRequest = 0;
  SHORT result = 0;
  for (SHORT position = 0; position < kRowLength; ++position) {
    const FlowStepId id = m_flows[row][position];
    bool end = id == kEnd;
    // Noise cut only pays for long exposures; skipped, it leaves the result alone.
    const bool skipped = id == kStepNoiseCut && (doc->GetExposureKind() == 1 || doc->GetExposureValue() < 10);
    if (!skipped && id == kStepFullScreen) {
      if (m_pFullScreen) m_pFullScreen->ShowImage(row == kLive ? m_nLiveSlot : -1);
    } else if (!skipped && !end) {
      result = RunStep(row, id, &end);
    }
    if (result == 0 || end || m_bStopRequest == 1) break;
  }
  m_bStopRequest = 0;
  return result != 0 ? 1 : 0;
}

int CVexFlowControl::RunShootFlow() {
  const int result = RunFlow(kShoot);
  if (!result) return 0;
  Show(m_pShootProgress, SW_HIDE);
  SetDisplayModes();
  if (CVexDisplayOutput* still = StillPane()) still->ClearAnnotations();
  return result;
}

int CVexFlowControl::RunLiveFlow() {
  const int result = RunFlow(kLive);
  SetDisplayModes();
  return result;
}

int CVexFlowControl::RunOpenFlow() {
  const int result = RunFlow(kOpen);
  SetDisplayModes();
  if (CVexDisplayOutput* still = StillPane()) {
    still->ClearAnnotations();
    still->ReloadCurrentImage();
  }
  return result;
}

int CVexFlowControl::RunRetouchFlow() {
  const int result = RunFlow(kRetouch);
  if (CVexDisplayOutput* still = StillPane()) still->ReloadCurrentImage();
  return result;
}

int CVexFlowControl::RunSaveFlow() { return RunFlow(kSave); }
int CVexFlowControl::RunPrintFlow() { return RunFlow(kPrint); }

int CVexFlowControl::PrepareBuffer(SHORT slot, int live) {
  CVexDoc* doc = GetDocument();
  if (!doc || !m_pBuffers) return 0;
  const SHORT width = live ? doc->GetLiveWidth() : doc->GetShootWidth();
  const SHORT height = live ? doc->GetLiveHeight() : doc->GetShootHeight();
  if (m_pBuffers->CreateBuffer(slot, width, height, static_cast<int>(doc->GetDir90())) ==
      CVexBufferControl::kNotCreated) {
    doc->SetLastError(1, 1, 1);
    return 0;
  }
  return 1;
}

int CVexFlowControl::RunWithProgress() {
  CVexDoc* doc = GetDocument();
  auto* camera = dynamic_cast<CVexCCDInput*>(m_inputs[0]);
  if (!doc || !camera) return 0;
  if (m_pShootProgress) m_pShootProgress->Begin(4);
  doc->SetProgressKind(4);
  Show(m_pShootProgress, SW_SHOW);
  if (m_pShootProgress && m_pShootProgress->GetSafeHwnd()) m_pShootProgress->UpdateWindow();
  StartWorker(m_exposure, &CVexFlowControl::ExposureLoop);
  const int result = camera->MeasureWhiteBalance();
  StopWorker(m_exposure);
  Show(m_pShootProgress, SW_HIDE);
  return result;
}

int CVexFlowControl::MakeThumbnail(SHORT index) {
  // Thumbnails of a page use slots 3-7 only.
  if (index < 0 || index > 4 || !m_inputs[1]) return 0;
  if (m_inputs[1]->Input(static_cast<SHORT>(index + 3)) == 0) return 0;
  if (m_pThumbnails) m_pThumbnails->ShowThumbnail(index, static_cast<SHORT>(index + 3));
  return 1;
}

int CVexFlowControl::SwapDisplays() {
  CVexDoc* doc = GetDocument();
  if (!doc) return 0;
  doc->ClearLastError();
  if (CMainFrame* frame = CMainFrame::Get()) frame->EnableFrame(FALSE);
  if (m_pBuffers && m_pLeftDisplay && m_pRightDisplay) {
    const LONG still = m_pBuffers->GetSecondBitmap();
    const LONG liveFrame = m_pBuffers->GetThirdBitmap();
    if (doc->IsLiveWindowLeft()) {
      m_pLeftDisplay->StoreImage(m_nShootSlot, liveFrame);
      m_pRightDisplay->StoreImage(m_nLiveSlot, still);
    } else {
      m_pLeftDisplay->StoreImage(m_nLiveSlot, still);
      m_pRightDisplay->StoreImage(m_nShootSlot, liveFrame);
    }
  }
  std::swap(m_nShootSlot, m_nLiveSlot);
  SetDisplayModes();
  if (m_pLeftDisplay) m_pLeftDisplay->ResetZoom();
  if (m_pRightDisplay) m_pRightDisplay->ResetZoom();
  BuildFlows();
  doc->ClearWhiteBalanceRect();
  if (CMainFrame* frame = CMainFrame::Get()) frame->BroadcastUpdate(0x800 | 0x1000, 0);
  return 1;
}
