#include "SECDockState.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>

#include "SECControlBarInfo.h"
#include "SECControlBarManager.h"
#include "SECDialogBar.h"
#include "SECDockBar.h"
#include "SECFrameBar.h"
#include "SECFrameWnd.h"
#include "SECMiniDockFrameWnd.h"
#include "SECMDIFrameWnd.h"
#include "SECControlBarMDIChildWnd.h"
#include "SECPersistentTreeNode.h"
#include "controls/SECControlBar.h"

IMPLEMENT_SERIAL(SECDockState, CDockState, 0)

SECDockState::SECDockState(SECControlBarManager* pOwner, CPtrList* pCreatedBars)
    : m_pOwner(pOwner), m_pCreatedBars(pCreatedBars) {}

SECDockState::~SECDockState() { Clear(); }

void SECDockState::Clear() {
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) delete GetBarInfo(i);
  m_arrBarInfo.RemoveAll();
}

SECControlBarInfo* SECDockState::CreateBarInfo(SECControlBarManager* pOwner) {
  auto* info = new SECControlBarInfo;
  info->m_pOwner = pOwner;
  return info;
}

SECControlBarInfo* SECDockState::AddRecord() {
  std::unique_ptr<SECControlBarInfo> info(CreateBarInfo(m_pOwner));
  if (!info) return nullptr;
  m_arrBarInfo.Add(info.get());
  return info.release();
}

// ---- profile

void SECDockState::SaveState(LPCSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  int written = 0;
  for (INT_PTR i = 0; i < GetBarCount(); ++i)
    if (GetBarInfo(i)->SaveState(lpszProfileName, written)) ++written;
  CString summary;
  summary.Format("%s-Summary", lpszProfileName ? lpszProfileName : "");
  app->WriteProfileInt(summary, "Bars", written);
  const CSize screen = GetScreenSize();
  app->WriteProfileInt(summary, "ScreenCX", screen.cx);
  app->WriteProfileInt(summary, "ScreenCY", screen.cy);
}

void SECDockState::LoadState(LPCSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  CString summary;
  summary.Format("%s-Summary", lpszProfileName ? lpszProfileName : "");
  const int bars = static_cast<int>(app->GetProfileInt(summary, "Bars", 0));
  if (bars < 0 || bars > kMaxBars) return;  // damaged: nothing to restore
  const CSize screen(static_cast<int>(app->GetProfileInt(summary, "ScreenCX", 0)),
                     static_cast<int>(app->GetProfileInt(summary, "ScreenCY", 0)));
  SetScreenSize(screen);
  for (int i = 0; i < bars; ++i)
    if (SECControlBarInfo* info = AddRecord()) info->LoadState(lpszProfileName, i, this);
}

// ---- tree

BOOL SECDockState::SaveToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pParent) {
  if (!pFactory || !pParent) return FALSE;
  // A parent that holds a "DockState" already keeps it: nothing is written.
  SECPersistentTreeNode* node = pFactory->CreateNode("DockState", pParent);
  if (!node) return FALSE;
  int written = 0;
  for (INT_PTR i = 0; i < GetBarCount(); ++i)
    if (GetBarInfo(i)->SaveToTree(pFactory, node, written)) ++written;
  node->SetIntValue("Bars", written);
  const CSize screen = GetScreenSize();
  node->SetIntValue("ScreenCX", screen.cx);
  node->SetIntValue("ScreenCY", screen.cy);
  return TRUE;
}

