#include "SECBmpMenuPlugIn.h"

#include <algorithm>
#include <new>
#include <string>

#include "controls/CreateCheckerBrush.h"
#include "controls/LoadBitmapWithSysColors.h"
#include "controls/SECBmpMgr.h"
#include "controls/SECResourceIds.h"

IMPLEMENT_DYNAMIC(SECBmpMenuItemInfo, CObject)
IMPLEMENT_DYNAMIC(SECBmpMenuPlugIn, SECWndPlugIn)

namespace {

// System commands (the system menu's and the MDI window list's) stay as they are.
bool IsSystemCommand(UINT nID) { return nID >= 0xF000 && nID <= 0xFEFF; }

// Text as a menu item holds it: at most 255 bytes, never cut inside a character.
CString CutItemText(const char* text) {
  std::string s(text ? text : "");
  if (s.size() > 255) {
    size_t n = 255;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    s.resize(n);
  }
  return CString(s.c_str());
}

}  // namespace

// ---- item records

SECBmpMenuItemInfo::SECBmpMenuItemInfo(UINT nID, LPCSTR lpszText)
    : m_nID(nID), m_strText(CutItemText(lpszText)), m_nMnemonic(MnemonicOf(m_strText)) {}

UINT SECBmpMenuItemInfo::MnemonicOf(LPCSTR lpszText) {
  if (!lpszText) return 0;
  const char* amp = std::strchr(lpszText, '&');
  if (!amp || !amp[1]) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(amp + 1);
  if (*p < 0x80) return static_cast<UINT>(std::tolower(*p));
  // A whole UTF-8 character, as its code point; letters beyond ASCII keep their case.
  int extra = (*p & 0xE0) == 0xC0 ? 1 : (*p & 0xF0) == 0xE0 ? 2 : (*p & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0) return 0;
  UINT cp = *p & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;  // a broken character is no mnemonic
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  return cp;
}

SECBmpMenuItemInfo* SECBmpMenuPlugIn::SECBmpMenuInfo::Find(ULONG_PTR data) const {
  for (const auto& item : m_items)
    if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
  return nullptr;
}

SECBmpMenuItemInfo* SECBmpMenuPlugIn::SECBmpMenuInfo::FindID(UINT nID) const {
  for (const auto& item : m_items)
    if (item->m_nID == nID) return item.get();
  return nullptr;
}

// ---- the plug-in

BEGIN_MESSAGE_MAP(SECBmpMenuPlugIn, SECWndPlugIn)
  ON_WM_MEASUREITEM()
  ON_WM_DRAWITEM()
  ON_WM_MENUCHAR()
  ON_WM_INITMENUPOPUP()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_WM_SETTINGCHANGE()
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

HBITMAP SECBmpMenuPlugIn::LibraryMenuDot() {
  static HBITMAP dot = [] {
    // 16 x 15, white but for a dot of rows 6, 15, 15, 15, 6 (four bits wide) in the five
    // middle rows; each row a big-endian word, leftmost pixel in the top bit.
    BYTE bits[15 * 2];
    std::fill(std::begin(bits), std::end(bits), 0xFF);
    const WORD rows[5] = {6, 15, 15, 15, 6};
    for (int r = 0; r < 5; ++r) {
      const WORD word = static_cast<WORD>(~(rows[r] << 6));
      bits[(5 + r) * 2] = static_cast<BYTE>(word >> 8);
      bits[(5 + r) * 2 + 1] = static_cast<BYTE>(word & 0xFF);
    }
    HBITMAP made = ::CreateBitmap(16, 15, 1, 1, bits);
    return made ? made : ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_MNARROW));
  }();
  return dot;
}

SECBmpMenuPlugIn::SECBmpMenuPlugIn(BOOL bUseOwnDot) : m_bUseOwnDot(bUseOwnDot) {
  LoadColors();
  auto* mgr = new SECBmpMgr;  // reference count 1: ours
  SetBitmapManager(mgr);
  mgr->Release();
  if (m_bUseOwnDot) AfxSetMenuDotBitmap(LibraryMenuDot());
}

SECBmpMenuPlugIn::~SECBmpMenuPlugIn() {
  RestoreStringItems();
  m_menuMap.clear();
  m_foreignIds.clear();
  if (m_pBmpMgr) m_pBmpMgr->Release();
  if (m_hCheckedBrush) ::DeleteObject(m_hCheckedBrush);
}

void SECBmpMenuPlugIn::UnPlug() { SECWndPlugIn::UnPlug(); }

