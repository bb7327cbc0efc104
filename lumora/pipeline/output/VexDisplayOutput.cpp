#include "VexDisplayOutput.h"

#include <afxcmn.h>

#include <cstring>
#include <vector>

#include "outside/Ardel.h"
#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "pipeline/VexDisplaySpace.h"
#include "pipeline/VexPixelAccess.h"
#include "ui/MainFrame.h"
#include "ui/MathUtl.h"
#include "ui/MemDC.h"
#include "annotation/objects/AnnScale.h"

IMPLEMENT_DYNCREATE(CVexDisplayOutput, CVexImageOutput)

BEGIN_MESSAGE_MAP(CVexDisplayOutput, CVexImageOutput)
ON_WM_SETCURSOR()
ON_WM_CONTEXTMENU()
ON_COMMAND(32775, OnAnnCopy)
ON_COMMAND(32777, OnAnnCut)
ON_COMMAND(32780, OnAnnPaste)
ON_COMMAND(32782, OnAnnDelete)
ON_COMMAND(32784, OnAnnRotate)
ON_COMMAND(32791, OnAnnReshape)
ON_COMMAND(32787, OnAnnProperty)
ON_COMMAND(32850, OnAnnSelectAll)
ON_UPDATE_COMMAND_UI(32775, OnUpdateAnnCopy)
ON_UPDATE_COMMAND_UI(32777, OnUpdateAnnCut)
ON_UPDATE_COMMAND_UI(32780, OnUpdateAnnPaste)
ON_UPDATE_COMMAND_UI(32782, OnUpdateAnnDelete)
ON_UPDATE_COMMAND_UI(32784, OnUpdateAnnRotate)
ON_UPDATE_COMMAND_UI(32791, OnUpdateAnnReshape)
ON_UPDATE_COMMAND_UI(32787, OnUpdateAnnProperty)
ON_UPDATE_COMMAND_UI(32850, OnUpdateAnnSelectAll)
ON_MESSAGE(WM_USER + 700, OnCloseAnnotationLayer)
ON_MESSAGE(WM_USER + 701, OnCloseCalibrationMode)
ON_MESSAGE(WM_USER + 702, OnBeginCalibrationMessage)
ON_MESSAGE(WM_USER + 703, OnCancelCalibration)
ON_MESSAGE(WM_USER + 706, OnReplaceScaleOverlay)
ON_MESSAGE(WM_USER + 707, OnEditScaleOverlay)
ON_MESSAGE(WM_USER + 708, OnApplyCalibrationMessage)
ON_MESSAGE(CVexDisplayOutput::kReportLater, OnReportLater)
END_MESSAGE_MAP()

