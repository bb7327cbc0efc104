#include "CPropertySheet.h"

#include <algorithm>

#include "afxwin.h"
#include "rc/ResourceRegistry.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

BEGIN_MESSAGE_MAP(CPropertySheet, CDialog)
  ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
END_MESSAGE_MAP()

namespace {
constexpr int kMargin = 7;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

// Skips a name-or-ordinal field of a dialog template.
const WORD* SkipField(const WORD* p) {
  if (*p == 0) return p + 1;
  if (*p == 0xFFFF) return p + 2;
  while (*p) ++p;
  return p + 1;
}

// The caption stored in a dialog template (either layout).
CString TemplateCaption(LPCDLGTEMPLATE tmpl) {
  if (!tmpl) return CString();
  auto* words = reinterpret_cast<const WORD*>(tmpl);
  const WORD* p = words[1] == 0xFFFF ? words + 13 : words + 9;  // extended or classic header
  p = SkipField(SkipField(p));                                   // menu, class
  size_t n = 0;
  while (p[n]) ++n;
  return CString(plat::rc::Utf16ToUtf8(reinterpret_cast<const uint16_t*>(p), n).c_str());
}

void PushDword(std::vector<WORD>& out, DWORD v) {
  out.push_back(LOWORD(v));
  out.push_back(HIWORD(v));
}

// The size of a dialog template, in dialog units (either layout).
SIZE TemplateSize(LPCDLGTEMPLATE tmpl) {
  if (!tmpl) return SIZE{0, 0};
  auto* words = reinterpret_cast<const WORD*>(tmpl);
  const WORD* cx = words[1] == 0xFFFF ? words + 11 : words + 7;
  return SIZE{static_cast<short>(cx[0]), static_cast<short>(cx[1])};
}
}  // namespace

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate), m_nIDCaption(nIDCaption) {
  m_psp.dwSize = sizeof m_psp;
  m_psp.pszTemplate = m_lpszTemplateName;
}

HICON CPropertyPage::TabIcon() const {
  if (m_psp.dwFlags & PSP_USEHICON) return m_psp.hIcon;
  if (m_psp.dwFlags & PSP_USEICONID) {
    HINSTANCE inst = m_psp.hInstance ? m_psp.hInstance : AfxGetResourceHandle();
    return ::LoadIconA(inst, m_psp.pszIcon);
  }
  return nullptr;
}

// Read when the tab is made, since the resources may be chosen after the page is built.
CString CPropertyPage::TabText() const {
  if (!m_strCaption.IsEmpty()) return m_strCaption;
  CString text;
  if (m_nIDCaption) AfxLoadString(m_nIDCaption, text);
  else text = TemplateCaption(plat::afx::FindDialogTemplate(AfxGetResourceHandle(), m_lpszTemplateName));
  return text;
}