BOOL SECDockState::LoadFromTree(SECPersistentTreeNode* pRoot) {
  SECPersistentTreeNode* node = pRoot ? pRoot->FindChild("DockState") : nullptr;
  if (!node) return FALSE;
  int bars = 0;
  node->GetIntValue("Bars", bars, 0);
  if (bars < 0 || bars > kMaxBars) return TRUE;  // damaged: nothing to restore
  LONG cx = 0, cy = 0;
  node->GetLongValue("ScreenCX", cx, 0);
  node->GetLongValue("ScreenCY", cy, 0);
  SetScreenSize(CSize(cx, cy));
  // The children present, by index: the lookups go no further than they.
  std::map<int, SECPersistentTreeNode*> byIndex;
  for (SECPersistentTreeNode* child : node->GetChildren()) {
    const CString& name = child->GetName();
    if (name.GetLength() < 5 || name.Left(4) != "Bar-") continue;
    CString digits = name.Mid(4);
    CString canonical;
    const int index = std::atoi(digits);
    canonical.Format("%d", index);
    if (canonical == digits && index >= 0 && index < bars) byIndex.emplace(index, child);
  }
  for (const auto& [index, child] : byIndex)
    if (SECControlBarInfo* info = AddRecord()) info->LoadFromTree(child, this);
  return TRUE;
}

// ---- archive

void SECDockState::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_dwVersion;
    if (m_dwVersion > 1) {
      const CSize screen = GetScreenSize();
      ar << static_cast<LONG>(screen.cx) << static_cast<LONG>(screen.cy);
    }
    const INT_PTR count = std::min<INT_PTR>(GetBarCount(), 0xFFFF);
    ar << static_cast<WORD>(count);
    for (INT_PTR i = 0; i < count; ++i) GetBarInfo(i)->Serialize(ar, this);
    return;
  }
  Clear();
  try {
    ar >> m_dwVersion;
    if (m_dwVersion > 1) {
      LONG cx = 0, cy = 0;
      ar >> cx >> cy;
      SetScreenSize(CSize(cx, cy));
    }
    WORD count = 0;
    ar >> count;
    for (WORD i = 0; i < count; ++i)
      if (SECControlBarInfo* info = AddRecord()) info->Serialize(ar, this);
  } catch (...) {
    Clear();
    m_dwVersion = 2;
    throw;
  }
  m_dwVersion = 2;
}

// ---- ids

void SECDockState::PurgeBarIDs() {
  const INT_PTR n = GetBarCount();
  for (INT_PTR a = 0; a < n; ++a) {
    SECControlBarInfo* infoA = GetBarInfo(a);
    for (INT_PTR b = 0; b < n; ++b) {
      if (a == b) continue;
      SECControlBarInfo* infoB = GetBarInfo(b);
      if (infoB->m_nBarID == infoA->m_uMRUDockID) continue;
      const UINT holder = infoA->m_nBarID + 0x10000;
      for (INT_PTR i = 0; i + 1 < infoB->m_arrBarID.GetSize(); ++i)
        if (BarIDAt(infoB->m_arrBarID, i) == holder) infoB->m_arrBarID[i] = BarIDEntry(0);
    }
  }
  for (INT_PTR r = 0; r < n; ++r) {
    CPtrArray& ids = GetBarInfo(r)->m_arrBarID;
    for (INT_PTR i = 0; i + 1 < ids.GetSize(); ++i) {
      const UINT id = BarIDAt(ids, i);
      if (id == 0) continue;
      for (INT_PTR j = i + 1; j < ids.GetSize(); ++j)
        if (BarIDAt(ids, j) == id) ids[j] = BarIDEntry(0);
    }
    while (ids.GetSize() > 0 && BarIDAt(ids, ids.GetSize() - 1) == 0) ids.RemoveAt(ids.GetSize() - 1);
    if (ids.GetSize() > 0) ids.Add(BarIDEntry(0));
  }
}

// ---- frames

void SECDockState::TakeOwnerFrom(CFrameWnd* pFrame) {
  if (m_pOwner) return;
  if (auto* frame = dynamic_cast<SECFrameWnd*>(pFrame))
    m_pOwner = frame->GetManager();
  else if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(pFrame))
    m_pOwner = mdi->GetManager();
}