// The pane's one imaging control is its child 0.
BEGIN_EVENTSINK_MAP(CVexDisplayOutput, CVexImageOutput)
ON_EVENT(CVexDisplayOutput, 0, -605, OnControlMouseDown, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
ON_EVENT(CVexDisplayOutput, 0, -606, OnControlMouseMove, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
ON_EVENT(CVexDisplayOutput, 0, -607, OnControlMouseUp, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
ON_EVENT(CVexDisplayOutput, 0, 16, OnRegionFinished, VTS_NONE)
ON_EVENT(CVexDisplayOutput, 0, -601, OnControlDblClick, VTS_NONE)
ON_EVENT(CVexDisplayOutput, 0, 1, OnControlPainted, VTS_NONE)
ON_EVENT(CVexDisplayOutput, 0, 3, OnControlRepaintNeeded, VTS_NONE)
END_EVENTSINK_MAP()

namespace {

constexpr UINT kStatusBarId = 59393;  // AFX_IDW_STATUS_BAR
constexpr UINT kBackgroundBitmap = 204;

// Only the control of the display that shows a picture first gets the button face.
std::atomic<bool> g_backColorGiven{false};

LOGFONTA LiveFont(LONG height, BYTE italic) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = italic;
  std::strncpy(lf.lfFaceName, "Live Font", LF_FACESIZE - 1);
  return lf;
}

CWnd* MainWindow() {
  if (CWnd* main = AfxGetMainWnd()) return main;
  CWinApp* app = AfxGetApp();
  return app ? app->m_pMainWnd : nullptr;
}

}  // namespace

CVexDisplayOutput::CVexDisplayOutput() {
  const LOGFONTA lf = LiveFont(50, 8);
  m_fontLive.CreateFontIndirect(&lf);
  m_penWhite2.CreatePen(PS_SOLID, 2, RGB(255, 255, 255));
  m_penWhite4.CreatePen(PS_SOLID, 4, RGB(255, 255, 255));
  m_penBlack2.CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
  m_penBlack4.CreatePen(PS_SOLID, 4, RGB(0, 0, 0));
  m_penGrey1.CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
  m_penGrey2.CreatePen(PS_SOLID, 2, RGB(192, 192, 192));
}

CVexDisplayOutput::~CVexDisplayOutput() {
  if (m_pLead && m_pLead->m_hWnd) m_pLead->DestroyWindow();
  m_pLead.reset();
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  for (int i = m_objects.GetSize() - 1; i >= 0; --i) delete m_objects[i];
  m_objects.RemoveAll();
  for (int i = 0; i < m_clipboard.GetSize(); ++i) delete m_clipboard[i].object;
  m_clipboard.RemoveAll();
  if (m_bWorkOwned) delete m_work.object;
  delete m_pScale;
}

CMainFrame* CVexDisplayOutput::Frame() { return CMainFrame::Get(); }

CLead* CVexDisplayOutput::Lead() const { return m_pLead && m_pLead->m_hWnd ? m_pLead.get() : nullptr; }

void CVexDisplayOutput::Fail(LONG detail) const {
  if (CVexDoc* doc = GetDocument()) doc->SetLastError(kErrorType, detail, 1);
}

BOOL CVexDisplayOutput::CreateImagingControl(const RECT* rect) {
  if (m_pLead && m_pLead->m_hWnd) m_pLead->DestroyWindow();
  m_pLead = std::make_unique<CLead>();
  if (!rect || !m_pLead->CreateControl("Test", 0, *rect, this, 0)) {
    m_pLead.reset();
    return FALSE;
  }
  CLead* lead = m_pLead.get();
  lead->SetAppearance(0);
  lead->SetBorderStyle(1);
  lead->SetFlag237(TRUE);
  lead->SetMode6(1);
  lead->SetMode19(0);
  lead->SetAutoRepaint(FALSE);
  lead->SetAutoSize(FALSE);
  lead->SetFlag57(TRUE);
  lead->SetFlag5(FALSE);
  lead->SetPaintSizeMode(3);
  lead->SetFlag275(FALSE);
  lead->SetFlag20(FALSE);
  lead->ShowWindow(SW_SHOW);
  return TRUE;
}

void CVexDisplayOutput::OnInitialUpdate() {
  CVexImageOutput::OnInitialUpdate();
  if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
  LoadBackground();
}

// ---- stage and flow-control operations ------------------------------------------------

int CVexDisplayOutput::Output(SHORT slot) {
  AR_SetPowerStateOn();
  CLead* lead = Lead();
  CVexDoc* doc = GetDocument();
  if (!lead || !doc || !m_pBufferControl) return 0;
  const bool live = IsLiveMode();
  // The live thread and a frame shown again from the user-interface thread take turns.
  std::unique_lock<std::mutex> drawing(m_drawLock, std::defer_lock);
  if (live) drawing.lock();
  lead->SetValue146(0);
  if (!g_backColorGiven.exchange(true)) lead->SetBackColor(static_cast<LONG>(::GetSysColor(COLOR_BTNFACE)));
  lead->SetFlag272(FALSE);
  lead->SetBitmap(m_pBufferControl->GetBuffer(slot));
  lead->SetFlag272(FALSE);

  if (!live) {
    StoreShownBitmap();
    ClearAnnotations();
    m_pBufferControl->SetBuffer(slot, lead->GetBitmap());
    doc->SetImageSizeText(static_cast<LONG>(lead->GetImageWidth()), static_cast<LONG>(lead->GetImageHeight()));
    ShowZoomText();
    double scale = 1.0;
    if (doc->IsShootMode() == 1 && doc->GetResizeSave() == 1) {
      switch (doc->GetResizeSaveSize()) {
        case 0: scale = 0.75; break;
        case 1: scale = 0.5; break;
        case 2: scale = 0.25; break;
        default: break;
      }
    }
    m_dAnnotationScale = scale;
    m_nFineMode = doc->GetShotParameters().fineMode;
    UpdateScaleOverlay(0);
    if (doc->m_bScaleOnCaptured == 0) return 1;
    SetScaleCache(1, doc->GetShootBufferSize(), static_cast<int>(doc->GetDir90()));
    PlaceScaleOverlay(0, 1);
    SetScaleEditMode(1);
    if (doc->GetDisplayCorner() == 1) doc->SetSaveOverlayCode(2);
    return 1;
  }

  const LiveOverlays overlays = SnapshotOverlays();
  if (overlays.zoomed) {
    ShowEnlarged(overlays.liveZoom);
    m_pBufferControl->SetBuffer(slot, lead->GetBitmap());
    return 1;
  }
  const int detail = DrawOverlaysOnControl(overlays, true);
  if (detail == 0) lead->ForceRepaint();
  m_pBufferControl->SetBuffer(slot, lead->GetBitmap());
  if (detail != 0) {
    Fail(detail);
    return 0;
  }
  return 1;
}

int CVexDisplayOutput::SetDisplayMode(SHORT mode) {
  if (mode < kStill || mode > kLiveHalf) return 0;
  m_nDisplayMode = mode;
  if (CLead* lead = Lead()) {
    const CVexDoc* doc = GetDocument();
    const bool blank = mode <= kStillHalf && doc && doc->GetImageState() == 0;
    lead->SetFlag237(blank ? TRUE : FALSE);
  }
  return 1;
}

void CVexDisplayOutput::StoreImage(SHORT slot, LONG bitmap) {
  CLead* lead = Lead();
  if (!lead) return;
  lead->SetValue146(0);
  lead->SetFlag272(FALSE);
  lead->SetBitmap(bitmap);
  lead->SetFlag272(FALSE);
  if (m_pBufferControl) m_pBufferControl->SetBuffer(slot, lead->GetBitmap());
}

void CVexDisplayOutput::ResetZoom() {
  CLead* lead = Lead();
  if (lead) {
    for (int i = 0; i < 2; ++i) {
      lead->SetPaintSizeMode(3);
      lead->ForceRepaint();
    }
  }
  CVexDoc* doc = GetDocument();
  std::lock_guard<std::mutex> guard(m_overlayLock);
  if (IsLiveMode()) {
    if (doc) doc->SetProfileDisplay(1);
  } else if (lead) {
    m_fBaseZoom = lead->GetPaintZoom();
  }
  m_bLiveZoomed = 0;
}

void CVexDisplayOutput::ClearAnnotations() {
  ResetZoom();
  if (m_bAnnotationsEnabled != 1) return;
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  for (int i = m_objects.GetSize() - 1; i >= 0; --i) delete m_objects[i];
  m_objects.RemoveAll();
  m_nCurrentIndex = -1;
  // The selection named objects that are gone: it goes with them.
  m_selection.RemoveAll();
  m_nSelectionCount = 0;
  m_work.index = -1;
  m_nSavedIndex = -1;
  // A gesture on the old picture ends with it.
  m_bButtonHeld = 0;
  m_bFigureInProgress = 0;
}

int CVexDisplayOutput::OnSettingsChanged(LONG flag) {
  if (flag != kLiveFlag && flag != kStillFlag) return 0;
  CVexDoc* doc = GetDocument();
  if (!doc) return 0;
  CLead* lead = Lead();
  {
    std::lock_guard<std::mutex> guard(m_overlayLock);
    m_rcDisplay = doc->GetDir90() == 1 ? CRect(0, 0, 512, 640) : CRect(0, 0, 640, 512);
  }
  if (flag == kStillFlag) {
    const SHORT tool = doc->GetLiveDisplayMode();
    if (tool >= 0 && tool <= 2) {
      m_nMouseTool = tool;
      static constexpr UINT kCursors[] = {0, 180, 181};
      ApplyCursor(kCursors[tool], tool == 0 ? 0 : 1);
      if (lead) {
        lead->SetFlag275(tool == 2 ? TRUE : FALSE);
        if (tool == 1) lead->SetRegionRect(0, 0, 0, 0);
        lead->SetFlag160(tool == 1 ? TRUE : FALSE);
        lead->SetRegionEnabled(tool == 1 ? TRUE : FALSE);
      }
    }
    if (lead) lead->ForceRepaint();
    ShowZoomText();
    return 1;
  }

  LoadShootArea();
  StoreShadingPoint();
  m_bFocusDocked = static_cast<int>(doc->GetFocusTargetDocking());
  {
    std::lock_guard<std::mutex> guard(m_overlayLock);
    m_bFocusShown = static_cast<int>(doc->GetFocusTargetState());
  }
  if (m_bFocusDocked) {
    {
      std::lock_guard<std::mutex> guard(m_overlayLock);
      m_rcFocusBox = Shift(FocusBoxAround(m_rcShootArea.CenterPoint()), m_rcDisplay);
    }
    StoreFocusPosition();
  } else {
    LoadFocusBox();
  }
  LoadProfileRow();

  const SHORT type = doc->GetDisplayMode();
  if (type >= 0 && type <= 3) {
    {
      std::lock_guard<std::mutex> guard(m_overlayLock);
      m_nLiveAreaType = type;
    }
    if (type != 0) ResetZoom();
    ApplyCursor(type >= 2 ? 132 : 0, type >= 2 ? 1 : 0);
    if (lead) {
      lead->SetFlag275(FALSE);
      if (type == 3) lead->SetRegionRect(0, 0, 0, 0);
      lead->SetFlag160(type == 3 ? TRUE : FALSE);
      lead->SetRegionEnabled(type == 3 ? TRUE : FALSE);
    }
  }
  CMainFrame* frame = Frame();
  if (frame && frame->IsCaptureAllowed() == 1 && IsLiveZoomed() && lead) SetZoom(lead->GetPaintZoom());
  if (doc->GetOverlayState() == 1 && frame) frame->CaptureLiveFrame();
  return 1;
}

// ---- still picture: zoom text, read-out, the shown picture ----------------------------

CVexDisplayOutput::DrawContext::DrawContext(CVexDisplayOutput& display)
    : turn_(display.m_drawContextLock), lead_(display.Lead()) {
  if (lead_) value_ = lead_->GetDrawDC();
}

CVexDisplayOutput::DrawContext::~DrawContext() { Release(); }

short CVexDisplayOutput::DrawContext::Release() {
  if (!value_ || !lead_) return 0;
  value_ = 0;
  return lead_->ReleaseDrawDC();
}

void CVexDisplayOutput::ShowZoomText() {
  CVexDoc* doc = GetDocument();
  CLead* lead = Lead();
  if (!doc || !lead || doc->GetImageState() == 0) return;
  const SHORT mode = m_nDisplayMode;
  const bool still = mode == kStill || mode == kStillHalf;
  // Made before the context is borrowed, so the other writer waits only for the drawing.
  CString text;
  CFont font;
  if (still) {
    text.Format("%3.1f%%", lead->GetPaintZoom());
    const LOGFONTA lf = LiveFont(mode == kStill ? 40 : 24, 0);
    font.CreateFontIndirect(&lf);
  }
  // The capture thread's new picture and the painted event on the window's thread both
  // write the text: the context is borrowed in turn, so only a control that lends
  // none fails here.
  DrawContext context(*this);
  const LONG value = context.Value();
  if (value == 0) return Fail(1);
  CDC dc;
  if (!dc.Attach(reinterpret_cast<HDC>(static_cast<INT_PTR>(value)))) return Fail(2);
  if (!dc.SaveDC()) {
    dc.Detach();
    return Fail(3);
  }
  if (still) {
    const int x = mode == kStill ? 620 : 310;
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_RIGHT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.TextOut(x, 3, text);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.TextOut(x, 1, text);
  }
  if (!dc.RestoreDC(-1)) {
    dc.Detach();
    return Fail(4);
  }
  dc.Detach();
  if (context.Release() != 0) Fail(5);
}

CString CVexDisplayOutput::PixelInfoText(int x, int y, int red, int green, int blue) {
  CString text;
  text.Format("X : %04d   Y : %04d     R : %03d   G : %03d   B : %03d", x, y, red, green, blue);
  return text;
}

int CVexDisplayOutput::ShowPixelInfo(int x, int y, int red, int green, int blue) {
  ShowReadOut(PixelInfoText(x, y, red, green, blue));
  return 1;
}

void CVexDisplayOutput::ShowReadOut(LPCSTR text) {
  CWnd* main = MainWindow();
  CWnd* bar = main ? main->GetDescendantWindow(kStatusBarId) : nullptr;
  if (bar) bar->SendMessage(SB_SETTEXT, 2, reinterpret_cast<LPARAM>(text));
}

void CVexDisplayOutput::PixelReadOut(LONG x, LONG y) {
  CLead* lead = Lead();
  if (!lead) return;
  const float picturePixels = lead->GetValue31();
  const float s = picturePixels != 0 ? lead->GetDisplayWidth() / picturePixels : 0;
  if (s == 0) return;
  const float px = float(x) / s - lead->GetDisplayLeft() / s;
  const float py = float(y) / s - lead->GetDisplayTop() / s;
  // Beside the picture (a picture narrower or lower than the pane) there is no pixel to
  // read: the read-out is left empty rather than showing a place that does not exist.
  if (px < 0 || py < 0 || px >= lead->GetImageWidth() || py >= lead->GetImageHeight()) return ShowReadOut("");
  const LONG colour = lead->GetPixel(px, py);
  ShowPixelInfo(static_cast<int>(px), static_cast<int>(py), colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void CVexDisplayOutput::StoreShownBitmap() {
  if (CLead* lead = Lead(); lead && m_pBufferControl) m_pBufferControl->SetSecondBitmap(lead->GetBitmap());
}

float CVexDisplayOutput::GetImageWidth() const {
  CLead* lead = Lead();
  const CVexDoc* doc = GetDocument();
  return lead && doc && doc->GetImageState() != 0 ? lead->GetImageWidth() : 0.0f;
}

float CVexDisplayOutput::GetImageHeight() const {
  CLead* lead = Lead();
  const CVexDoc* doc = GetDocument();
  return lead && doc && doc->GetImageState() != 0 ? lead->GetImageHeight() : 0.0f;
}

// ---- coordinate spaces ----------------------------------------------------------------

CPoint CVexDisplayOutput::WindowToDisplay(CPoint window) const {
  CPoint p = window;
  const SHORT mode = m_nDisplayMode;
  if (mode == kStillHalf || mode == kLiveHalf) p = CPoint(p.x * 2, p.y * 2);
  const CVexDoc* doc = GetDocument();
  if (doc && doc->GetDir90() == 1) p = CPoint(CMathUtl::Round(p.x * 1.25), CMathUtl::Round(p.y * 1.25));
  return p;
}

CPoint CVexDisplayOutput::PictureToDisplay(CPoint p, SHORT mode) { return vexspace::PictureToDisplay(p, mode); }

CPoint CVexDisplayOutput::DisplayToPicture(CPoint p, SHORT mode) { return vexspace::DisplayToPicture(p, mode); }

CRect CVexDisplayOutput::DisplayRectToPicture(const CRect& r, SHORT mode) {
  const CPoint a = DisplayToPicture(r.TopLeft(), mode), b = DisplayToPicture(r.BottomRight(), mode);
  return CRect(a.x, a.y, b.x, b.y);
}

// ---- events and messages --------------------------------------------------------------

void CVexDisplayOutput::OnControlMouseDown(short button, short shift, LONG x, LONG y) {
  const CPoint point = WindowToDisplay(CPoint(x, y));
  m_bTracking = 0;
  {
    std::lock_guard<std::mutex> guard(m_overlayLock);
    m_nDragTarget = 0;
  }
  if (IsLiveMode()) return LiveMouseDown(button, point);
  switch (m_nMouseTool) {
    case 0: ForwardMouseDown(button, shift, x, y); break;
    case 1: {
      const CRect display = GetDisplayRect();
      const bool inside = point.x >= display.left && point.x <= display.right && point.y >= display.top &&
                          point.y <= display.bottom;
      if (button == 1 && inside) m_bTracking = 1;
      break;
    }
    case 2:
      if (button == 1) {
        m_hCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(182));
        ::SetCursor(m_hCursor);
        m_bTracking = 1;
      }
      break;
    default: break;
  }
}

void CVexDisplayOutput::OnControlMouseMove(short button, short shift, LONG x, LONG y) {
  const CPoint point = WindowToDisplay(CPoint(x, y));
  if (IsLiveMode()) return LiveMouseMove(button, point);
  const CVexDoc* doc = GetDocument();
  CLead* lead = Lead();
  if (!doc || !lead || doc->GetImageState() == 0) return;
  const float picturePixels = lead->GetValue31();
  if (picturePixels == 0 || lead->GetDisplayWidth() / picturePixels == 0) return;
  PixelReadOut(x, y);
  if (m_nMouseTool == 0) ForwardMouseMove(button, shift, x, y);
}

void CVexDisplayOutput::OnControlMouseUp(short button, short shift, LONG x, LONG y) {
  const CPoint point = WindowToDisplay(CPoint(x, y));
  if (IsLiveMode()) {
    LiveMouseUp(button, point);
  } else if (m_nMouseTool == 0) {
    ForwardMouseUp(button, shift, x, y);
  } else if (m_nMouseTool == 1 && button == 2) {
    if (CLead* lead = Lead()) ZoomAboutPoint(StepStillZoom(1, lead->GetPaintZoom()), float(x), float(y));
  } else if (m_nMouseTool == 2 && m_bTracking) {
    m_hCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(181));
    ::SetCursor(m_hCursor);
  }
  m_bTracking = 0;
}

void CVexDisplayOutput::OnControlDblClick() { OnAnnDoubleClick(0, m_ptLastPress.x, m_ptLastPress.y); }

void CVexDisplayOutput::OnControlPainted() {
  if (IsLiveMode()) return;
  ShowZoomText();
  DrawSelectionHandles();
}

void CVexDisplayOutput::OnControlRepaintNeeded() {
  if (CLead* lead = Lead()) lead->InvalidateRect(nullptr, TRUE);
}

void CVexDisplayOutput::ApplyCursor(UINT resource, int own) {
  m_hCursor = resource ? ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resource))
                       : ::LoadCursorA(nullptr, IDC_ARROW);
  m_bOwnCursor = own;
}