void CPropertyPage::SetModified(BOOL bChanged) {
  m_bModified = bChanged;
  if (m_pSheet && m_pSheet->m_apply.m_hWnd && bChanged) m_pSheet->m_apply.EnableWindow(TRUE);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption), m_nActive(static_cast<int>(iSelectPage)) {
  m_pParentWnd = pParentWnd;
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_nIDCaption(nIDCaption), m_nActive(static_cast<int>(iSelectPage)) {
  m_pParentWnd = pParentWnd;
}

// Loaded when the sheet is made, since the resources may be chosen after it is built.
CString CPropertySheet::Caption() const {
  if (!m_strCaption.IsEmpty() || !m_nIDCaption) return m_strCaption;
  CString text;
  AfxLoadString(m_nIDCaption, text);  // from the resources in use, as the tab texts
  return text;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  if (!pPage) return;
  pPage->m_pSheet = this;
  m_pages.push_back(pPage);
  if (m_tab.m_hWnd) InsertTab(GetPageCount() - 1);
}

void CPropertySheet::InsertTab(int nPage) {
  CPropertyPage* page = m_pages[static_cast<size_t>(nPage)];
  CString text = page->TabText();
  TCITEM item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
  if (HICON icon = page->TabIcon()) {
    item.iImage = AddTabImage(icon);
    if (item.iImage >= 0) item.mask |= TCIF_IMAGE;
  }
  m_tab.InsertItem(nPage, &item);
}

// The icon drawn at the small icon size over a key colour, which the list then leaves out.
int CPropertySheet::AddTabImage(HICON icon) {
  constexpr int kSize = 16;
  constexpr COLORREF kKey = RGB(255, 0, 255);
  if (!m_tabImages) {
    m_tabImages.reset(ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 4, 4));
    if (!m_tabImages) return -1;
    m_tab.SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_tabImages.get()));
  }
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kSize, kSize);
  ::ReleaseDC(nullptr, screen);
  int index = -1;
  if (dc && bitmap) {
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all{0, 0, kSize, kSize};
    HBRUSH key = ::CreateSolidBrush(kKey);
    ::FillRect(dc, &all, key);
    ::DeleteObject(key);
    ::DrawIconEx(dc, 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL);
    ::SelectObject(dc, old);
    index = ImageList_AddMasked(m_tabImages.get(), bitmap, kKey);
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (dc) ::DeleteDC(dc);
  return index;
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
  return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const {
  for (int i = 0; i < GetPageCount(); ++i)
    if (m_pages[static_cast<size_t>(i)] == pPage) return i;
  return -1;
}

// The sheet's own template has no controls: the tab and the buttons are made when it opens.
void CPropertySheet::BuildTemplate(DWORD style, DWORD exStyle) {
  m_template.clear();
  PushDword(m_template, style);
  PushDword(m_template, exStyle);
  // No menu, class or caption: the caption is set as text when the sheet opens.
  for (WORD w : {WORD{0}, WORD{0}, WORD{0}, WORD{100}, WORD{100}, WORD{0}, WORD{0}, WORD{0}}) m_template.push_back(w);
}

int CPropertySheet::DoModal() {
  if (m_pages.empty()) return -1;
  m_bModeless = FALSE;
  BuildTemplate(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0);
  m_lpDialogTemplate = reinterpret_cast<LPCDLGTEMPLATE>(m_template.data());
  int result = CDialog::DoModal();
  m_lpDialogTemplate = nullptr;
  return result;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
  if (m_pages.empty() || m_hWnd) return FALSE;
  if (dwStyle == static_cast<DWORD>(-1)) dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  m_bModeless = TRUE;
  BuildTemplate(dwStyle, dwExStyle);
  return CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(m_template.data()), pParentWnd);
}

