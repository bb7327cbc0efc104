#include "MainFrame.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "controls/SECCustomToolBar.h"
#include "controls/SECSplashWnd.h"
#include "controls/SECUserTools.h"
#include "VexBusyDialogs.h"
#include "VexMainControlView.h"
#include "VexProcessDialog.h"
#include "VexThumbnailView.h"
#include "annotation/dialogs/VexAnnoContrl.h"
#include "annotation/dialogs/VexScaleDialog.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexFileDelete.h"
#include "control/VexFlowControl.h"
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

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

namespace {
constexpr UINT kAnnotationMenu = 32846;
constexpr UINT kAnnotationButton = 32829;
constexpr UINT kScaleMenu = 32845;
constexpr UINT kScaleButton = 32830;
constexpr UINT kClockPane = 32816;
constexpr UINT kPixelPane = 32817;
constexpr UINT kIndicators[] = {0, 32818, kPixelPane, kClockPane};
constexpr DWORD kStatusStyle = 0x50008200;  // child, visible, bottom
constexpr UINT_PTR kClockTimer = 2;
constexpr DWORD kToolBarExStyle = 0x300;
constexpr DWORD kToolBarStyle = 0x50002834;  // child, visible, top, bottom border, fly-by, tooltips, dynamic
constexpr UINT kFirstUserTool = 43044;
constexpr DWORD kFrameStyle = 0x08CA8000;   // disabled, caption, system menu, minimise box, title
constexpr DWORD kObjectStyle = 0x50800000;  // child, visible, border
constexpr RECT kObjectRect = {0, 0, 50, 50};

// The widest pixel read-out in the font the bar draws its panes with.
int WidestReadOut(CStatusBar& bar) {
  CClientDC dc(&bar);
  CFont* font = bar.GetFont();
  HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), font ? font->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
  int widest = 0;
  for (int digit = 0; digit <= 9; ++digit)
    widest = std::max<int>(widest, dc.GetTextExtent(CVexDisplayOutput::PixelInfoText(digit * 1111, digit * 1111, digit * 111,
                                                                                      digit * 111, digit * 111)).cx);
  ::SelectObject(dc.GetSafeHdc(), old);
  return widest;
}
}  // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_GETMINMAXINFO()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_UPDATE_COMMAND_UI(kClockPane, OnUpdateClock)
ON_COMMAND(kAnnotationMenu, OnAnnotationTool)
ON_COMMAND(kAnnotationButton, OnAnnotationTool)
ON_MESSAGE(CMainFrame::kFreeClosedTools, OnFreeClosedTools)
ON_COMMAND(kScaleMenu, OnScaleTool)
ON_COMMAND(kScaleButton, OnScaleTool)
ON_MESSAGE(CMainFrame::kArmEnableGuard, OnArmEnableGuard)
ON_MESSAGE(CMainFrame::kWorkerError, OnWorkerError)
ON_MESSAGE(CMainFrame::kTriggerFocus, OnTriggerFocus)
// Commands of lumora/ui/MainFrameCommands.cpp.
ON_COMMAND(32809, OnPrintPreviewCommand)
ON_COMMAND(32808, OnPrintCommand)
ON_COMMAND(32807, OnLayoutPreviewCommand)
ON_COMMAND(32806, OnLayoutPrintCommand)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
ON_COMMAND_RANGE(32799, 32800, OnZoomCommand)
ON_COMMAND_RANGE(32802, 32802, OnZoomCommand)
ON_COMMAND_RANGE(32839, 32841, OnZoomCommand)
ON_COMMAND_RANGE(32847, 32849, OnZoomCommand)
ON_COMMAND_RANGE(32824, 32824, OnZoomCommand)
ON_COMMAND_RANGE(32826, 32826, OnZoomCommand)
ON_COMMAND_RANGE(32828, 32828, OnZoomCommand)
ON_COMMAND(32819, OnFullScreen)
ON_COMMAND(32842, OnLiveFullScreen)
ON_COMMAND(32822, OnLeftFullScreen)
ON_COMMAND(32827, OnRightFullScreen)
ON_COMMAND(32803, OnRefreshThumbnail)
ON_COMMAND(32837, OnLiveOn)
ON_COMMAND(32820, OnLiveOn)
ON_COMMAND(32838, OnSwapDisplays)
ON_COMMAND(32825, OnSwapDisplays)
ON_COMMAND(32843, OnExternalTrigger)
ON_COMMAND(32844, OnLauncherProperty)
ON_COMMAND_RANGE(43044, 43052, OnUserTool)
ON_UPDATE_COMMAND_UI(32837, OnUpdateLiveOn)
ON_UPDATE_COMMAND_UI(32838, OnUpdateDisplayRight)
ON_UPDATE_COMMAND_UI(32843, OnUpdateExternalTrigger)
ON_UPDATE_COMMAND_UI_RANGE(43044, 43052, OnUpdateUserTool)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
  // A frame that never had its window shut down still owns its threads' objects.
  for (Worker* w : {&m_liveWorker, &m_capture, &m_whiteBalance, &m_save, &m_trigger, &m_shadingBusy}) Join(*w);
  ClearUserTools(&m_userTools);
}