void SECBmpMenuPlugIn::SetBitmapManager(SECBmpMgr* pMgr) {
  if (!pMgr || pMgr == m_pBmpMgr) return;
  pMgr->AddRef();
  if (m_pBmpMgr) m_pBmpMgr->Release();
  m_pBmpMgr = pMgr;
  if (!m_pBmpMgr->m_bSmallImages) {
    m_pBmpMgr->m_bSmallImages = TRUE;
    m_pBmpMgr->ReloadAllBitmaps(FALSE);
  }
}

void SECBmpMenuPlugIn::LoadColors() {
  m_clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
  m_clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_clr3DHilite = ::GetSysColor(COLOR_3DHILIGHT);
  m_clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
  m_clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
  m_clrMenu = ::GetSysColor(COLOR_MENU);
  m_clrGrayText = ::GetSysColor(COLOR_GRAYTEXT);
  m_clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  m_clrMenuText = ::GetSysColor(COLOR_MENUTEXT);
}

SECBmpMenuItemInfo* SECBmpMenuPlugIn::RecordOf(HMENU hMenu, ULONG_PTR data) const {
  auto it = m_menuMap.find(hMenu);
  return it == m_menuMap.end() ? nullptr : it->second->Find(data);
}

// ---- converting

void SECBmpMenuPlugIn::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
  if (!pPopupMenu || !pPopupMenu->m_hMenu || bSysMenu || !::IsMenu(pPopupMenu->m_hMenu)) return;
  const HMENU hMenu = pPopupMenu->m_hMenu;
  auto& slot = m_menuMap[hMenu];
  if (!slot) slot = std::make_unique<SECBmpMenuInfo>(hMenu);
  SECBmpMenuInfo& info = *slot;
  const int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    char text[256] = "";
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = sizeof text;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &mii)) continue;
    const UINT id = mii.wID;
    if (mii.fType & MFT_OWNERDRAW) {
      // Drawn by somebody else unless it is one of ours.
      if (!info.Find(mii.dwItemData) && !info.FindID(id) && !m_foreignIds.count(id)) m_foreignIds.insert(id);
      continue;
    }
    if (mii.fType & (MFT_BITMAP | MFT_SEPARATOR)) continue;
    if (IsSystemCommand(id) || m_foreignIds.count(id)) continue;
    std::unique_ptr<SECBmpMenuItemInfo> record;
    try {
      record = std::make_unique<SECBmpMenuItemInfo>(id, text);
      info.m_items.push_back(nullptr);
    } catch (const std::bad_alloc&) {
      continue;  // no record: the item stays a string item
    }
    MENUITEMINFOA od{};
    od.cbSize = sizeof od;
    od.fMask = MIIM_FTYPE | MIIM_DATA;
    od.fType = mii.fType | MFT_OWNERDRAW;
    od.dwItemData = reinterpret_cast<ULONG_PTR>(record.get());
    if (!::SetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &od)) {
      info.m_items.pop_back();
      continue;
    }
    info.m_items.back() = std::move(record);
  }
}

void SECBmpMenuPlugIn::DropStaleMenus() {
  for (auto it = m_menuMap.begin(); it != m_menuMap.end();) {
    SECBmpMenuInfo& info = *it->second;
    if (!::IsMenu(info.m_hMenu)) {
      it = m_menuMap.erase(it);
      continue;
    }
    // Records that no item of the menu points at any more.
    std::set<ULONG_PTR> live;
    const int count = ::GetMenuItemCount(info.m_hMenu);
    for (int pos = 0; pos < count; ++pos) {
      MENUITEMINFOA mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_FTYPE | MIIM_DATA;
      if (::GetMenuItemInfoA(info.m_hMenu, static_cast<UINT>(pos), TRUE, &mii) && (mii.fType & MFT_OWNERDRAW))
        live.insert(mii.dwItemData);
    }
    std::erase_if(info.m_items, [&](const auto& r) { return !live.count(reinterpret_cast<ULONG_PTR>(r.get())); });
    ++it;
  }
}

void SECBmpMenuPlugIn::RestoreStringItems() {
  for (auto& [hMenu, info] : m_menuMap) {
    if (!::IsMenu(hMenu)) continue;
    const int count = ::GetMenuItemCount(hMenu);
    for (int pos = 0; pos < count; ++pos) {
      MENUITEMINFOA mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_FTYPE | MIIM_DATA;
      if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW)) continue;
      SECBmpMenuItemInfo* record = info->Find(mii.dwItemData);
      if (!record) continue;
      MENUITEMINFOA back{};
      back.cbSize = sizeof back;
      back.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
      back.fType = mii.fType & ~MFT_OWNERDRAW;
      back.dwItemData = 0;
      back.dwTypeData = const_cast<LPSTR>(static_cast<LPCSTR>(record->m_strText));
      ::SetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &back);
    }
  }
}

