// The commands the main frame handles itself: printing, zoom, full screen, the live
// freeze, the display swap, the thumbnail rebuild, the external trigger and the user
// tools; and the frame operations other windows call for the same purposes.
#include <string>

#include "MainFrame.h"
#include "UpdateFlags.h"
#include "UserToolsDlg.h"
#include "controls/SECCustomToolBar.h"
#include "controls/SECFileSystem.h"
#include "controls/SECUserTool.h"
#include "controls/SECUserTools.h"
#include "control/VexDoc.h"
#include "control/VexFlowControl.h"
#include "pipeline/input/VexCCDInput.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/output/VexFileOutput.h"
#include "pipeline/output/VexFullScreenOutput.h"
#include "pipeline/output/VexPrinterOutput.h"

namespace {

constexpr UINT kFirstUserTool = 43044;
constexpr UINT kLiveOnButton = 32820;
// The freeze button's pressed look (the toolbar's checked style).
constexpr UINT kFrozenStyle = 0x10000;
constexpr int kPreviewSelected = 2;
constexpr int kPrintSelected = 3;

// The picture's size as whole pixels.
int Whole(float v) { return static_cast<int>(v + 0.5f); }

// Puts a path for every `macro` in a tool's arguments. A path holding a blank goes in
// double quotes, so that the tool gets it as one argument ("My Documents"), unless it
// lands inside quotes the user wrote around the macro.
void SubstitutePath(CString& arguments, const char* macro, const CString& path) {
  const std::string text(arguments), value(path), key(macro);
  const bool blank = value.find_first_of(" \t") != std::string::npos;
  std::string out;
  bool quoted = false;
  for (size_t i = 0; i < text.size();) {
    if (text.compare(i, key.size(), key) == 0) {
      const bool wrap = blank && !quoted;
      out += wrap ? '"' + value + '"' : value;
      i += key.size();
      continue;
    }
    if (text[i] == '"') quoted = !quoted;
    out += text[i++];
  }
  arguments = out.c_str();
}

// Runs `work` with the window disabled and live view stopped around it.
template <class Work>
void Guarded(CMainFrame& frame, Work work) {
  frame.EnableFrame(FALSE);
  const int live = frame.IsLiveRunning();
  if (live) frame.StopLive();
  work();
  if (live) frame.StartLive();
  frame.EnableFrame(TRUE);
}

}  // namespace

// ---- printing

void CMainFrame::OnPrintPreviewCommand() {
  m_nPrintType = 0;
  OnPrintPreviewType(m_nPrintType);
}

void CMainFrame::OnPrintCommand() {
  m_nPrintType = 1;
  OnPrintType(m_nPrintType);
}

void CMainFrame::OnLayoutPreviewCommand() {
  m_nPrintType = 2;
  OnPrintPreviewType(m_nPrintType);
}

void CMainFrame::OnLayoutPrintCommand() {
  m_nPrintType = 3;
  OnPrintType(m_nPrintType);
}

// Before any print command chose a type, the framework's preview shows the picture and
// its print prints it.
void CMainFrame::OnFilePrintPreview() { OnPrintPreviewType(m_nPrintType < 0 ? 0 : m_nPrintType); }
void CMainFrame::OnFilePrint() { OnPrintType(m_nPrintType < 0 ? 1 : m_nPrintType); }

void CMainFrame::OnPrintPreviewType(int type) {
  if (!m_pPrinterOutput || !m_pFlowControl) return;
  Guarded(*this, [&] {
    if (type == 0) {
      m_pPrinterOutput->SetPrintType(0);
      m_pFlowControl->RunPrintFlow();
    } else if (type == 2) {
      m_pPrinterOutput->SetShowSetup(1);
      m_pPrinterOutput->Print(kPreviewSelected);
    }
  });
}

void CMainFrame::OnPrintType(int type) {
  if (!m_pPrinterOutput || !m_pFlowControl) return;
  Guarded(*this, [&] {
    if (CDocument* printed = m_pPrinterOutput->GetDocument()) printed->SetTitle("Valdane Lumora");
    if (type == 0 || type == 1) {
      m_pPrinterOutput->SetPrintType(1);
      m_pFlowControl->RunPrintFlow();
    } else if (type == 2) {
      // The layout chosen in the preview stands.
      m_pPrinterOutput->SetShowSetup(0);
      m_pPrinterOutput->Print(kPrintSelected);
    } else if (type == 3) {
      m_pPrinterOutput->SetShowSetup(1);
      m_pPrinterOutput->Print(kPrintSelected);
    }
  });
}