BOOL SECDockState::GetState(CFrameWnd* pFrame) {
  if (!pFrame) return FALSE;
  Clear();
  TakeOwnerFrom(pFrame);
  for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
    // Bars living in a floating frame bar are that frame's business.
    if (dynamic_cast<SECMiniDockFrameWnd*>(bar->GetParentFrame())) {
      CWnd* probe = bar;
      if (bar->IsDockBar()) probe = bar->m_hWnd ? CWnd::FromHandlePermanent(::GetTopWindow(bar->m_hWnd)) : nullptr;
      if (dynamic_cast<SECFrameBar*>(probe)) continue;
    }
    auto* dock = dynamic_cast<SECDockBar*>(bar);
    auto* control = dynamic_cast<SECControlBar*>(bar);
    if (!dock && !control) continue;
    SECControlBarInfo* info = AddRecord();
    if (!info) continue;
    if (dock)
      dock->GetBarInfoEx(info);
    else
      control->GetBarInfoEx(info);
  }
  return TRUE;
}

BOOL SECDockState::SetState(CFrameWnd* pFrame) {
  if (!pFrame) return FALSE;
  TakeOwnerFrom(pFrame);
  auto* mdi = dynamic_cast<SECMDIFrameWnd*>(pFrame);
  CreateBars(pFrame, mdi != nullptr);
  CDockBar::BeginRestore();
  for (INT_PTR i = 0; i < GetBarCount(); ++i) {
    SECControlBarInfo* info = GetBarInfo(i);
    // A remembered dock bar the frame does not have is no place to go back to.
    if (info->m_uMRUDockID != 0 && !dynamic_cast<CDockBar*>(pFrame->GetControlBar(info->m_uMRUDockID)))
      info->m_uMRUDockID = 0;
    if (auto* bar = dynamic_cast<SECControlBar*>(info->m_pBar))
      bar->SetBarInfoEx(info, pFrame);
    else if (info->m_pBar)
      info->m_pBar->SetBarInfo(info, pFrame);
  }
  CDockBar::EndRestore();
  PlaceFloatingFrames();
  pFrame->RecalcLayout(TRUE);
  if (mdi) {
    RestoreMDIChildPlacements(pFrame);
    pFrame->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
  }
  return TRUE;
}

void SECDockState::CreateBars(CFrameWnd* pFrame, BOOL bMDIFrame) {
  for (INT_PTR i = 0; i < GetBarCount();) {
    SECControlBarInfo* info = GetBarInfo(i);
    CControlBar* bar = nullptr;
    if (info->m_bFloating) {
      const DWORD style = info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT;
      // An MDI child's bar comes back in an MDI child of the library's MDI frame; from
      // another frame kind it floats as any bar.
      auto* mdi = bMDIFrame ? dynamic_cast<SECMDIFrameWnd*>(pFrame) : nullptr;
      if (info->m_bMDIChild && mdi) {
        CMDIChildWnd* child = nullptr;
        try {
          child = mdi->CreateControlBarMDIChild(style, nullptr);
        } catch (CException* e) {
          e->Delete();
        }
        if (auto* host = dynamic_cast<SECControlBarMDIChildWnd*>(child)) {
          bar = &host->m_wndDockBar;
          bar->m_pDockBar = nullptr;
        }
      } else {
        CMiniDockFrameWnd* floating = nullptr;
        try {
          floating = pFrame->CreateFloatingFrame(style);
        } catch (CException* e) {
          e->Delete();
        }
        if (floating) {
          bar = &floating->m_wndDockBar;
          bar->m_pDockBar = nullptr;
        }
      }
    } else if (info->m_nBarID != 0) {
      // Id 0 names no bar (a record a damaged profile only counted): nothing is made for it.
      bar = pFrame->GetControlBar(info->m_nBarID);
      if (!bar && m_pOwner) bar = m_pOwner->DynCreateControlBar(info);
      if (!bar) bar = dynamic_cast<CControlBar*>(CreateBarFromClass(info->m_strClassName, pFrame, info));
    }
    if (!bar) {
      m_arrBarInfo.RemoveAt(i);
      delete info;
      continue;
    }
    info->m_pBar = bar;
    ++i;
  }
}

CRuntimeClass* SECDockState::FindRuntimeClass(LPCSTR lpszClassName) {
  if (!lpszClassName || !*lpszClassName) return nullptr;
  return CRuntimeClass::FromName(lpszClassName);
}