// ---- fonts, masks and images

BOOL SECBmpMenuPlugIn::CreateMenuFont() {
  if (m_menuFont.GetSafeHandle()) return TRUE;
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;  // the 340-byte record
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) return FALSE;
  return m_menuFont.CreateFontIndirect(&ncm.lfMenuFont);
}

BOOL SECBmpMenuPlugIn::CreateBoldMenuFont() {
  if (m_boldMenuFont.GetSafeHandle()) return TRUE;
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) return FALSE;
  ncm.lfMenuFont.lfWeight = 700;
  return m_boldMenuFont.CreateFontIndirect(&ncm.lfMenuFont);
}

BOOL SECBmpMenuPlugIn::CreateMonoMask(CDC* pImageDC, int nImage, CDC& maskDC, CBitmap& mask) {
  const CSize size = m_pBmpMgr->GetImageSize();
  if (!maskDC.CreateCompatibleDC(pImageDC) || !mask.CreateBitmap(size.cx, size.cy, 1, 1, nullptr)) return FALSE;
  maskDC.SelectObject(&mask);
  maskDC.PatBlt(0, 0, size.cx, size.cy, WHITENESS);
  const COLORREF oldBk = pImageDC->SetBkColor(m_clrBtnFace);
  maskDC.BitBlt(0, 0, size.cx, size.cy, pImageDC, nImage * size.cx, 0, SRCCOPY);
  pImageDC->SetBkColor(m_clrBtnHilite);
  maskDC.BitBlt(0, 0, size.cx, size.cy, pImageDC, nImage * size.cx, 0, SRCPAINT);
  pImageDC->SetBkColor(oldBk);
  return TRUE;
}

void SECBmpMenuPlugIn::DrawCheckedImage(CDC* pDC, int x, int y, CDC& maskDC) {
  // The button face and the highlight in a checkerboard, as checked toolbar buttons.
  if (!m_hCheckedBrush) m_hCheckedBrush = CreateCheckerBrush(m_clrBtnFace, m_clrBtnHilite);
  if (!m_hCheckedBrush) return;  // drawn without it
  const CSize size = m_pBmpMgr->GetImageSize();
  // The mask's white (face and highlight pixels) takes the pattern, its black keeps the image.
  const COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0)), oldBk = pDC->SetBkColor(RGB(255, 255, 255));
  HGDIOBJ oldBrush = ::SelectObject(pDC->m_hDC, m_hCheckedBrush);
  pDC->BitBlt(x, y, size.cx, size.cy, &maskDC, 0, 0, 0x00E20746);
  ::SelectObject(pDC->m_hDC, oldBrush);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
}

void SECBmpMenuPlugIn::DrawDisabledImage(CDC* pDC, int x, int y, CDC& maskDC) {
  const CSize size = m_pBmpMgr->GetImageSize();
  const COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0)), oldBk = pDC->SetBkColor(RGB(255, 255, 255));
  CBrush hilite(m_clrBtnHilite), shadow(m_clrBtnShadow);
  CBrush* old = pDC->SelectObject(&hilite);
  pDC->BitBlt(x + 1, y + 1, size.cx, size.cy, &maskDC, 0, 0, 0x00B8074A);
  pDC->SelectObject(&shadow);
  pDC->BitBlt(x, y, size.cx, size.cy, &maskDC, 0, 0, 0x00B8074A);
  pDC->SelectObject(old);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
}