CMainFrame* CMainFrame::Get() {
  // Worker threads have no main window of their own: theirs is the application's.
  CWnd* main = AfxGetMainWnd();
  if (!main && AfxGetApp()) main = AfxGetApp()->m_pMainWnd;
  return dynamic_cast<CMainFrame*>(main);
}

CMainFrame::Composition CMainFrame::DefaultComposition() {
  Composition c;
  c.display = RUNTIME_CLASS(CVexDisplayOutput);
  c.thumbnails = RUNTIME_CLASS(CVexThumbnailView);
  c.controlView = RUNTIME_CLASS(CVexMainControlView);
  c.objects = {
      {kIdFlowControl, RUNTIME_CLASS(CVexFlowControl)},
      {kIdCCDInput, RUNTIME_CLASS(CVexCCDInput)},
      {kIdFileInput, RUNTIME_CLASS(CVexFileInput)},
      {kIdFileOutput, RUNTIME_CLASS(CVexFileOutput)},
      {kIdFileDelete, RUNTIME_CLASS(CVexFileDelete)},
      {kIdPrinterOutput, RUNTIME_CLASS(CVexPrinterOutput)},
      {kIdProfileProcess, RUNTIME_CLASS(CVexProfileProcess)},
      {kIdFocusProcess, RUNTIME_CLASS(CVexFocusProcess)},
      {kIdRetouchProcess, RUNTIME_CLASS(CVexRetouchProcess)},
      {kIdResizeProcess, RUNTIME_CLASS(CVexResizeProcess)},
      {kIdNoiseCutProcess, RUNTIME_CLASS(CVexNoiseCutProcess)},
      {kIdRGBProcess, RUNTIME_CLASS(CVexRGBProcess)},
      {kIdShadingProcess, RUNTIME_CLASS(CVexShadingProcess)},
      {kIdBufferControl, RUNTIME_CLASS(CVexBufferControl)},
      {kIdErrorControl, RUNTIME_CLASS(CVexErrorControl)},
  };
  return c;
}

CMainFrame::Composition& CMainFrame::Classes() {
  static Composition classes = DefaultComposition();
  return classes;
}

CVexDoc* CMainFrame::Doc() const { return dynamic_cast<CVexDoc*>(const_cast<CMainFrame*>(this)->GetActiveDocument()); }

// ---- window geometry and panes

CMainFrame::Geometry CMainFrame::ComputeGeometry(const RECT& work, int baseUnit, int captionHeight) {
  Geometry g{};
  if (baseUnit == 10) {
    g.width = 1100;
    g.height = 880;
  } else {
    // Small fonts, and every base unit but the large fonts' one: the window grows with a
    // caption taller than 19 pixels.
    const double c = captionHeight - 19;
    g.width = static_cast<int>(984.0 + c);
    g.height = static_cast<int>(736.0 + c);
  }
  g.x = std::max(0, static_cast<int>(work.left + (work.right - work.left) / 2 - 512));
  g.y = std::max(0, static_cast<int>(work.top + (work.bottom - work.top) / 2 - 384));
  return g;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const Geometry g = ComputeGeometry(work, LOWORD(::GetDialogBaseUnits()), ::GetSystemMetrics(SM_CYCAPTION));
  m_nWindowX = cs.x = g.x;
  m_nWindowY = cs.y = g.y;
  m_nWindowWidth = cs.cx = g.width;
  m_nWindowHeight = cs.cy = g.height;
  cs.style = kFrameStyle;
  return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) {
  if (pContext) m_pDocument = pContext->m_pCurrentDoc;
  const Composition& classes = Classes();
  if (!classes.display || !classes.thumbnails || !classes.controlView) return CFrameWnd::OnCreateClient(lpcs, pContext);
  for (CFixedSplitterWnd* s : {&m_wndOuter, &m_wndLeft, &m_wndRight}) s->SetLocked(1);
  if (!m_wndOuter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST)) return FALSE;
  if (!m_wndLeft.CreateStatic(&m_wndOuter, 2, 1, WS_CHILD | WS_VISIBLE, m_wndOuter.IdFromRowCol(0, 0))) return FALSE;
  if (!m_wndLeft.CreateView(0, 0, classes.display, CSize(640, 512), pContext)) return FALSE;
  if (!m_wndLeft.CreateView(1, 0, classes.thumbnails, CSize(640, 400), pContext)) return FALSE;
  if (!m_wndRight.CreateStatic(&m_wndOuter, 2, 1, WS_CHILD | WS_VISIBLE, m_wndOuter.IdFromRowCol(0, 1))) return FALSE;
  if (!m_wndRight.CreateView(0, 0, classes.display, CSize(320, 256), pContext)) return FALSE;
  if (!m_wndRight.CreateView(1, 0, classes.controlView, CSize(320, 800), pContext)) return FALSE;
  return CFrameWnd::OnCreateClient(lpcs, pContext);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  m_pToolBar = std::make_unique<SECCustomToolBar>();
  if (!m_pToolBar->CreateEx(kToolBarExStyle, this, kToolBarStyle, 0xFFFF, "Valdane Lumora ToolBar") ||
      !m_pToolBar->LoadToolBar(128))
    return -1;
  // The status bar; a failed first try gets one more.
  if (!m_wndStatusBar.Create(this, kStatusStyle, AFX_IDW_STATUS_BAR) ||
      !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)))) {
    if (m_wndStatusBar.GetSafeHwnd()) m_wndStatusBar.DestroyWindow();
    if (!m_wndStatusBar.Create(this, kStatusStyle, AFX_IDW_STATUS_BAR)) return -1;
  }
  // The timer only keeps idle time coming once a second, for the clock pane.
  m_wndStatusBar.SetTimer(kClockTimer, 1000, nullptr);
  m_pToolBar->EnableDocking(CBRS_ALIGN_ANY);
  EnableDocking(CBRS_ALIGN_ANY);
  DockControlBar(m_pToolBar.get());
  InitObjects();
  // The pixel read-out takes what the clock leaves of the small display's width, or what
  // its whole text needs where the font is wider.
  if (m_wndStatusBar.GetCount() == 4) {
    UINT id = 0, style = 0;
    int clock = 0;
    m_wndStatusBar.GetPaneInfo(3, id, style, clock);
    m_wndStatusBar.SetPaneInfo(2, kPixelPane, SBPS_NOBORDERS, std::max(320 - clock, WidestReadOut(m_wndStatusBar)));
  }
  RecalcLayout();
  if (CVexDoc* doc = Doc()) doc->PrepareSaveFolder();
  if (m_pThumbnailView) m_pThumbnailView->CreateThumbnailControls();
  ShowSplash();
  LoadTools();
  return 0;
}