// ---- zoom

void CMainFrame::OnZoomCommand(UINT nID) {
  CVexDisplayOutput* live = m_live.liveDisplay;
  CVexDisplayOutput* target = nullptr;
  int step = 0;  // 0 in, 1 out, 2 fit
  switch (nID) {
    case 32799: case 32800: case 32802:
      target = m_pStillDisplay;
      step = nID == 32799 ? 0 : nID == 32800 ? 1 : 2;
      break;
    case 32839: case 32840: case 32841:
      target = live;
      step = static_cast<int>(nID - 32839);
      break;
    case 32847: case 32848: case 32849:
      target = m_pLeftDisplay;
      step = static_cast<int>(nID - 32847);
      break;
    case 32824: case 32826: case 32828:
      target = m_pRightDisplay;
      step = static_cast<int>(nID - 32824) / 2;
      break;
    default:
      return;
  }
  if (!target || !target->GetSafeHwnd()) return;
  auto zoom = [target, step] {
    if (step == 0) target->ZoomIn();
    else if (step == 1) target->ZoomOut();
    else target->ZoomFit();
  };
  // The live pane is zoomed with live view stopped; the still pane at once.
  if (target == live)
    Guarded(*this, zoom);
  else
    zoom();
}

// ---- full screen

void CMainFrame::OnFullScreen() {
  CVexDoc* doc = Doc();
  if (!doc || doc->GetImageState() == 0 || !m_pFullScreen || !m_pFullScreen->GetSafeHwnd()) return;
  EnableFrame(FALSE);
  doc->SetViewState(1);
  m_bLiveBeforeFullScreen = IsLiveRunning();
  if (m_bLiveBeforeFullScreen) StopLive();
  SuspendTrigger(0);
  BroadcastUpdate(kUpdFlowControl, 0);
  const int width = m_pStillDisplay ? Whole(m_pStillDisplay->GetImageWidth()) : 0;
  const int height = m_pStillDisplay ? Whole(m_pStillDisplay->GetImageHeight()) : 0;
  if (width == 0 || height == 0) {
    // Nothing to show after all: everything as it was.
    doc->SetViewState(0);
    if (m_bLiveBeforeFullScreen) StartLive();
    ResumeTrigger(0);
    EnableFrame(TRUE);
    return;
  }
  m_pFullScreen->ShowWindow(SW_SHOW);
  ::ReleaseCapture();
  m_pFullScreen->SetFocus();
  m_pFullScreen->SetCapture();
  m_pFullScreen->FitControl(width, height);
  m_pFullScreen->ShowImage(-1);
}

void CMainFrame::OnLiveFullScreen() {
  CVexDoc* doc = Doc();
  if (!doc || !m_pFullScreen || !m_pFullScreen->GetSafeHwnd()) return;
  EnableFrame(FALSE);
  StopLive();
  SuspendTrigger(0);
  doc->SetFullScreen(1);
  if (doc->GetShadingLive() == 1) BroadcastUpdate(kUpdShading, 0);
  BroadcastUpdate(kUpdFlowControl, 0);
  m_pFullScreen->ShowWindow(SW_SHOW);
  ::ReleaseCapture();
  m_pFullScreen->SetFocus();
  m_pFullScreen->SetCapture();
  if (doc->GetDir90())
    m_pFullScreen->FitControl(1024, 1280);
  else
    m_pFullScreen->FitControl(1280, 1024);
  // A frozen picture goes on live; the window is enabled again by the resume.
  if (doc->GetOverlayState() == 1)
    OnLiveOn();
  else
    StartLive();
}

void CMainFrame::FullScreenOf(CVexDisplayOutput* display) {
  if (display && display == m_live.liveDisplay)
    OnLiveFullScreen();
  else
    OnFullScreen();
}

void CMainFrame::OnLeftFullScreen() { FullScreenOf(m_pLeftDisplay); }
void CMainFrame::OnRightFullScreen() { FullScreenOf(m_pRightDisplay); }

// ---- live freeze, thumbnails, swap

