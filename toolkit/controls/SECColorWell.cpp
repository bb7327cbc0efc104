#include "SECColorWell.h"

#include <afxdlgs.h>

#include <vector>

#include "SECPopupColorWell.h"
#include "SECResourceIds.h"

IMPLEMENT_DYNAMIC(SECCustomColorButton, CButton)
IMPLEMENT_DYNAMIC(SECColorWell, CWnd)

BEGIN_MESSAGE_MAP(SECCustomColorButton, CButton)
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(SECColorWell, CWnd)
  ON_WM_PAINT()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_COMMAND(SECColorWell::ID_CUSTOMCOLOR, OnCustomColor)
  ON_WM_SYSCOLORCHANGE()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

COLORREF SECColorWell::s_clrHilite = 0;
COLORREF SECColorWell::s_clrShadow = 0;
COLORREF SECColorWell::s_clrFace = 0;
COLORREF SECColorWell::s_clrDarkShadow = 0;
COLORREF SECColorWell::s_clrLight = 0;
COLORREF SECColorWell::s_clrBackground = 0;
COLORREF SECColorWell::s_clrFrame = 0;

namespace {
constexpr int kGap = 2;          // pixels between neighbouring cells
constexpr int kCustomDrop = 5;   // the custom cell sits this far below its row
constexpr COLORREF kWhite = RGB(255, 255, 255);
bool ShiftHeld() { return (::GetKeyState(VK_SHIFT) & 0x8000) != 0; }
}  // namespace

// ---- the custom-colour button ----

UINT SECCustomColorButton::OnGetDlgCode() { return DLGC_BUTTON | DLGC_WANTTAB; }

void SECCustomColorButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CWnd* pGrid = GetParent();
  if (pGrid && pGrid->IsKindOf(RUNTIME_CLASS(SECPopupColorWell))) {
    if (nChar == VK_TAB || nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_UP || nChar == VK_DOWN)
      pGrid->SetFocus();
  } else if (nChar == VK_TAB && pGrid) {
    if (ShiftHeld()) {
      pGrid->SetFocus();
    } else if (CWnd* pDialog = pGrid->GetParent()) {
      if (CWnd* pNext = pDialog->GetNextDlgTabItem(pGrid, FALSE)) pNext->SetFocus();
    }
    return;
  }
  CButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECCustomColorButton::OnKillFocus(CWnd* pNewWnd) {
  CButton::OnKillFocus(pNewWnd);
  CWnd* pGrid = GetParent();
  if (pGrid && pGrid->IsKindOf(RUNTIME_CLASS(SECPopupColorWell)) && pNewWnd != pGrid)
    static_cast<SECPopupColorWell*>(pGrid)->Close();
}

// ---- the grid ----