void CMainFrame::ShowSplash() {
  CVexDoc* doc = Doc();
  // The splash frees itself once its window is gone.
  auto* splash = new SECSplashWnd(doc && doc->IsNewCameraRevision() ? 247 : 149, 2000);
  if (!splash->Create(this, WS_POPUP | WS_VISIBLE)) return;
  splash->ShowWindow(SW_SHOW);
  splash->UpdateWindow();
}

void CMainFrame::LoadTools() {
  CVexDoc* doc = Doc();
  if (!doc) return;
  m_strUserToolFile = doc->GetTdtFilePath();
  LoadUserTools(m_strUserToolFile, &m_userTools);
}

// ---- composition

CView* CMainFrame::MakeObject(UINT id) {
  for (const ObjectClass& entry : Classes().objects) {
    if (entry.id != id || !entry.cls) continue;
    auto* view = dynamic_cast<CView*>(entry.cls->CreateObject());
    if (!view) return nullptr;
    if (!view->Create(nullptr, nullptr, kObjectStyle, kObjectRect, this, id, nullptr)) {
      delete view;  // no window took it over
      return nullptr;
    }
    m_made.push_back(view);
    return view;
  }
  return nullptr;
}

void CMainFrame::InitObjects() {
  bool all = true;
  auto need = [&all](const void* p) {
    if (!p) all = false;
  };
  // 1. The panes and the document.
  m_pLeftDisplay = dynamic_cast<CVexDisplayOutput*>(m_wndLeft.GetSafeHwnd() ? m_wndLeft.GetPane(0, 0) : nullptr);
  m_pRightDisplay = dynamic_cast<CVexDisplayOutput*>(m_wndRight.GetSafeHwnd() ? m_wndRight.GetPane(0, 0) : nullptr);
  m_pThumbnailView = dynamic_cast<CVexThumbnailView*>(m_wndLeft.GetSafeHwnd() ? m_wndLeft.GetPane(1, 0) : nullptr);
  m_pControlView = dynamic_cast<CVexMainControlView*>(m_wndRight.GetSafeHwnd() ? m_wndRight.GetPane(1, 0) : nullptr);
  if (m_pLeftDisplay && m_pLeftDisplay->GetDocument()) m_pDocument = m_pLeftDisplay->GetDocument();
  CVexDoc* doc = Doc();
  for (const void* p : {static_cast<const void*>(m_pLeftDisplay), static_cast<const void*>(m_pRightDisplay),
                        static_cast<const void*>(m_pThumbnailView), static_cast<const void*>(m_pControlView),
                        static_cast<const void*>(doc)})
    need(p);

  // 2. The hidden stages, each with its own imaging control where it has one.
  m_pFlowControl = dynamic_cast<CVexFlowControl*>(MakeObject(kIdFlowControl));
  m_pCCDInput = dynamic_cast<CVexCCDInput*>(MakeObject(kIdCCDInput));
  m_pFileInput = dynamic_cast<CVexFileInput*>(MakeObject(kIdFileInput));
  m_pFileOutput = dynamic_cast<CVexFileOutput*>(MakeObject(kIdFileOutput));
  m_pFileDelete = dynamic_cast<CVexFileDelete*>(MakeObject(kIdFileDelete));
  m_pPrinterOutput = dynamic_cast<CVexPrinterOutput*>(MakeObject(kIdPrinterOutput));
  m_pProfile = dynamic_cast<CVexProfileProcess*>(MakeObject(kIdProfileProcess));
  m_pFocus = dynamic_cast<CVexFocusProcess*>(MakeObject(kIdFocusProcess));
  m_pRetouch = dynamic_cast<CVexRetouchProcess*>(MakeObject(kIdRetouchProcess));
  m_pResize = dynamic_cast<CVexResizeProcess*>(MakeObject(kIdResizeProcess));
  m_pNoiseCut = dynamic_cast<CVexNoiseCutProcess*>(MakeObject(kIdNoiseCutProcess));
  m_pRGB = dynamic_cast<CVexRGBProcess*>(MakeObject(kIdRGBProcess));
  m_pShading = dynamic_cast<CVexShadingProcess*>(MakeObject(kIdShadingProcess));
  for (const void* p : {static_cast<const void*>(m_pFlowControl), static_cast<const void*>(m_pCCDInput),
                        static_cast<const void*>(m_pFileInput), static_cast<const void*>(m_pFileOutput),
                        static_cast<const void*>(m_pFileDelete), static_cast<const void*>(m_pPrinterOutput),
                        static_cast<const void*>(m_pProfile), static_cast<const void*>(m_pFocus),
                        static_cast<const void*>(m_pRetouch), static_cast<const void*>(m_pResize), static_cast<const void*>(m_pNoiseCut),
                        static_cast<const void*>(m_pRGB), static_cast<const void*>(m_pShading)})
    need(p);
  const BOOL cameraControl = m_pCCDInput && m_pCCDInput->CreateImagingControl(&kObjectRect);
  m_bCameraInputReady = cameraControl ? 1 : 0;
  if (!cameraControl) all = false;
  if (m_pFileInput && !m_pFileInput->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pFileOutput && !m_pFileOutput->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pPrinterOutput && !m_pPrinterOutput->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pProfile && !m_pProfile->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pFocus && !m_pFocus->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pRetouch && !m_pRetouch->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pResize && !m_pResize->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pNoiseCut && !m_pNoiseCut->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pRGB && !m_pRGB->CreateImagingControl(&kObjectRect)) all = false;
  if (m_pShading && !m_pShading->CreateImagingControl(&kObjectRect)) all = false;
  for (CView* v : m_made) v->ShowWindow(SW_HIDE);
  if (m_pFileDelete) m_pFileDelete->SetDocument(doc);
  // Saved pictures carry the overlays of the left display (selector 1) or the right one (0).
  if (m_pFileOutput) {
    m_pFileOutput->SetDisplayOutput(1, m_pLeftDisplay);
    m_pFileOutput->SetDisplayOutput(0, m_pRightDisplay);
  }

  // 3-5. The progress and busy windows, top-most and hidden until used.
  auto topmostHidden = [](CWnd& w) {
    w.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    w.ShowWindow(SW_HIDE);
  };
  m_pProgressDialog = std::make_unique<CVexProcessDialog>();
  if (m_pProgressDialog->Create(CVexProcessDialog::IDD, this)) {
    m_pProgressDialog->SetDocument(doc);
    topmostHidden(*m_pProgressDialog);
    if (m_pFlowControl) m_pFlowControl->SetProgressWindow(m_pProgressDialog.get());
    if (m_pControlView) m_pControlView->SetProcessDialog(m_pProgressDialog.get());
  } else {
    m_pProgressDialog.reset();
    all = false;
  }
  m_pSaveBusyDialog = std::make_unique<CVexSaveNowDialog>();
  if (m_pSaveBusyDialog->Create(CVexSaveNowDialog::IDD, this)) {
    topmostHidden(*m_pSaveBusyDialog);
    if (m_pFlowControl) m_pFlowControl->SetSaveProgressWindow(m_pSaveBusyDialog.get());
  } else {
    m_pSaveBusyDialog.reset();
    all = false;
  }
  m_pShadingBusyDialog = std::make_unique<CVexShadingNowDialog>();
  if (m_pShadingBusyDialog->Create(CVexShadingNowDialog::IDD, this)) {
    topmostHidden(*m_pShadingBusyDialog);
  } else {
    m_pShadingBusyDialog.reset();
    all = false;
  }

  // 6. The full-screen window with its own imaging control.
  m_pFullScreenOwned = std::make_unique<CVexFullScreenOutput>(this);
  if (m_pFullScreenOwned->Create(CVexFullScreenOutput::IDD, this) && m_pFullScreenOwned->CreateImagingControl()) {
    m_pFullScreenOwned->ShowWindow(SW_HIDE);
    m_pFullScreen = m_pFullScreenOwned.get();
  } else {
    if (m_pFullScreenOwned->GetSafeHwnd()) m_pFullScreenOwned->DestroyWindow();
    m_pFullScreenOwned.reset();
    all = false;
  }

  // 7. The image slots, given to everything that reads or writes a picture.
  m_pBufferControl = dynamic_cast<CVexBufferControl*>(MakeObject(kIdBufferControl));
  if (m_pBufferControl && m_pBufferControl->CreateImageControls(kObjectRect)) {
    m_pBufferControl->ShowWindow(SW_HIDE);
    CVexBufferControl* b = m_pBufferControl;
    if (m_pCCDInput) m_pCCDInput->SetBufferControl(b);
    if (m_pFileInput) m_pFileInput->SetBufferControl(b);
    if (m_pLeftDisplay) m_pLeftDisplay->SetBufferControl(b);
    if (m_pRightDisplay) m_pRightDisplay->SetBufferControl(b);
    if (m_pFileOutput) m_pFileOutput->SetBufferControl(b);
    if (m_pPrinterOutput) m_pPrinterOutput->SetBufferControl(b);
    if (m_pFlowControl) m_pFlowControl->SetBufferControl(b);
    if (m_pProfile) m_pProfile->SetBufferControl(b);
    if (m_pFocus) {
      m_pFocus->SetBufferControl(b);
      m_pFocus->SetCameraInput(m_pCCDInput);
    }
    if (m_pRetouch) m_pRetouch->SetBufferControl(b);
    if (m_pResize) m_pResize->SetBufferControl(b);
    if (m_pNoiseCut) m_pNoiseCut->SetBufferControl(b);
    if (m_pThumbnailView) m_pThumbnailView->SetBufferControl(b);
    if (m_pFullScreen) m_pFullScreen->SetBufferControl(b);
    if (m_pRGB) m_pRGB->SetBufferControl(b);
    if (m_pShading) m_pShading->SetBufferControl(b);
  } else {
    all = false;
  }

  // 8. The error control, given to everything that reports.
  m_pErrorControl = dynamic_cast<CVexErrorControl*>(MakeObject(kIdErrorControl));
  m_bErrorControlReady = m_pErrorControl ? 1 : 0;
  if (m_pErrorControl) {
    m_pErrorControl->ShowWindow(SW_HIDE);
    CVexErrorControl* e = m_pErrorControl;
    if (m_pLeftDisplay) m_pLeftDisplay->SetErrorControl(e);
    if (m_pRightDisplay) m_pRightDisplay->SetErrorControl(e);
    if (m_pThumbnailView) m_pThumbnailView->SetErrorControl(e);
    if (m_pControlView) m_pControlView->SetErrorControl(e);
    if (m_pFlowControl) m_pFlowControl->SetErrorControl(e);
    if (m_pCCDInput) m_pCCDInput->SetErrorControl(e);
    if (m_pFileInput) m_pFileInput->SetErrorControl(e);
    if (m_pFileOutput) m_pFileOutput->SetErrorControl(e);
    if (m_pFileDelete) m_pFileDelete->SetErrorControl(e);
    if (m_pPrinterOutput) m_pPrinterOutput->SetErrorControl(e);
    if (m_pProfile) m_pProfile->SetErrorControl(e);
    if (m_pFocus) m_pFocus->SetErrorControl(e);
    if (m_pRetouch) m_pRetouch->SetErrorControl(e);
    if (m_pResize) m_pResize->SetErrorControl(e);
    if (m_pNoiseCut) m_pNoiseCut->SetErrorControl(e);
    if (m_pBufferControl) m_pBufferControl->SetErrorControl(e);
    if (m_pRGB) m_pRGB->SetErrorControl(e);
    if (m_pShading) m_pShading->SetErrorControl(e);
  } else {
    all = false;
  }

  // 9. The displays' own imaging controls: the large one 640 x 512, the small one as
  // wide as its pane with a taller caption.
  const CRect large(0, 0, 640, 512);
  const CRect small(0, 0, 327 + ::GetSystemMetrics(SM_CYCAPTION) - 19, 256);
  if (m_pLeftDisplay && !m_pLeftDisplay->CreateImagingControl(&large)) all = false;
  if (m_pRightDisplay && !m_pRightDisplay->CreateImagingControl(&small)) all = false;

  // 10. Into the document and the flows.
  if (all) {
    RegisterObjects();
    m_bObjectsReady = m_pFlowControl->BuildFlows() ? 1 : 0;
  } else {
    m_bObjectsReady = 0;
  }
  UpdateDisplayRoles();
  m_live.buffers = m_pBufferControl;
  m_live.camera = m_pCCDInput;
  m_live.shading = m_pShading;
  m_live.rgb = m_pRGB;

  // 11. The camera: off, forgotten board, then the power check.
  CheckCameraAtStart();
}