BOOL CVexDisplayOutput::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bOwnCursor == 0 && m_bAnnotationMode == 1) {
    CMainFrame* frame = Frame();
    if (frame && frame->GetSelectedAnnotationTool() != 0) {
      ::SetCursor(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(148)));
      return TRUE;
    }
  }
  if (m_bOwnCursor == 1 && m_hCursor) {
    ::SetCursor(m_hCursor);
    return TRUE;
  }
  return CVexImageOutput::OnSetCursor(pWnd, nHitTest, message);
}

// ---- background -----------------------------------------------------------------------

void CVexDisplayOutput::LoadBackground() {
  if (m_bitmapBack.GetSafeHandle()) return;
  HANDLE image = ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kBackgroundBitmap), IMAGE_BITMAP, 0, 0,
                              LR_CREATEDIBSECTION);
  if (!image || !m_bitmapBack.Attach(static_cast<HBITMAP>(image))) return;
  DIBSECTION section{};
  if (m_bitmapBack.GetObject(sizeof section, &section) != sizeof section) return;
  const DWORD colours =
      section.dsBmih.biClrUsed ? section.dsBmih.biClrUsed : (section.dsBmih.biBitCount < 16 ? 1u << section.dsBmih.biBitCount : 0x10000u);
  if (colours > 256) {
    CClientDC screen(nullptr);
    m_palette.CreateHalftonePalette(&screen);
    return;
  }
  CDC memory;
  if (!memory.CreateCompatibleDC(nullptr)) {
    ::MessageBoxA(m_hWnd, "memDC.CreateCompatibleDC Fail!", "Lumora Error", MB_OK);
    return;
  }
  CBitmap* old = memory.SelectObject(&m_bitmapBack);
  RGBQUAD table[256];
  const UINT read = ::GetDIBColorTable(memory.m_hDC, 0, colours, table);
  memory.SelectObject(old);
  std::vector<BYTE> bytes(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (read ? read : 1));
  auto* palette = reinterpret_cast<LOGPALETTE*>(bytes.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(read);
  for (UINT i = 0; i < read; ++i)
    palette->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
  if (read) m_palette.CreatePalette(palette);
}

