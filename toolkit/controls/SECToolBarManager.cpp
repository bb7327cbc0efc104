#include "SECToolBarManager.h"

#include <algorithm>

#include "SECBmpMgr.h"
#include "SECCustomToolBarInfoEx.h"
#include "SECResourceIds.h"
#include "framework/SECDockBar.h"

IMPLEMENT_DYNAMIC(SECToolBarManager, SECControlBarManager)

SECToolBarManager::SECToolBarManager(CFrameWnd* pFrameWnd)
    : SECControlBarManager(pFrameWnd),
      m_pBmpMgr(new SECBmpMgr),  // its own reference; released in the destructor
      m_pOwner(pFrameWnd),
      m_pToolBarClass(RUNTIME_CLASS(SECCustomToolBar)),
      m_hFrameWnd(pFrameWnd ? pFrameWnd->m_hWnd : nullptr) {
  try {
    m_pDrawContext = std::make_unique<SECBtnDrawContext>();
  } catch (CResourceException* e) {
    e->Delete();  // each bar then draws with its own
  }
}

SECToolBarManager::~SECToolBarManager() {
  // Bars that outlive the manager forget it.
  for (SECCustomToolBar* bar : GetToolBars())
    if (bar->m_pManager == this) bar->m_pManager = nullptr;
  if (m_pBmpMgr) m_pBmpMgr->Release();
}

SECControlBarInfoEx* SECToolBarManager::CreateControlBarInfoEx(SECControlBarInfo*) {
  return new SECCustomToolBarInfoEx;
}

CControlBar* SECToolBarManager::DynCreateControlBar(SECControlBarInfo* pInfo) {
  if (!pInfo || !m_pFrameWnd) return nullptr;
  // Only toolbars are the manager's to make; a record of another class is not.
  if (!pInfo->m_strClassName.IsEmpty()) {
    CRuntimeClass* cls = CRuntimeClass::FromName(pInfo->m_strClassName);
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(SECCustomToolBar))) return nullptr;
  }
  CObject* object = m_pToolBarClass ? m_pToolBarClass->CreateObject() : nullptr;
  auto* bar = dynamic_cast<SECCustomToolBar*>(object);
  if (!bar) {
    delete object;
    return nullptr;
  }
  bar->m_pManager = this;
  bar->SetBitmapManager(m_pBmpMgr);
  if (!bar->CreateEx(m_bCoolLook ? CBRS_EX_COOL | CBRS_EX_GRIPPER : 0, m_pFrameWnd,
                     WS_CHILD | CBRS_TOP | CBRS_SIZE_DYNAMIC, pInfo->m_nBarID)) {
    delete bar;
    return nullptr;
  }
  bar->m_bAutoDelete = TRUE;
  return bar;
}

std::vector<SECCustomToolBar*> SECToolBarManager::GetToolBars() const {
  std::vector<SECCustomToolBar*> bars;
  // The frame may be gone before its manager: then there are no bars to reach.
  if (!m_pFrameWnd || !m_hFrameWnd || !::IsWindow(m_hFrameWnd) ||
      CWnd::FromHandlePermanent(m_hFrameWnd) != m_pFrameWnd)
    return bars;
  POSITION pos = m_pFrameWnd->m_listControlBars.GetHeadPosition();
  while (pos) {
    auto* bar = static_cast<CControlBar*>(m_pFrameWnd->m_listControlBars.GetNext(pos));
    if (bar && bar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar))) bars.push_back(static_cast<SECCustomToolBar*>(bar));
  }
  return bars;
}

// ---- settings

void SECToolBarManager::EnableToolTips(BOOL bEnable) {
  if (!bEnable == !m_bToolTips) return;
  m_bToolTips = bEnable;
  for (SECCustomToolBar* bar : GetToolBars()) {
    const DWORD style = bar->GetBarStyle();
    bar->SetBarStyle(bEnable ? style | CBRS_TOOLTIPS : style & ~CBRS_TOOLTIPS);
  }
}

void SECToolBarManager::EnableCoolLook(BOOL bEnable, DWORD dwBits) {
  if (!bEnable == !m_bCoolLook) return;
  m_bCoolLook = bEnable;
  for (SECCustomToolBar* bar : GetToolBars()) {
    const DWORD style = bar->GetExBarStyle();
    bar->SetExBarStyle(bEnable ? style | dwBits : style & ~dwBits, FALSE);
    bar->m_bFloatDirty = bar->m_bHorzDirty = bar->m_bVertDirty = TRUE;
    if ((dwBits & CBRS_EX_COOL) && bar->m_hWnd) bar->Invalidate();
  }
  if (m_pFrameWnd) m_pFrameWnd->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
}

void SECToolBarManager::EnableLargeButtons(BOOL bEnable) {
  if (!bEnable == !m_bLargeButtons) return;
  m_bLargeButtons = bEnable;
  Update();
}

void SECToolBarManager::Update() {
  if (m_pBmpMgr && m_pBmpMgr->m_bSmallImages == m_bLargeButtons) {
    m_pBmpMgr->m_bSmallImages = !m_bLargeButtons;
    m_pBmpMgr->ReloadAllBitmaps(TRUE);
  }
  for (SECCustomToolBar* bar : GetToolBars()) {
    const CSize image = bar->GetBitmapManager() ? bar->GetBitmapManager()->GetImageSize() : CSize(16, 15);
    bar->SetButtonSize(image.cx + 7, image.cy + 7);
    bar->m_bFloatDirty = bar->m_bHorzDirty = bar->m_bVertDirty = TRUE;
    if (bar->m_hWnd) bar->Invalidate();
  }
  if (m_pFrameWnd && m_pFrameWnd->m_hWnd) m_pFrameWnd->RecalcLayout();
}