void CMainFrame::RegisterObjects() {
  CVexDoc* doc = Doc();
  for (CView* v : {static_cast<CView*>(m_pFlowControl), static_cast<CView*>(m_pCCDInput),
                   static_cast<CView*>(m_pFileInput), static_cast<CView*>(m_pFileOutput),
                   static_cast<CView*>(m_pFileDelete), static_cast<CView*>(m_pPrinterOutput),
                   static_cast<CView*>(m_pProfile), static_cast<CView*>(m_pFocus), static_cast<CView*>(m_pRetouch),
                   static_cast<CView*>(m_pResize),
                   static_cast<CView*>(m_pNoiseCut), static_cast<CView*>(m_pErrorControl),
                   static_cast<CView*>(m_pRGB), static_cast<CView*>(m_pShading)}) {
    doc->AddView(v);
    m_added.push_back(v);
  }
  CVexFlowControl* f = m_pFlowControl;
  f->SetInput(0, m_pCCDInput);
  f->SetInput(1, m_pFileInput);
  f->SetProcess(102, m_pProfile);
  f->SetProcess(100, m_pRetouch);
  f->SetProcess(101, m_pResize);
  f->SetProcess(103, m_pNoiseCut);
  f->SetProcess(104, m_pRGB);
  f->SetProcess(105, m_pShading);
  f->SetLiveProcess(200, m_pFocus);
  f->SetOutput(300, m_pLeftDisplay);
  f->SetOutput(301, m_pRightDisplay);
  f->SetOutput(302, m_pFileOutput);
  f->SetOutput(303, m_pPrinterOutput);
  f->SetThumbnailView(m_pThumbnailView);
  f->SetFullScreenOutput(m_pFullScreen);
}