void CMainFrame::OnLiveOn() {
  CVexDoc* doc = Doc();
  if (!doc) return;
  EnableFrame(FALSE);
  int button = -1;
  if (m_pToolBar && m_pToolBar->GetSafeHwnd())
    for (int i = 0; i < m_pToolBar->GetButtonCount(); ++i)
      if (m_pToolBar->GetItemID(i) == kLiveOnButton) {
        button = i;
        break;
      }
  const UINT style = button >= 0 ? m_pToolBar->GetButtonStyle(button) : (doc->GetOverlayState() == 1 ? kFrozenStyle : 0);
  if (style & kFrozenStyle) {
    doc->SetOverlayState(0);
    if (button >= 0) m_pToolBar->SetButtonStyle(button, style & ~kFrozenStyle);
    StartLive();
  } else {
    CWaitCursor wait;
    doc->SetOverlayState(1);
    if (button >= 0) m_pToolBar->SetButtonStyle(button, style | kFrozenStyle);
    StopLive();
    CaptureLiveFrame();
  }
  EnableFrame(TRUE);
}

void CMainFrame::OnRefreshThumbnail() {
  if (!m_pFileOutput) return;
  const int live = IsLiveRunning();
  if (live) StopLive();
  m_pFileOutput->RebuildThumbnails();
  if (live) StartLive();
}

void CMainFrame::OnSwapDisplays() { SwapDisplays(); }

void CMainFrame::SwapDisplays() {
  if (m_bCalibrating) return;
  EnableFrame(FALSE);
  SetBusy(TRUE);
  CWaitCursor wait;
  if (CVexDoc* doc = Doc()) doc->SetLiveWindowLeft(doc->IsLiveWindowLeft() ? 0 : 1);
  ExchangeDisplays();
  SetBusy(FALSE);
  EnableFrame(TRUE);
}

int CMainFrame::ExchangeDisplays() {
  CVexDisplayOutput* still = m_pStillDisplay;
  CVexDisplayOutput* live = m_live.liveDisplay;
  if (!still || !live || still == live) return 0;
  const int running = IsLiveRunning();
  if (running) StopLive();
  still->DeleteCurrentAnnotation();
  live->DeleteCurrentAnnotation();
  // The flows exchange the pictures; a frame without them exchanges the panes alone.
  const int swapped = m_pFlowControl ? m_pFlowControl->SwapDisplays() : 1;
  if (swapped) {
    m_pStillDisplay = live;
    m_live.liveDisplay = still;
    still->UpdateScaleOverlay(1);
    live->UpdateScaleOverlay(0);
    MoveAnnotationState(*still, *live);
    if (CVexDoc* doc = Doc()) {
      if (doc->m_bScaleOnLive == 1) still->PlaceScaleOverlay(1, 0);
      if (doc->m_bScaleOnCaptured == 1) {
        SetStillScaleCache(*doc);
        live->PlaceScaleOverlay(0, 1);
        live->SetScaleEditMode(1);
      }
    }
    live->ReloadCurrentImage();
  }
  if (running) StartLive();
  return swapped;
}

// ---- pictures shown

void CMainFrame::RedisplayImage() {
  if (m_pObserver) m_pObserver->OnRedisplay();
  if (!m_pFlowControl) return;
  CWaitCursor wait;
  m_pFlowControl->RunOpenFlow();
  if (m_pStillDisplay) m_pStillDisplay->SetLiveOption(0);
  RefreshScaleOverlays();
  KeepShownPath();
}

void CMainFrame::KeepShownPath() {
  CVexDoc* doc = Doc();
  if (!doc) return;
  // 2 and 4 are saved pictures, 3 an opened one; 1, a capture not saved, has no file.
  const SHORT state = doc->GetImageState();
  doc->SetAuxFilePath(state >= 2 && state <= 4 ? doc->GetCurrentFileName() : CString());
}

void CMainFrame::RetouchImage() {
  CVexDoc* doc = Doc();
  if (!doc) return;
  if (doc->GetImageState() == 0) {
    CString text;
    text.LoadString(62578);
    ::MessageBoxA(nullptr, text, "Lumora Caution", MB_ICONERROR);
    return;
  }
  if (!m_pFlowControl || !m_pStillDisplay) return;
  EnableFrame(FALSE);
  const int running = IsLiveRunning();
  if (running) StopLive();
  CVexDisplayOutput* still = m_pStillDisplay;
  CVexDisplayOutput* live = m_live.liveDisplay;
  still->SetAnnotationsEnabled(0);
  const int oldWidth = Whole(still->GetImageWidth());
  const int oldHeight = Whole(still->GetImageHeight());
  m_pFlowControl->RunRetouchFlow();
  still->SetAnnotationsEnabled(1);
  const int newWidth = Whole(still->GetImageWidth());
  const int newHeight = Whole(still->GetImageHeight());
  const bool kept = newWidth == oldWidth && newHeight == oldHeight;
  const bool turned = newWidth == oldHeight && newHeight == oldWidth;
  if (turned) m_bDimensionsSwapped = 1;
  if (live) live->UpdateScaleOverlay(1);
  still->UpdateScaleOverlay(0);
  if (kept || turned) PlaceScaleOverlays(*doc, m_bDimensionsSwapped);
  if (running) StartLive();
  EnableFrame(TRUE);
}