// ---- customise mode

void SECToolBarManager::EnterConfigMode() {
  if (m_bConfigMode || !m_pFrameWnd || !m_pFrameWnd->m_hWnd) return;
  m_bConfigMode = TRUE;
  m_pFrameWnd->EnableWindow(TRUE);
  // Every enabled child but the dock bars (which hold the toolbars) waits.
  for (HWND child = ::GetWindow(m_pFrameWnd->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CWnd* wnd = CWnd::FromHandlePermanent(child);
    if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CDockBar))) continue;
    if (!::IsWindowEnabled(child)) continue;
    ::EnableWindow(child, FALSE);
    m_disabled.push_back(child);
  }
}

void SECToolBarManager::ExitConfigMode() {
  if (!m_bConfigMode) return;
  m_bConfigMode = FALSE;
  if (m_pFrameWnd && m_pFrameWnd->m_hWnd) m_pFrameWnd->EnableWindow(FALSE);
  for (HWND h : m_disabled)
    if (::IsWindow(h)) ::EnableWindow(h, TRUE);
  m_disabled.clear();
}

void SECToolBarManager::SetConfigFocus(CWnd* pWnd) {
  if (pWnd == m_pConfigFocus) return;
  m_pConfigFocus = pWnd;
  for (SECCustomToolBar* bar : GetToolBars()) bar->SetConfigFocus(pWnd);
}

// ---- listeners

UINT SECToolBarManager::BarNotifyMessage() {
  static const UINT message = ::RegisterWindowMessageA("WM_BARNOTIFY");
  return message;
}

void SECToolBarManager::AddListener(CWnd* pWnd) {
  if (!pWnd || !pWnd->m_hWnd) return;
  if (std::find(m_listeners.begin(), m_listeners.end(), pWnd->m_hWnd) == m_listeners.end())
    m_listeners.push_back(pWnd->m_hWnd);
}

void SECToolBarManager::RemoveListener(CWnd* pWnd) {
  if (!pWnd) return;
  m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), pWnd->m_hWnd), m_listeners.end());
}

void SECToolBarManager::NotifyListeners(UINT nBarID, int nCode) {
  // A listener may leave (or go) while it is told: work from a copy.
  const std::vector<HWND> listeners = m_listeners;
  for (HWND h : listeners)
    if (::IsWindow(h)) ::SendMessageA(h, BarNotifyMessage(), nBarID, nCode);
}

// ---- user toolbars and default buttons

SECCustomToolBar* SECToolBarManager::CreateUserToolBar(LPCSTR lpszTitle) {
  if (!m_pFrameWnd || !m_pFrameWnd->m_hWnd) return nullptr;
  const std::vector<SECCustomToolBar*> bars = GetToolBars();
  UINT id = kFirstUserBarID;
  auto used = [&](UINT candidate) {
    return std::any_of(bars.begin(), bars.end(), [&](SECCustomToolBar* b) {
      return b->m_hWnd && static_cast<UINT>(b->GetDlgCtrlID()) == candidate;
    });
  };
  while (id <= kLastUserBarID && used(id)) ++id;
  if (id > kLastUserBarID) return nullptr;

  CObject* object = m_pToolBarClass ? m_pToolBarClass->CreateObject() : nullptr;
  auto* bar = dynamic_cast<SECCustomToolBar*>(object);
  if (!bar) {
    delete object;
    return nullptr;
  }
  CString title = lpszTitle ? CString(lpszTitle) : CString();
  if (!lpszTitle) {
    CString format;
    format.LoadString(IDS_SEC_TOOLBAR_TITLE);
    title.Format(format, static_cast<int>(id - 0xE81F));
  }
  bar->m_pManager = this;
  bar->SetBitmapManager(m_pBmpMgr);
  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC;
  if (m_bFlyBy) style |= CBRS_FLYBY;
  if (m_bToolTips) style |= CBRS_TOOLTIPS;
  if (!bar->CreateEx(m_bCoolLook ? CBRS_EX_COOL | CBRS_EX_GRIPPER : 0, m_pFrameWnd, style, id, title)) {
    delete bar;
    return nullptr;
  }
  if (m_pOwner) bar->SetOwner(m_pOwner);
  const CSize image = m_pBmpMgr ? m_pBmpMgr->GetImageSize() : CSize(16, 15);
  bar->SetButtonSize(image.cx + 7, image.cy + 7);
  bar->SetConfigFocus(m_pConfigFocus);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  bar->m_bAutoDelete = TRUE;
  return bar;
}

void SECToolBarManager::SetDefaultButtons(UINT nBarID, const UINT* pButtons, int nCount) {
  if (!pButtons || nCount < 0) nCount = 0;
  m_defaultButtons[nBarID].ids.assign(pButtons, pButtons + nCount);
}

BOOL SECToolBarManager::GetDefaultButtons(UINT nBarID, const UINT*& pButtons, int& nCount) const {
  auto it = m_defaultButtons.find(nBarID);
  if (it == m_defaultButtons.end()) return FALSE;
  pButtons = it->second.ids.data();
  nCount = static_cast<int>(it->second.ids.size());
  return TRUE;
}

void SECToolBarManager::BroadcastButtonState(UINT nID, int nCode, const SECBtnStateChange& change) {
  for (SECCustomToolBar* bar : GetToolBars())
    for (int i = 0; i < bar->GetButtonCount(); ++i)
      if (bar->GetButton(i)->m_nID == nID) bar->GetButton(i)->ApplyStateChange(nCode, change);
}