void CMainFrame::UpdateDisplayRoles() {
  CVexDoc* doc = Doc();
  if (!m_pLeftDisplay || !m_pRightDisplay || !doc) return;
  const bool liveLeft = doc->IsLiveWindowLeft() == 1;
  m_live.liveDisplay = liveLeft ? m_pLeftDisplay : m_pRightDisplay;
  m_pStillDisplay = liveLeft ? m_pRightDisplay : m_pLeftDisplay;
}

void CMainFrame::CheckCameraAtStart() {
  m_bCameraReady = 0;
  // The camera input reads its settings from the document it was added to: a partial
  // composition added nothing, so it has no camera to check.
  if (!m_bCameraInputReady || !m_pCCDInput || !m_pCCDInput->GetDocument()) return;
  m_pCCDInput->PowerOff();
  if (CVexDoc* doc = Doc()) doc->SetPCIAddress(static_cast<DWORD>(-1));
  if (m_pCCDInput->CheckCameraPower(1) == 0) m_bCameraReady = 1;
}

void CMainFrame::DestroyObjects() {
  // A camera that never answered is not spoken to again: without one the command only
  // waits for its time-outs, and the program would hang at exit.
  if (m_pCCDInput && m_pCCDInput->GetSafeHwnd() && m_bCameraReady && m_pCCDInput->GetDocument())
    m_pCCDInput->PowerOff();
  m_bObjectsReady = 0;
  // Only what was added and made is taken back: a partial start leaves the rest alone.
  if (CVexDoc* doc = Doc())
    for (CView* v : m_added) doc->RemoveView(v);
  m_added.clear();
  const UINT order[] = {kIdFlowControl,     kIdCCDInput,    kIdFileInput,       kIdFileOutput,     kIdFileDelete,
                        kIdPrinterOutput,   kIdBufferControl, kIdProfileProcess, kIdFocusProcess,  kIdRetouchProcess,
                        kIdResizeProcess,   kIdNoiseCutProcess, kIdRGBProcess,   kIdShadingProcess, kIdErrorControl};
  // A destroyed view frees itself, so its entry is cleared before the later ids are looked for.
  for (UINT id : order)
    for (CView*& v : m_made)
      if (v && v->GetSafeHwnd() && v->GetDlgCtrlID() == static_cast<int>(id)) std::exchange(v, nullptr)->DestroyWindow();
  m_made.clear();
  for (CDialog* d : {static_cast<CDialog*>(m_pProgressDialog.get()), static_cast<CDialog*>(m_pSaveBusyDialog.get()),
                     static_cast<CDialog*>(m_pShadingBusyDialog.get())})
    if (d && d->GetSafeHwnd()) d->DestroyWindow();
  m_pProgressDialog.reset();
  m_pSaveBusyDialog.reset();
  m_pShadingBusyDialog.reset();
  if (m_pFullScreenOwned && m_pFullScreenOwned->GetSafeHwnd()) m_pFullScreenOwned->DestroyWindow();
  if (m_pFullScreen == m_pFullScreenOwned.get()) m_pFullScreen = nullptr;
  m_pFullScreenOwned.reset();
  m_pFlowControl = nullptr;
  m_pCCDInput = nullptr;
  m_pFileInput = nullptr;
  m_pFileOutput = nullptr;
  m_pFileDelete = nullptr;
  m_pPrinterOutput = nullptr;
  m_pProfile = nullptr;
  m_pFocus = nullptr;
  m_pRetouch = nullptr;
  m_pResize = nullptr;
  m_pNoiseCut = nullptr;
  m_pRGB = nullptr;
  m_pShading = nullptr;
  m_pBufferControl = nullptr;
  m_pErrorControl = nullptr;
  m_bErrorControlReady = 0;
  m_live = LiveStages{};
}