const COLORREF* SECColorWell::GetDefaultColors() {
  static const COLORREF colors[kDefaultColorCount] = {
      RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
      RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
      RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
      RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
  return colors;
}

void SECColorWell::ReadColors() {
  s_clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  s_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
  s_clrFace = ::GetSysColor(COLOR_BTNFACE);
  s_clrDarkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
  s_clrLight = ::GetSysColor(COLOR_3DLIGHT);
  s_clrBackground = ::GetSysColor(COLOR_BTNFACE);
  s_clrFrame = ::GetSysColor(COLOR_WINDOWFRAME);
}

SECColorWell::SECColorWell() = default;
SECColorWell::~SECColorWell() = default;

CSize SECColorWell::CalcSize(const Layout& layout) {
  int cx = 2 * layout.nMarginX + layout.nColumns * (layout.nCellWidth + kGap) - kGap;
  int cy = 2 * layout.nMarginY + layout.nRows * (layout.nCellHeight + kGap) - kGap;
  if (layout.bCustom) cy += kGap + kCustomDrop + layout.nCellHeight;
  return CSize(cx, cy);
}

BOOL SECColorWell::Create(DWORD dwStyle, CPoint topLeft, CWnd* pParent, UINT nID, const Layout& layout) {
  if (layout.nRows < 1 || layout.nColumns < 1 || layout.nCellWidth < 1 || layout.nCellHeight < 1) return FALSE;
  ReadColors();
  m_nRows = layout.nRows;
  m_nColumns = layout.nColumns;
  m_nCellWidth = layout.nCellWidth;
  m_nCellHeight = layout.nCellHeight;
  m_nMarginX = layout.nMarginX;
  m_nMarginY = layout.nMarginY;
  m_bCustomSupport = layout.bCustom;
  m_nCustomColumn = m_nColumns - 1;
  m_nCustomRow = m_nRows;
  m_nCustomIndex = m_nRows * m_nColumns;
  m_nCurRow = m_nCurColumn = 0;
  m_bCustomShown = FALSE;

  // The palette: the grid's cells, then the custom cell; missing default colours are white.
  const int cells = m_nCustomIndex + 1;
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + cells * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(storage.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(cells);
  for (int i = 0; i < cells; ++i) {
    COLORREF c = kWhite;
    if (i < m_nCustomIndex) {
      if (layout.pColors) c = layout.pColors[i];
      else if (i < kDefaultColorCount) c = GetDefaultColors()[i];
    }
    log->palPalEntry[i] = PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0};
  }
  m_palette.DeleteObject();
  if (!m_palette.CreatePalette(log)) return FALSE;
  m_brushButton.DeleteObject();
  m_brushButton.CreateSolidBrush(s_clrBackground);

  const CSize size = CalcSize(layout);
  const CRect rect(topLeft, size);
  LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CreateEx(0, lpszClass, "", dwStyle, rect, pParent, (dwStyle & WS_POPUP) ? 0 : nID)) return FALSE;

  if (m_bCustomSupport) {
    // The button spans the custom row until the custom cell appears at its right.
    const CRect grid = GetGridRect();
    const CRect cell = GetCellRect(m_nCustomColumn, m_nCustomRow);
    const CRect button(grid.left, cell.top - 1, grid.right, cell.bottom + 1);
    m_pCustomButton = std::make_unique<SECCustomColorButton>();
    CString caption;
    caption.LoadString(IDS_SEC_OTHER_COLOR);
    if (!m_pCustomButton->Create(caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, button, this,
                                 ID_CUSTOMCOLOR)) {
      DestroyWindow();
      return FALSE;
    }
    m_pCustomButton->SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
  }
  return TRUE;
}

int SECColorWell::GetPaletteIndex(int nColumn, int nRow) const {
  if (IsCustomCell(nColumn, nRow)) return m_nCustomIndex;
  return nColumn + nRow * m_nColumns;
}

COLORREF SECColorWell::GetCellColor(int nColumn, int nRow) const {
  PALETTEENTRY e{};
  m_palette.GetPaletteEntries(static_cast<UINT>(GetPaletteIndex(nColumn, nRow)), 1, &e);
  return RGB(e.peRed, e.peGreen, e.peBlue);
}

COLORREF SECColorWell::GetColor() const { return GetCellColor(m_nCurColumn, m_nCurRow); }

CRect SECColorWell::GetGridRect() const {
  CRect rect;
  GetClientRect(&rect);
  rect.DeflateRect(m_nMarginX, m_nMarginY);
  return rect;
}

CRect SECColorWell::GetCellRect(int nColumn, int nRow) const {
  const CRect grid = GetGridRect();
  CRect cell(grid.left + nColumn * (m_nCellWidth + kGap), grid.top + nRow * (m_nCellHeight + kGap), 0, 0);
  cell.right = cell.left + m_nCellWidth;
  cell.bottom = cell.top + m_nCellHeight;
  if (IsCustomCell(nColumn, nRow)) cell.OffsetRect(0, kCustomDrop);
  return cell;
}