void SECBmpMenuPlugIn::DrawItemImage(CDC* pDC, const CRect& rcItem, HBITMAP hbm, int nImage, UINT nState) {
  const CSize size = m_pBmpMgr->GetImageSize();
  CRect box(rcItem.left, rcItem.top, rcItem.left + size.cx + 4, rcItem.bottom);
  const bool selected = (nState & ODS_SELECTED) != 0, checked = (nState & ODS_CHECKED) != 0,
             disabled = (nState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  if (!hbm) {
    pDC->FillSolidRect(&box, selected ? m_clrHighlight : m_clrMenu);
    return;
  }
  pDC->FillSolidRect(&box, m_clrMenu);
  CRect edge(box.left, box.top + (box.Height() - (size.cy + 4)) / 2, box.right, 0);
  edge.bottom = edge.top + size.cy + 4;
  if (checked)
    pDC->DrawEdge(&edge, BDR_SUNKENOUTER, BF_RECT);
  else if (selected && !disabled)
    pDC->DrawEdge(&edge, BDR_RAISEDINNER, BF_RECT);
  const int x = edge.left + 2, y = edge.top + 2;
  CDC imageDC;
  if (!imageDC.CreateCompatibleDC(pDC)) return;
  HGDIOBJ oldImage = ::SelectObject(imageDC.m_hDC, hbm);
  // Monochrome images (check marks, the radio dot) draw black in the menu text colour.
  const COLORREF oldText = pDC->SetTextColor(m_clrMenuText), oldBk = pDC->SetBkColor(m_clrMenu);
  CDC maskDC;
  CBitmap mask;
  const bool needMask = disabled || (checked && !selected);
  const bool haveMask = needMask && CreateMonoMask(&imageDC, nImage, maskDC, mask);
  if (disabled) {
    if (haveMask) DrawDisabledImage(pDC, x, y, maskDC);
  } else {
    pDC->BitBlt(x, y, size.cx, size.cy, &imageDC, nImage * size.cx, 0, SRCCOPY);
    if (checked && !selected && haveMask) DrawCheckedImage(pDC, x, y, maskDC);
  }
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
  ::SelectObject(imageDC.m_hDC, oldImage);
}

HBITMAP SECBmpMenuPlugIn::CheckBitmap() {
  if (!m_checkBitmap.GetSafeHandle()) {
    if (m_bUseOwnDot)
      LoadBitmapWithSysColors(m_checkBitmap, MAKEINTRESOURCEA(IDB_SEC_MENUCHECK));
    else
      m_checkBitmap.Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK)));
  }
  return static_cast<HBITMAP>(m_checkBitmap.GetSafeHandle());
}

// ---- measuring and drawing

void SECBmpMenuPlugIn::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpmis) {
  if (!lpmis || lpmis->CtlType != ODT_MENU || m_foreignIds.count(lpmis->itemID)) return;
  // Only our own records: another component's item data is never read.
  SECBmpMenuItemInfo* record = nullptr;
  for (const auto& [hMenu, info] : m_menuMap)
    if ((record = info->Find(lpmis->itemData))) break;
  if (!record) return;
  CreateMenuFont();
  CWindowDC dc(nullptr);
  CFont* old = m_menuFont.GetSafeHandle() ? dc.SelectObject(&m_menuFont) : nullptr;
  CRect text(0, 0, 0, 0);
  dc.DrawText(record->m_strText, &text, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
  if (old) dc.SelectObject(old);
  const CSize image = m_pBmpMgr->GetImageSize();
  lpmis->itemWidth = static_cast<UINT>(text.Width() + image.cx + 30);
  lpmis->itemHeight = static_cast<UINT>(std::max({static_cast<int>(text.Height()), static_cast<int>(image.cy + 4),
                                                  ::GetSystemMetrics(SM_CYMENU)}));
  m_bHandled = TRUE;
  SetResult(TRUE);
}

void SECBmpMenuPlugIn::OnDrawItem(int, LPDRAWITEMSTRUCT lpdis) {
  if (!lpdis || lpdis->CtlType != ODT_MENU) return;
  const HMENU hMenu = reinterpret_cast<HMENU>(lpdis->hwndItem);
  if (!::IsMenu(hMenu) || m_foreignIds.count(lpdis->itemID)) return;
  SECBmpMenuItemInfo* record = RecordOf(hMenu, lpdis->itemData);
  if (!record) return;
  m_bHandled = TRUE;
  SetResult(TRUE);

  CString label = record->m_strText, accel;
  if (int tab = label.Find('\t'); tab >= 0) {
    accel = label.Mid(tab + 1);
    label = label.Left(tab);
  }
  HBITMAP hbm = nullptr;
  int nImage = 0;
  if (!m_pBmpMgr->GetBitmapInfo(record->m_nID, &hbm, &nImage, TRUE)) {
    hbm = nullptr;
    nImage = 0;
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_CHECKMARKS;
    ::GetMenuItemInfoA(hMenu, record->m_nID, FALSE, &mii);
    if (lpdis->itemState & ODS_CHECKED)
      hbm = mii.hbmpChecked ? mii.hbmpChecked : CheckBitmap();
    else
      hbm = mii.hbmpUnchecked;
  }
  CDC* pDC = CDC::FromHandle(lpdis->hDC);
  const CRect item(lpdis->rcItem);
  DrawItemImage(pDC, item, hbm, nImage, lpdis->itemState);

  const CSize image = m_pBmpMgr->GetImageSize();
  CRect text(item.left + image.cx + 4 + 1, item.top, item.right - 23, item.bottom);
  const bool selected = (lpdis->itemState & ODS_SELECTED) != 0,
             disabled = (lpdis->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  pDC->FillSolidRect(CRect(text.left, text.top, item.right, text.bottom), selected ? m_clrHighlight : m_clrMenu);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  CFont* font = nullptr;
  if (lpdis->itemState & ODS_DEFAULT) {
    CreateBoldMenuFont();
    font = &m_boldMenuFont;
  } else {
    CreateMenuFont();
    font = &m_menuFont;
  }
  CFont* oldFont = font->GetSafeHandle() ? pDC->SelectObject(font) : nullptr;
  const UINT left = DT_SINGLELINE | DT_VCENTER, right = left | DT_RIGHT;
  auto draw = [&](COLORREF colour, const CRect& r) {
    pDC->SetTextColor(colour);
    CRect a = r, b = r;
    pDC->DrawText(label, &a, left);
    if (!accel.IsEmpty()) pDC->DrawText(accel, &b, right);
  };
  if (!disabled) {
    draw(selected ? m_clrHighlightText : m_clrMenuText, text);
  } else if (selected) {
    draw(m_clrMenu, text);
  } else {
    CRect embossed = text;
    embossed.OffsetRect(1, 1);
    draw(m_clrBtnHilite, embossed);
    draw(m_clrGrayText, text);
  }
  if (oldFont) pDC->SelectObject(oldFont);
  pDC->SetBkMode(oldMode);
}

// ---- menu characters, idle time, changes

LRESULT SECBmpMenuPlugIn::OnMenuChar(UINT nChar, UINT, CMenu* pMenu) {
  if (!pMenu || !::IsMenu(pMenu->m_hMenu)) return 0;
  const UINT key = nChar < 0x80 ? static_cast<UINT>(std::tolower(static_cast<int>(nChar))) : nChar;
  const HMENU hMenu = pMenu->m_hMenu;
  std::vector<int> matches;
  int highlighted = -1;
  const int count = ::GetMenuItemCount(hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &mii)) continue;
    if (mii.fState & MFS_HILITE) highlighted = pos;
    if (!(mii.fType & MFT_OWNERDRAW)) continue;
    if (SECBmpMenuItemInfo* record = RecordOf(hMenu, mii.dwItemData); record && record->m_nMnemonic == key)
      matches.push_back(pos);
  }
  if (matches.empty()) return 0;  // default processing
  m_bHandled = TRUE;
  LRESULT result;
  if (matches.size() == 1) {
    result = MAKELRESULT(matches[0], MNC_EXECUTE);
  } else {
    auto next = std::find_if(matches.begin(), matches.end(), [&](int pos) { return pos > highlighted; });
    result = MAKELRESULT(next == matches.end() ? matches[0] : *next, MNC_SELECT);
  }
  SetResult(result);
  return result;
}

