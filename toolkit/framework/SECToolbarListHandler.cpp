#include "SECToolbarListHandler.h"

#include <algorithm>
#include <vector>

#include "SECMenuBar.h"
#include "SECNewToolBar.h"
#include "controls/SECResourceIds.h"
#include "controls/SECToolBarManager.h"

UINT SECToolbarStyleChangingMessage() {
  static const UINT message = ::RegisterWindowMessageA("WM_TOOLBARSTYLECHANGING");
  return message;
}

namespace {
// Registered as the program starts, before any page could send it.
const UINT g_nToolbarStyleChanging = SECToolbarStyleChangingMessage();

CString TitleOf(const CWnd* wnd) {
  CString title;
  wnd->GetWindowText(title);
  return title;
}
}  // namespace

CFrameWnd* SECToolbarListHandler::Frame() const { return m_pManager ? m_pManager->GetFrameWnd() : nullptr; }

void SECToolbarListHandler::Attach(SECToolBarManager* pManager, CWnd* pWnd) {
  m_pManager = pManager;
  m_pWnd = pWnd;
  if (!m_list.m_hWnd) m_list.SubclassDlgItem(IDC_SEC_TOOLBAR_LIST, pWnd);
  m_list.ResetContent();
  if (m_pManager) {
    std::vector<SECCustomToolBar*> bars = m_pManager->GetToolBars();
    for (SECCustomToolBar* bar : bars)
      if (bar->m_hWnd) InsertEntry(bar, (bar->GetStyle() & WS_VISIBLE) != 0);
  }
  if (m_list.GetCount() > 0) m_list.SetCurSel(0);
  ShowSelection();
}

int SECToolbarListHandler::FindEntry(UINT nID) const {
  for (int i = 0; i < m_list.GetCount(); ++i)
    if (static_cast<UINT>(m_list.GetItemData(i)) == nID) return i;
  return -1;
}

int SECToolbarListHandler::InsertEntry(CControlBar* pBar, BOOL bChecked) {
  const UINT id = static_cast<UINT>(pBar->GetDlgCtrlID());
  int at = 0;
  while (at < m_list.GetCount() && static_cast<UINT>(m_list.GetItemData(at)) <= id) ++at;
  at = m_list.InsertString(at, TitleOf(pBar));
  if (at < 0) return at;
  m_list.SetItemData(at, id);
  m_list.SetCheck(at, bChecked ? 1 : 0);
  return at;
}

SECCustomToolBar* SECToolbarListHandler::BarOf(UINT nID) const {
  if (!m_pManager) return nullptr;
  // Among the toolbars only: a framework bar (a dock bar) may share an id with one.
  for (SECCustomToolBar* bar : m_pManager->GetToolBars())
    if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == nID) return bar;
  return nullptr;
}

SECCustomToolBar* SECToolbarListHandler::SelectedBar(int* pIndex) const {
  const int sel = m_list.m_hWnd ? m_list.GetCurSel() : -1;
  if (pIndex) *pIndex = sel;
  return sel < 0 ? nullptr : BarOf(static_cast<UINT>(m_list.GetItemData(sel)));
}

void SECToolbarListHandler::ShowSelection() {
  if (!m_pWnd || !m_pWnd->m_hWnd) return;
  CWnd* edit = m_pWnd->GetDlgItem(IDC_SEC_TOOLBAR_NAME);
  CWnd* label = m_pWnd->GetDlgItem(IDC_SEC_TOOLBAR_NAME_LABEL);
  if (edit) edit->SetWindowText("");
  SECCustomToolBar* bar = SelectedBar();
  const BOOL user = bar && IsUserToolBar(static_cast<UINT>(bar->GetDlgCtrlID()));
  if (bar && edit) edit->SetWindowText(TitleOf(bar));
  if (edit) edit->EnableWindow(user);
  if (label) label->EnableWindow(user);
  CString text;
  text.LoadString(user ? IDS_SEC_DELETE : IDS_SEC_RESET);
  m_pWnd->SetDlgItemText(IDC_SEC_TOOLBAR_RESET, text);
  if (edit) edit->SendMessage(EM_SETMODIFY, FALSE);
}

void SECToolbarListHandler::ShowOrHide() {
  int sel = -1;
  SECCustomToolBar* bar = SelectedBar(&sel);
  CFrameWnd* frame = Frame();
  if (!bar || !frame) return;
  if (bar->IsKindOf(RUNTIME_CLASS(SECMenuBar))) {
    m_list.SetCheck(sel, 1);  // a frame always shows its menu
    return;
  }
  frame->ShowControlBar(bar, m_list.GetCheck(sel) == 1, FALSE);
  frame->RecalcLayout();
}