BOOL SECColorWell::HitTest(CPoint point, int& nColumn, int& nRow) const {
  for (int c = 0; c < m_nColumns; ++c) {
    for (int r = 0; r < m_nRows; ++r) {
      CRect hit = GetCellRect(c, r);
      hit.InflateRect(1, 1);
      if (hit.PtInRect(point)) {
        nColumn = c;
        nRow = r;
        return TRUE;
      }
    }
  }
  if (CustomAvailable()) {
    CRect hit = GetCellRect(m_nCustomColumn, m_nCustomRow);
    hit.InflateRect(1, 1);
    if (hit.PtInRect(point)) {
      nColumn = m_nCustomColumn;
      nRow = m_nCustomRow;
      return TRUE;
    }
  }
  return FALSE;
}

void SECColorWell::InvalidateCell(int nColumn, int nRow) {
  if (!m_hWnd) return;
  CRect rect = GetCellRect(nColumn, nRow);
  rect.InflateRect(1, 1);
  InvalidateRect(&rect, FALSE);
}

void SECColorWell::MakeCurrent(int nColumn, int nRow) {
  if (m_hWnd) InvalidateCell(m_nCurColumn, m_nCurRow);
  m_nCurColumn = nColumn;
  m_nCurRow = nRow;
  if (m_hWnd) InvalidateCell(m_nCurColumn, m_nCurRow);
}

void SECColorWell::SetColor(COLORREF color) {
  const int cells = m_nRows * m_nColumns;
  std::vector<PALETTEENTRY> entries(static_cast<size_t>(cells));
  if (cells > 0) m_palette.GetPaletteEntries(0, static_cast<UINT>(cells), entries.data());
  for (int c = 0; c < m_nColumns; ++c) {
    for (int r = 0; r < m_nRows; ++r) {
      const PALETTEENTRY& e = entries[static_cast<size_t>(c + r * m_nColumns)];
      if (RGB(e.peRed, e.peGreen, e.peBlue) == (color & 0xFFFFFF)) {
        MakeCurrent(c, r);
        return;
      }
    }
  }
  if (!m_bCustomSupport) return;
  PALETTEENTRY custom{GetRValue(color), GetGValue(color), GetBValue(color), 0};
  m_palette.SetPaletteEntries(static_cast<UINT>(m_nCustomIndex), 1, &custom);
  if (!m_bCustomShown) {
    m_bCustomShown = TRUE;
    if (m_pCustomButton && m_pCustomButton->m_hWnd) {
      CRect button;
      m_pCustomButton->GetWindowRect(&button);
      ScreenToClient(&button);
      button.right -= m_nCellWidth + kGap;
      m_pCustomButton->MoveWindow(&button, TRUE);
    }
  }
  MakeCurrent(m_nCustomColumn, m_nCustomRow);
}

void SECColorWell::SelectCell(int nColumn, int nRow, int nReason) {
  MakeCurrent(nColumn, nRow);
  if (nReason == SelectChoice) ReportColor();
}

HWND SECColorWell::GetNotifyWindow() const {
  CWnd* pParent = GetParent();
  return pParent ? pParent->m_hWnd : nullptr;
}

void SECColorWell::ReportColor() {
  HWND hNotify = GetNotifyWindow();
  const WPARAM id = (GetStyle() & WS_CHILD) ? static_cast<WPARAM>(GetDlgCtrlID()) : 0;
  if (hNotify) ::SendMessageA(hNotify, WM_COLORCHOSEN, id, static_cast<LPARAM>(GetColor()));
}

void SECColorWell::OnColorChosen() { ReportColor(); }

// ---- painting ----

void SECColorWell::DrawCell(CDC* pDC, CDC*, const CRect&, int nColumn, int nRow) {
  CRect cell = GetCellRect(nColumn, nRow);
  CRect edge = cell;
  edge.InflateRect(1, 1);
  pDC->Draw3dRect(&edge, s_clrShadow, s_clrHilite);  // sunken
  pDC->FillSolidRect(&cell, GetCellColor(nColumn, nRow));
}