// ---- fixed layout

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
  CFrameWnd::OnSize(nType, cx, cy);
  ApplyFixedLayout();
}

void CMainFrame::ApplyFixedLayout() {
  if (!m_wndOuter.GetSafeHwnd() || !m_wndLeft.GetSafeHwnd() || !m_wndRight.GetSafeHwnd()) return;
  CRect now;
  GetWindowRect(&now);
  if (now != CRect(m_nWindowX, m_nWindowY, m_nWindowX + m_nWindowWidth, m_nWindowY + m_nWindowHeight) &&
      !IsIconic())
    MoveWindow(m_nWindowX, m_nWindowY, m_nWindowWidth, m_nWindowHeight, TRUE);
  int cur = 0, min = 0;
  m_wndOuter.GetColumnInfo(0, cur, min);
  m_wndOuter.SetColumnInfo(0, 640, min);
  m_wndOuter.GetColumnInfo(1, cur, min);
  m_wndOuter.SetColumnInfo(1, 320, min);
  m_wndLeft.SetColumnInfo(0, 640, 640);
  m_wndRight.GetColumnInfo(0, cur, min);
  m_wndRight.SetColumnInfo(0, 320, min);
  m_wndOuter.RecalcLayout();
  m_wndLeft.RecalcLayout();
  m_wndRight.RecalcLayout();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  lpMMI->ptMaxSize = CPoint(10000, 10000);
  lpMMI->ptMaxTrackSize = CPoint(10000, 10000);
  CFrameWnd::OnGetMinMaxInfo(lpMMI);
}