LRESULT SECBmpMenuPlugIn::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  DropStaleMenus();
  return 0;  // the host updates its bars as ever
}

void SECBmpMenuPlugIn::OnSysColorChange() {
  LoadColors();
  if (m_hCheckedBrush) {
    ::DeleteObject(m_hCheckedBrush);
    m_hCheckedBrush = nullptr;
  }
  m_checkBitmap.DeleteObject();  // mapped to the old colours
  if (m_pBmpMgr) m_pBmpMgr->ReloadAllBitmaps(TRUE);
}

void SECBmpMenuPlugIn::OnSettingChange(UINT, LPCSTR) {
  OnSysColorChange();
  m_menuFont.DeleteObject();
  m_boldMenuFont.DeleteObject();
  DropStaleMenus();
  // Every converted item once a string and again owner-drawn: the system measures it anew.
  for (auto& [hMenu, info] : m_menuMap) {
    const int count = ::GetMenuItemCount(hMenu);
    for (int pos = 0; pos < count; ++pos) {
      MENUITEMINFOA mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_FTYPE | MIIM_DATA;
      if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW)) continue;
      if (!info->Find(mii.dwItemData)) continue;
      MENUITEMINFOA plain{};
      plain.cbSize = sizeof plain;
      plain.fMask = MIIM_FTYPE | MIIM_STRING;
      plain.fType = mii.fType & ~MFT_OWNERDRAW;
      plain.dwTypeData = const_cast<LPSTR>("");
      ::SetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &plain);
      MENUITEMINFOA od{};
      od.cbSize = sizeof od;
      od.fMask = MIIM_FTYPE | MIIM_DATA;
      od.fType = mii.fType;
      od.dwItemData = mii.dwItemData;
      ::SetMenuItemInfoA(hMenu, static_cast<UINT>(pos), TRUE, &od);
    }
  }
}