void CVexDisplayOutput::OnDraw(CDC* pDC) {
  if (pDC->IsPrinting()) return;
  CPalette* oldPalette = nullptr;
  if ((pDC->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) && m_palette.GetSafeHandle()) {
    oldPalette = pDC->SelectPalette(&m_palette, FALSE);
    pDC->RealizePalette();
  }
  CRect client;
  GetClientRect(&client);
  pDC->DPtoLP(&client);
  {
    CMemDC memory(pDC, &client);
    BITMAP bm{};
    if (!m_bitmapBack.GetSafeHandle() || m_bitmapBack.GetObject(sizeof bm, &bm) == 0 || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0) {
      memory.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    } else {
      CDC image;
      if (!image.CreateCompatibleDC(pDC)) {
        // Said once: the pane is painted again and again.
        if (!m_bPaintFailureShown) {
          m_bPaintFailureShown = true;
          ::MessageBoxA(m_hWnd, "dcImage.CreateCompatibleDC Fail!", "Lumora Error", MB_OK);
        }
      } else {
        CBitmap* old = image.SelectObject(&m_bitmapBack);
        auto floorTo = [](LONG v, LONG step) { return (v >= 0 ? v / step : -((-v + step - 1) / step)) * step; };
        for (LONG x = floorTo(client.left, bm.bmWidth); x <= client.right; x += bm.bmWidth)
          for (LONG y = floorTo(client.top, bm.bmHeight); y <= client.bottom; y += bm.bmHeight)
            memory.BitBlt(x, y, bm.bmWidth, bm.bmHeight, &image, 0, 0, SRCCOPY);
        image.SelectObject(old);
      }
    }
  }
  if (oldPalette) {
    pDC->SelectPalette(oldPalette, FALSE);
    pDC->RealizePalette();
  }
}