void SECColorWell::DrawSelectedCell(CDC* pDC, CDC*, const CRect&, int nColumn, int nRow) {
  CRect cell = GetCellRect(nColumn, nRow);
  CRect edge = cell;
  edge.InflateRect(1, 1);
  pDC->Draw3dRect(&edge, s_clrFrame, s_clrFrame);
  pDC->Draw3dRect(&cell, kWhite, kWhite);
  cell.DeflateRect(1, 1);
  pDC->FillSolidRect(&cell, GetCellColor(nColumn, nRow));
}

void SECColorWell::DrawGrid(CDC* pDC, CDC* pScreenDC) {
  CRect rect;
  GetClientRect(&rect);
  pDC->FillSolidRect(&rect, s_clrFace);
  if (HasFocusFrame()) {
    if (m_bFocused) pDC->Draw3dRect(&rect, s_clrFrame, s_clrFrame);
    rect.DeflateRect(1, 1);
  }
  if (GetStyle() & CWS_RAISEDBORDER) {
    pDC->Draw3dRect(&rect, s_clrLight, s_clrDarkShadow);
    CRect inner = rect;
    inner.DeflateRect(1, 1);
    pDC->Draw3dRect(&inner, s_clrHilite, s_clrShadow);
  }
  const CRect grid = GetGridRect();
  for (int c = 0; c < m_nColumns; ++c) {
    for (int r = 0; r < m_nRows; ++r) {
      if (c == m_nCurColumn && r == m_nCurRow) DrawSelectedCell(pDC, pScreenDC, grid, c, r);
      else DrawCell(pDC, pScreenDC, grid, c, r);
    }
  }
  if (m_bCustomSupport) {
    const CRect separator(grid.left, grid.top + m_nRows * (m_nCellHeight + kGap), grid.right,
                          grid.top + m_nRows * (m_nCellHeight + kGap) + kGap);
    pDC->Draw3dRect(&separator, s_clrShadow, kWhite);
    if (m_bCustomShown) {
      if (IsCustomCell(m_nCurColumn, m_nCurRow))
        DrawSelectedCell(pDC, pScreenDC, grid, m_nCustomColumn, m_nCustomRow);
      else
        DrawCell(pDC, pScreenDC, grid, m_nCustomColumn, m_nCustomRow);
    }
  }
}

void SECColorWell::OnPaint() {
  CPaintDC dc(this);
  CPalette* pOldScreen = nullptr;
  if (m_bRealizeOnScreen) {
    pOldScreen = dc.SelectPalette(&m_palette, TRUE);
    dc.RealizePalette();
  }
  CRect client;
  GetClientRect(&client);
  CDC memory;
  CBitmap bitmap;
  if (memory.CreateCompatibleDC(&dc) && bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height())) {
    CPalette* pOldPalette = memory.SelectPalette(&m_palette, FALSE);
    CBitmap* pOld = memory.SelectObject(&bitmap);
    DrawGrid(&memory, &dc);
    CRect clip;
    dc.GetClipBox(&clip);
    dc.BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &memory, clip.left, clip.top, SRCCOPY);
    memory.SelectObject(pOld);
    if (pOldPalette) memory.SelectPalette(pOldPalette, FALSE);
  } else {
    DrawGrid(&dc, &dc);
  }
  if (m_bRealizeOnScreen && pOldScreen) dc.SelectPalette(pOldScreen, TRUE);
}

// ---- focus and keys ----

void SECColorWell::DrawFocusFrame(BOOL bFocused) {
  if (!HasFocusFrame()) return;
  m_bFocused = bFocused;
  CWindowDC dc(this);
  CRect rect;
  GetWindowRect(&rect);
  rect.OffsetRect(-rect.left, -rect.top);
  const COLORREF color = bFocused ? s_clrFrame : s_clrFace;
  dc.Draw3dRect(&rect, color, color);
}

void SECColorWell::OnSetFocus(CWnd* pOldWnd) {
  // Shift+Tab into the grid lands on its last element, the custom-colour button.
  if (m_bCustomSupport && m_pCustomButton && m_pCustomButton->m_hWnd && ShiftHeld() &&
      pOldWnd != m_pCustomButton.get()) {
    m_pCustomButton->SetFocus();
    return;
  }
  CWnd::OnSetFocus(pOldWnd);
  DrawFocusFrame(TRUE);
}