CWnd* SECDockState::CreateBarFromClass(LPCSTR lpszClassName, CFrameWnd* pFrame, SECControlBarInfo* pInfo) {
  CRuntimeClass* cls = FindRuntimeClass(lpszClassName);
  // Only bars are made from a saved name: any other class could be anything.
  if (!cls || !cls->m_pfnCreateObject || !cls->IsDerivedFrom(RUNTIME_CLASS(CControlBar)) || !pFrame || !pInfo)
    return nullptr;
  std::unique_ptr<CObject> object(cls->CreateObject());
  auto* bar = dynamic_cast<CControlBar*>(object.get());
  if (!bar) return nullptr;
  const DWORD style = WS_CHILD | WS_VISIBLE | (pInfo->m_dwStyle & CBRS_ALL);
  BOOL made = FALSE;
  if (auto* dialog = dynamic_cast<SECDialogBar*>(bar))
    made = dialog->Create(pFrame, MAKEINTRESOURCE(pInfo->m_nResourceID & 0xFFFF), style, pInfo->m_dwExStyle,
                          pInfo->m_nBarID);
  else if (auto* control = dynamic_cast<SECControlBar*>(bar))
    made = control->Create(pFrame, pInfo->m_strWindowName, style, pInfo->m_dwExStyle, pInfo->m_nBarID, nullptr);
  if (!made) return nullptr;
  object.release();
  if (m_pCreatedBars) m_pCreatedBars->AddTail(static_cast<CObject*>(bar));
  bar->SetWindowText(pInfo->m_strWindowName);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  return bar;
}

void SECDockState::PlaceFloatingFrames() {
  for (INT_PTR i = 0; i < GetBarCount(); ++i) {
    SECControlBarInfo* info = GetBarInfo(i);
    CControlBar* bar = info->m_pBar;
    if (!bar) continue;
    if (auto* control = dynamic_cast<SECControlBar*>(bar)) control->SetExBarStyle(info->m_dwExStyle, FALSE);
    if (!info->m_bFloating) continue;
    CFrameWnd* frame = bar->GetParentFrame();
    if (!frame) continue;
    // The caption stays on the screen whatever screen the state was saved on; a place
    // far off any screen comes near it first, so that no coordinate overflows.
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    constexpr int kFar = 1 << 20;
    CRect rect(CPoint(std::clamp(static_cast<int>(info->m_pointPos.x), -kFar, kFar),
                      std::clamp(static_cast<int>(info->m_pointPos.y), -kFar, kFar)),
               CSize(10, 10));
    frame->CalcWindowRect(&rect);
    const int caption = ::GetSystemMetrics(SM_CYSMCAPTION) + ::GetSystemMetrics(SM_CYFRAME);
    CPoint at = rect.TopLeft();
    at.x = std::clamp(static_cast<int>(at.x), -(rect.Width() - caption), std::max(0, cxScreen - caption));
    at.y = std::clamp(static_cast<int>(at.y), 0, std::max(0, cyScreen - caption));
    frame->SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    auto* dock = dynamic_cast<CDockBar*>(bar);
    if (dock && dock->GetDockedVisibleCount() > 0) {
      frame->RecalcLayout(TRUE);
      frame->ShowWindow(SW_SHOWNA);
    }
    if (auto* secDock = dynamic_cast<SECDockBar*>(bar->m_pDockBar)) secDock->AddToRepaintList(bar);
  }
}

void SECDockState::RestoreMDIChildPlacements(CFrameWnd*) {
  for (INT_PTR i = 0; i < GetBarCount(); ++i) {
    SECControlBarInfo* info = GetBarInfo(i);
    if (!info->m_bMDIChild || !info->m_pBar) continue;
    if (CFrameWnd* frame = info->m_pBar->GetParentFrame(); frame && info->m_wpMDIChild.length == sizeof(WINDOWPLACEMENT))
      frame->SetWindowPlacement(&info->m_wpMDIChild);
  }
}