// ---- external trigger and user tools

void CMainFrame::OnExternalTrigger() {
  CVexDoc* doc = Doc();
  if (!doc) return;
  Guarded(*this, [&] {
    if (doc->GetExternalTrigger() == 1) {
      doc->SetExternalTrigger(0);
      if (IsTriggerRunning()) StopTrigger();
    } else {
      doc->SetExternalTrigger(1);
      if (!IsTriggerRunning() && m_pCCDInput) {
        m_pCCDInput->CheckStatus();  // clears a trigger latched before
        StartTriggerThread();
      }
    }
  });
}

void CMainFrame::OnLauncherProperty() {
  CUserToolsDlg dlg(this);
  dlg.SetTools(&m_userTools);
  const INT_PTR result = dlg.DoModal();
  if (result == -1) {
    ReportError(804, 1);
    return;
  }
  if (result != IDOK) return;
  if (m_userTools.GetSize() > 0) {
    SaveUserTools(m_strUserToolFile, &m_userTools);
    return;
  }
  // An empty list is not stored: its file goes.
  CFileStatus status;
  if (!m_strUserToolFile.IsEmpty() && CFile::GetStatus(m_strUserToolFile, status)) {
    try {
      CFile::Remove(m_strUserToolFile);
    } catch (CException* e) {
      e->Delete();
    }
  }
}

void CMainFrame::OnUserTool(UINT nID) {
  const INT_PTR index = static_cast<INT_PTR>(nID) - static_cast<INT_PTR>(kFirstUserTool);
  if (index < 0 || index >= m_userTools.GetSize()) return;
  auto* tool = dynamic_cast<SECUserTool*>(m_userTools[index]);
  CVexDoc* doc = Doc();
  if (!tool || !doc) return;
  CString folder = doc->GetThumbnailFolder();
  CString file = doc->GetAuxFilePath();
  // The pictures' folder: the thumbnail folder without its "\s".
  if (folder.Right(1) == "\\") folder = folder.Left(folder.GetLength() - 1);
  if (folder.Right(2) == "\\s") folder = folder.Left(folder.GetLength() - 2);
  SECFileSystem fs;
  if (file.IsEmpty() || !fs.FileExists(file)) file.Empty();
  if (folder.IsEmpty() || !fs.DirectoryExists(folder)) folder.Empty();
  const CString savedArguments = tool->m_strArguments;
  const CString savedDirectory = tool->m_strDirectory;
  const BOOL savedWait = tool->m_bWait;
  CString arguments = savedArguments;
  SubstitutePath(arguments, "%F", file);
  SubstitutePath(arguments, "%L", folder);
  CString directory = savedDirectory;
  ReplaceAll(directory, "%L", folder, FALSE);
  tool->m_strArguments = arguments;
  tool->m_strDirectory = directory;
  tool->m_bWait = 0;
  BOOL started = FALSE;
  {
    CWaitCursor wait;
    started = tool->Execute(nullptr);
  }
  // The tool keeps its own texts and its wait flag: the list file stores them.
  tool->m_strArguments = savedArguments;
  tool->m_strDirectory = savedDirectory;
  tool->m_bWait = savedWait;
  if (!started) AfxMessageBox("Can't Execute " + tool->m_strCommand + tool->m_strArguments);
}

// ---- update handlers

void CMainFrame::OnUpdateLiveOn(CCmdUI* pCmdUI) { pCmdUI->SetCheck(IsLiveRunning() ? 1 : 0); }

void CMainFrame::OnUpdateDisplayRight(CCmdUI* pCmdUI) {
  CVexDoc* doc = Doc();
  pCmdUI->SetCheck(doc && doc->IsLiveWindowLeft() == 0 ? 1 : 0);
}

void CMainFrame::OnUpdateExternalTrigger(CCmdUI* pCmdUI) {
  CVexDoc* doc = Doc();
  pCmdUI->SetCheck(doc && doc->GetExternalTrigger() == 1 ? 1 : 0);
}

void CMainFrame::OnUpdateUserTool(CCmdUI* pCmdUI) {
  pCmdUI->Enable(pCmdUI->m_nID - kFirstUserTool < static_cast<UINT>(m_userTools.GetSize()));
}