// ---- menus, message pane and clock

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  if (m_bPrinting) return;
  CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  // While a menu is open the message pane takes the whole bar, for long prompts.
  if (m_nSavedPaneWidth == -1 && m_bMenuActive && m_wndStatusBar.GetCount() > 0) {
    m_wndStatusBar.GetPaneInfo(0, m_nSavedPaneId, m_nSavedPaneStyle, m_nSavedPaneWidth);
    m_wndStatusBar.SetPaneInfo(0, m_nSavedPaneId, SBPS_STRETCH | SBPS_NOBORDERS, 10000);
  }
  if (bSysMenu || !pPopupMenu) return;
  // Only the popup titled exactly "&Option" lists the user tools.
  CMenu* bar = GetMenu();
  CString title;
  if (bar) bar->GetMenuString(nIndex, title, MF_BYPOSITION);
  if (title == "&Option" && bar && bar->GetSubMenu(static_cast<int>(nIndex)) == pPopupMenu &&
      pPopupMenu->GetMenuItemID(static_cast<int>(pPopupMenu->GetMenuItemCount()) - 1) < kFirstUserTool)
    AppendUserToolsToMenu(pPopupMenu, kFirstUserTool, &m_userTools);
}

void CMainFrame::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  CFrameWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
  if (nFlags == 0xFFFF && !hSysMenu && m_nSavedPaneWidth != -1) {
    m_bMenuActive = 0;
    m_wndStatusBar.SetPaneInfo(0, m_nSavedPaneId, m_nSavedPaneStyle, m_nSavedPaneWidth);
    m_nSavedPaneWidth = -1;
  } else {
    m_bMenuActive = 1;
  }
}

void CMainFrame::OnUpdateClock(CCmdUI* pCmdUI) {
  char text[256] = {};
  ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, m_strClockFormat, text, sizeof text);
  pCmdUI->SetText(text);
  pCmdUI->Enable(TRUE);
}

void CMainFrame::OnUpdateFrameTitle(BOOL bAddToTitle) {
  CFrameWnd::OnUpdateFrameTitle(bAddToTitle);
  if (m_bObjectsReady)
    if (CVexDoc* doc = Doc()) doc->UpdateImageStatus(0, 1);
}

// ---- shut-down

void CMainFrame::OnClose() {
  if (m_bPrinting) {
    CFrameWnd::OnClose();
    return;
  }
  if (m_bClosing) return;
  // A close met while an operation pumps messages, or while another window's capture
  // road holds the frame busy, waits for it to end: the objects the operation works on
  // must outlive it. It need not wait for a long capture, though: the capture and the
  // white balance are aborted now (the camera library polls the abort), and nothing new
  // starts until the close comes.
  if (m_nOperationDepth > 0 || m_bBusy) {
    m_bClosePending = 1;
    m_bClosePosted = 0;
    bool abort = false;
    for (Worker* w : {&m_capture, &m_whiteBalance})
      if (w->running) {
        w->stop = 1;
        abort = true;
      }
    if (abort)
      if (CVexDoc* doc = Doc()) doc->SetAbort(1);
    return;
  }
  m_bClosing = 1;
  m_bClosePending = 0;
  if (CVexDoc* doc = Doc()) doc->SetTitle("Valdane Lumora");
  CloseAnnotationTool();
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      m_bQuitTaken = 1;
      m_nQuitCode = static_cast<int>(msg.wParam);
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
    ::Sleep(0);
  }
  if (m_pAnnoContrl) {
    if (m_pAnnoContrl->GetSafeHwnd()) m_pAnnoContrl->DestroyWindow();
    m_pAnnoContrl.reset();
  }
  m_pClosedAnnoContrl.reset();
  if (m_pScaleDialog && m_pScaleDialog->GetSafeHwnd()) m_pScaleDialog->DestroyWindow();
  StopAllWorkers();
  DestroyObjects();
  if (m_bQuitTaken) ::PostQuitMessage(m_nQuitCode);
  m_bQuitTaken = 0;
  CFrameWnd::OnClose();
}