BOOL CPropertySheet::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(Caption());
  bool made = m_tab.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, CRect(0, 0, 10, 10), this, AFX_IDC_TAB_CONTROL);
  if (made && !m_bModeless)
    made = m_ok.Create("OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(0, 0, 1, 1), this, IDOK) &&
           m_cancel.Create("Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 1, 1), this, IDCANCEL) &&
           m_apply.Create("&Apply", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED, CRect(0, 0, 1, 1), this, ID_APPLY_NOW);
  if (!made) {
    EndDialog(-1);
    return FALSE;
  }
  m_tabImages.reset();  // the tab of an earlier opening showed the old list
  for (int i = 0; i < GetPageCount(); ++i) InsertTab(i);
  // The sheet is sized once for its largest page, so pages made later fit the tab as the
  // sheet's owner may have sized it.
  m_pageSize = CSize(0, 0);
  for (CPropertyPage* page : m_pages) {
    SIZE units = TemplateSize(plat::afx::FindDialogTemplate(AfxGetResourceHandle(), page->m_lpszTemplateName));
    RECT r{0, 0, units.cx, units.cy};
    ::MapDialogRect(m_hWnd, &r);
    m_pageSize.cx = std::max<int>(m_pageSize.cx, r.right);
    m_pageSize.cy = std::max<int>(m_pageSize.cy, r.bottom);
  }
  Layout();
  int first = GetPage(m_nActive) ? m_nActive : 0;
  m_nActive = -1;
  if (!Activate(first) && !Activate(0)) {
    EndDialog(-1);
    return FALSE;
  }
  return TRUE;
}

BOOL CPropertySheet::CreatePage(CPropertyPage* page) {
  if (page->m_hWnd) return TRUE;
  if (!page->Create(page->m_lpszTemplateName, this)) return FALSE;
  // Page templates are usually drawn disabled and with a caption (the tab's text): in the
  // sheet the page is a plain enabled child.
  DWORD style = page->GetStyle();
  if (style & (WS_CAPTION | WS_DISABLED)) {
    ::SetWindowLongA(page->m_hWnd, GWL_STYLE, static_cast<LONG>(style & ~(WS_CAPTION | WS_SYSMENU | WS_DISABLED)));
    page->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  // The page goes into the tab's display area as the tab is now, above the tab control,
  // which would otherwise take its clicks and paint over it.
  CRect display;
  m_tab.GetWindowRect(&display);
  ScreenToClient(&display);
  m_tab.AdjustRect(FALSE, &display);
  page->SetWindowPos(&CWnd::wndTop, display.left, display.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  return TRUE;
}

void CPropertySheet::Layout() {
  CRect tabRect(0, 0, m_pageSize.cx, m_pageSize.cy);
  m_tab.AdjustRect(TRUE, &tabRect);
  tabRect.OffsetRect(kMargin - tabRect.left, kMargin - tabRect.top);
  m_tab.MoveWindow(&tabRect);
  CRect display = tabRect;
  m_tab.AdjustRect(FALSE, &display);
  for (CPropertyPage* page : m_pages)
    if (page->m_hWnd) page->SetWindowPos(nullptr, display.left, display.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  int bottom = tabRect.bottom + kMargin;
  if (!m_bModeless) {
    int x = tabRect.right;
    for (CButton* b : {&m_apply, &m_cancel, &m_ok}) {
      x -= kButtonWidth;
      b->MoveWindow(x, bottom, kButtonWidth, kButtonHeight);
      x -= kMargin - 1;
    }
    bottom += kButtonHeight + kMargin;
  }
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  int cx = tabRect.right + kMargin + window.Width() - client.Width();
  int cy = bottom + window.Height() - client.Height();
  SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CPropertySheet::Activate(int nPage) {
  CPropertyPage* next = GetPage(nPage);
  if (!next) return FALSE;
  if (nPage == m_nActive) return TRUE;
  CPropertyPage* current = GetPage(m_nActive);
  if (current && !current->OnKillActive()) return FALSE;
  if (!CreatePage(next) || !next->OnSetActive()) {
    if (current) current->OnSetActive();  // the old page stays in front
    return FALSE;
  }
  if (current) current->ShowWindow(SW_HIDE);
  m_nActive = nPage;
  m_tab.SetCurSel(nPage);
  next->ShowWindow(SW_SHOW);
  return TRUE;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (!GetPage(nPage)) return FALSE;
  if (!m_hWnd) {
    m_nActive = nPage;
    return TRUE;
  }
  return Activate(nPage);
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (hdr && hdr->hwndFrom == m_tab.m_hWnd) {
    if (hdr->code == TCN_SELCHANGING) {
      // The front page may refuse to go (its data did not validate).
      CPropertyPage* current = GetActivePage();
      if (pResult) *pResult = current && !current->OnKillActive();
      return TRUE;
    }
    if (hdr->code == TCN_SELCHANGE) {
      int wanted = m_tab.GetCurSel();
      int old = m_nActive;
      CPropertyPage* next = GetPage(wanted);
      // The old page already agreed to go; it is only hidden here.
      if (next && CreatePage(next) && next->OnSetActive()) {
        if (CPropertyPage* current = GetPage(old)) current->ShowWindow(SW_HIDE);
        m_nActive = wanted;
        next->ShowWindow(SW_SHOW);
      } else {
        m_tab.SetCurSel(old);
      }
      if (pResult) *pResult = 0;
      return TRUE;
    }
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CPropertySheet::ApplyAll() {
  CPropertyPage* current = GetActivePage();
  if (current && !current->OnKillActive()) return FALSE;
  for (CPropertyPage* page : m_pages) {
    if (!page->m_hWnd) continue;
    if (!page->OnApply()) {
      Activate(GetPageIndex(page));
      return FALSE;
    }
    page->m_bModified = FALSE;
  }
  return TRUE;
}

void CPropertySheet::OnOK() {
  if (ApplyAll()) EndDialog(IDOK);
}

void CPropertySheet::OnApplyNow() {
  if (!ApplyAll()) return;
  if (CPropertyPage* current = GetActivePage()) current->OnSetActive();  // the front page goes on being edited
  m_apply.EnableWindow(FALSE);
}

void CPropertySheet::OnCancel() {
  for (CPropertyPage* page : m_pages)
    if (page->m_hWnd) page->OnCancel();
  EndDialog(IDCANCEL);
}