void SECToolbarListHandler::Rename() {
  if (!m_pWnd || !m_pWnd->m_hWnd) return;
  CWnd* edit = m_pWnd->GetDlgItem(IDC_SEC_TOOLBAR_NAME);
  if (!edit || !edit->IsWindowEnabled() || !edit->SendMessage(EM_GETMODIFY)) return;
  int sel = -1;
  SECCustomToolBar* bar = SelectedBar(&sel);
  if (!bar) return;
  CString name;
  edit->GetWindowText(name);
  if (SECNewToolBar::CutName(name)) edit->SetWindowText(name);
  bar->SetWindowText(name);
  if (bar->IsFloating()) {
    // The floating frame takes its caption from the bar's floating dock bar.
    if (CWnd* dock = bar->GetParent()) dock->SetWindowText(name);
    if (CFrameWnd* floating = bar->GetParentFrame()) floating->SetWindowText(name);
  }
  edit->SendMessage(EM_SETMODIFY, FALSE);
  const DWORD_PTR data = m_list.GetItemData(sel);
  const int check = m_list.GetCheck(sel);
  m_list.DeleteString(static_cast<UINT>(sel));
  const int at = m_list.InsertString(sel, name);
  if (at < 0) return;
  m_list.SetItemData(at, data);
  m_list.SetCheck(at, check);
  m_list.SetCurSel(at);
}

LRESULT SECToolbarListHandler::OnBarNotify(WPARAM wParam, LPARAM lParam) {
  // The manager sends the bar's id as wParam and what happened as lParam.
  const UINT id = static_cast<UINT>(wParam);
  if (!m_list.m_hWnd) return 0;
  switch (static_cast<int>(lParam)) {
    case SECToolBarManager::BarShown:
    case SECToolBarManager::BarHidden: {
      const int entry = FindEntry(id);
      if (entry >= 0) m_list.SetCheck(entry, lParam == SECToolBarManager::BarShown ? 1 : 0);
      break;
    }
    case SECToolBarManager::BarCreated: {
      if (SECCustomToolBar* bar = BarOf(id); bar && FindEntry(id) < 0) InsertEntry(bar, TRUE);
      break;
    }
    case SECToolBarManager::BarDestroyed: {
      const int entry = FindEntry(id);
      if (entry < 0) break;
      const BOOL selected = m_list.GetCurSel() == entry;
      m_list.DeleteString(static_cast<UINT>(entry));
      if (selected) {
        const int count = m_list.GetCount();
        if (count > 0) m_list.SetCurSel(entry < count ? entry : entry - 1);
        ShowSelection();
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

void SECToolbarListHandler::ResetOrDelete() {
  SECCustomToolBar* bar = SelectedBar();
  CFrameWnd* frame = Frame();
  if (!bar || !frame || !m_pManager) return;
  const UINT id = static_cast<UINT>(bar->GetDlgCtrlID());
  if (id < kFirstUserBarID) {
    const UINT* buttons = nullptr;
    int count = 0;
    if (!m_pManager->GetDefaultButtons(id, buttons, count)) return;
    bar->SetButtons(buttons, count);
    CFrameWnd* barFrame = bar->GetParentFrame();
    (barFrame ? barFrame : frame)->RecalcLayout();
    bar->Invalidate();
  } else if (id == kMenuBarID) {
    if (auto* menuBar = dynamic_cast<SECMenuBar*>(bar)) menuBar->ResetMenus();
  } else {
    bar->DestroyWindow();  // the list hears it go
  }
}

BOOL SECToolbarListHandler::NewToolBar() {
  CFrameWnd* frame = Frame();
  if (!m_pManager || !frame) return FALSE;
  // Customising stops while the name is asked for: the frame must not take input then.
  const BOOL customising = m_pManager->IsConfigMode();
  if (customising) m_pManager->ExitConfigMode();
  SECNewToolBar dialog(m_pWnd);
  const INT_PTR result = dialog.DoModal();
  if (customising) m_pManager->EnterConfigMode();
  if (result != IDOK) return FALSE;
  SECCustomToolBar* bar = m_pManager->CreateUserToolBar(dialog.m_strToolBarName);
  if (!bar) return FALSE;
  CPoint at;
  if (CControlBar* standard = frame->GetControlBar(kStandardToolBarID)) {
    CRect rect;
    standard->GetWindowRect(&rect);
    at = CPoint(rect.left + 5, rect.bottom + 5);
  } else {
    CRect client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    at = client.BottomRight() + CPoint(5, 5);
  }
  frame->FloatControlBar(bar, at, CBRS_ALIGN_TOP);
  return TRUE;
}