void CMainFrame::OnDestroy() {
  // A window destroyed without a close (its owner went first) still stops its workers
  // before the objects they use go with the child windows.
  m_bClosing = 1;
  m_bClosePending = 0;
  StopAllWorkers();
  DestroyObjects();
  if (m_pAnnoContrl && m_pAnnoContrl->GetSafeHwnd()) m_pAnnoContrl->DestroyWindow();
  if (m_pScaleDialog && m_pScaleDialog->GetSafeHwnd()) m_pScaleDialog->DestroyWindow();
  // The mark a second copy of the program looks for goes with the window.
  ::RemovePropA(m_hWnd, "Lumora");
  CFrameWnd::OnDestroy();
}

// ---- accessors

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The frame itself, the still display for the annotation commands, the active view,
  // the document, the application.
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (RouteToStillDisplay(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CView* view = GetActiveView();
  if (view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMainFrame::ReportError(SHORT type, SHORT detail) {
  if (m_bReportErrors && m_bErrorControlReady && m_pErrorControl) m_pErrorControl->ReportError(type, detail);
}

void CMainFrame::SetBusy(BOOL busy) {
  m_bBusy = busy ? 1 : 0;
  if (!busy && m_nOperationDepth == 0) PostPendingClose();
}

void CMainFrame::PostPendingClose() {
  // Pending until the close itself runs: nothing starts in between.
  if (m_bClosePending && !m_bClosePosted && GetSafeHwnd()) {
    m_bClosePosted = 1;
    PostMessage(WM_CLOSE);
  }
}

void CMainFrame::SetImageStatus(int status) {
  if (CVexDoc* doc = Doc()) doc->UpdateImageStatus(static_cast<SHORT>(status), 0);
  if (status == 0 && m_pLeftDisplay) m_pLeftDisplay->ShowPixelInfo(0, 0, 0, 0, 0);
}

void CMainFrame::AutoPrint() {
  if (!m_pPrinterOutput || !m_pFlowControl) return;
  m_pPrinterOutput->SetPrintType(1);
  m_pFlowControl->RunPrintFlow();
}

void CMainFrame::DeleteSelectedImages() {
  if (m_pFileDelete) m_pFileDelete->DeleteSelectedFiles();
}

int CMainFrame::MakeThumbnail(int index) {
  return m_pFlowControl ? m_pFlowControl->MakeThumbnail(static_cast<SHORT>(index)) : 0;
}

void CMainFrame::ExitFullScreen() {
  CVexDoc* doc = Doc();
  if (doc && doc->IsFullScreen() == 1) {
    StopLive();
    doc->SetFullScreen(0);
    BroadcastUpdate(0x2, 0);
    if (doc->GetShadingLive() == 1) BroadcastUpdate(0x400, 0);
    StartLive();
  } else {
    if (doc) doc->SetViewState(0);
    if (m_bLiveBeforeFullScreen) StartLive();
  }
  ResumeTrigger(0);
  if (m_pFullScreen && m_pFullScreen->m_hWnd) m_pFullScreen->ShowWindow(SW_HIDE);
  if (m_hWnd) SetFocus();
  ::ReleaseCapture();
  EnableFrame(TRUE);
}

void CMainFrame::CaptureLiveFrame() {
  CVexDoc* doc = Doc();
  if (!doc || !m_live.buffers || !m_live.camera || !m_live.liveDisplay) return;
  doc->ClearLastError();
  doc->SetAbort(0);
  doc->SetCaptureMode(1);
  if (m_live.buffers->CreateThirdBitmap(doc->GetLiveWidth(), doc->GetLiveHeight(), static_cast<int>(doc->GetDir90())) ==
      CVexBufferControl::kNotCreated) {
    ReportError(1, 1);
    return;
  }
  BroadcastUpdate(0x4, 0);
  m_live.camera->CaptureScratchFrame();
  bool ok = m_live.camera->CaptureToCurrent() != 0;
  if (ok && doc->GetShadingLive() == 1 && m_live.shading) ok = m_live.shading->ProcessCurrent() != 0;
  if (ok && doc->GetRGBLive() == 1 && m_live.rgb) ok = m_live.rgb->ProcessCurrent() != 0;
  if (ok) ok = m_live.liveDisplay->ShowLiveFrame() != 0;
  if (!ok) ReportError(static_cast<SHORT>(doc->GetLastErrorType()), static_cast<SHORT>(doc->GetLastErrorDetail()));
}