void SECColorWell::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  DrawFocusFrame(FALSE);
}

UINT SECColorWell::OnGetDlgCode() {
  UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (m_bCustomSupport) code |= DLGC_WANTTAB;
  return code;
}

void SECColorWell::MoveByKey(UINT nChar) {
  const int C = m_nColumns, R = m_nRows;
  int c = m_nCurColumn, r = m_nCurRow;
  const bool onCustom = IsCustomCell(c, r);
  const bool custom = CustomAvailable();
  switch (nChar) {
    case VK_LEFT:
      if (onCustom) c = C - 1, r = R - 1;
      else if (c > 0) --c;
      else if (r > 0) c = C - 1, --r;
      else if (custom) c = m_nCustomColumn, r = m_nCustomRow;
      else c = C - 1, r = R - 1;
      break;
    case VK_RIGHT:
      if (onCustom) c = 0, r = 0;
      else if (c < C - 1) ++c;
      else if (r != R - 1) c = 0, ++r;
      else if (custom) c = m_nCustomColumn, r = m_nCustomRow;
      else c = 0, r = 0;
      break;
    case VK_UP:
      if (r > 0) --r;
      else if (custom && c == m_nCustomColumn) r = m_nCustomRow;
      else r = R - 1;
      break;
    case VK_DOWN:
      if (onCustom) c = m_nCustomColumn, r = 0;
      else if (r < R - 1) ++r;
      else if (custom && c == m_nCustomColumn) r = m_nCustomRow;
      else r = 0;
      break;
    default:
      return;
  }
  SelectCell(c, r, SelectKey);
}

void SECColorWell::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  switch (nChar) {
    case VK_TAB:
      if (!ShiftHeld()) {
        if (m_pCustomButton && m_pCustomButton->m_hWnd) m_pCustomButton->SetFocus();
      } else if (CWnd* pParent = GetParent()) {
        if (CWnd* pPrev = pParent->GetNextDlgTabItem(this, TRUE)) pPrev->SetFocus();
      }
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      MoveByKey(nChar);
      return;
    default:
      CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

// ---- mouse ----

void SECColorWell::OnLButtonDown(UINT nFlags, CPoint point) {
  SetFocus();
  int c = 0, r = 0;
  if (HitTest(point, c, r)) SelectCell(c, r, SelectChoice);
  else CWnd::OnLButtonDown(nFlags, point);
}

void SECColorWell::OnMouseMove(UINT nFlags, CPoint point) {
  int c = 0, r = 0;
  if (m_bHoverTracking && HitTest(point, c, r) && (c != m_nCurColumn || r != m_nCurRow))
    SelectCell(c, r, SelectHover);
  else
    CWnd::OnMouseMove(nFlags, point);
}

// ---- the colour dialog and system colours ----

void SECColorWell::RunColorDialog() {
  CColorDialog dlg(0, 0, nullptr);
  // CC_RGBINIT so that the dialog opens on the current colour: without it an unchanged OK
  // would answer black.
  dlg.m_cc.rgbResult = GetColor();
  dlg.m_cc.Flags |= m_dwDialogFlags | CC_RGBINIT;
  if (m_pCustomColors) dlg.m_cc.lpCustColors = m_pCustomColors;
  if (dlg.DoModal() != IDOK) return;
  SetColor(dlg.GetColor());
  OnColorChosen();
}

void SECColorWell::OnCustomColor() { RunColorDialog(); }

void SECColorWell::OnSysColorChange() {
  CWnd::OnSysColorChange();
  ReadColors();
  m_brushButton.DeleteObject();
  m_brushButton.CreateSolidBrush(s_clrBackground);
  Invalidate(TRUE);
}

HBRUSH SECColorWell::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor != CTLCOLOR_BTN) return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
  pDC->SetBkColor(s_clrBackground);
  return static_cast<HBRUSH>(m_brushButton.GetSafeHandle());
}
