#include "SECMultiDocTemplate.h"

#include <memory>
#include <vector>

#include "SECDockableFrame.h"
#include "ScxMsgFilter.h"
#include "controls/SECControlBar.h"

IMPLEMENT_DYNAMIC(SECMultiDocTemplate, CMultiDocTemplate)

namespace {

// Ids of the bars that hold docked document frames.
constexpr UINT kFirstHostingBarId = 0xE900;
constexpr UINT kLastHostingBarId = 0xE9FF;

// The bar alignment of a dock bar's side.
DWORD AlignmentOf(UINT nDockBarID) {
  switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
      return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM:
      return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
      return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
      return CBRS_ALIGN_RIGHT;
    default:
      return 0;
  }
}

}  // namespace

SECMultiDocTemplate::SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                         CRuntimeClass* pViewClass, CRuntimeClass* pDockableFrameClass,
                                         UINT nIDDockableResource)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass),
      m_pDockableFrameClass(pDockableFrameClass), m_nIDDockableResource(nIDDockableResource) {}

SECMultiDocTemplate::~SECMultiDocTemplate() {
  if (m_hMenuDockable) ::DestroyMenu(m_hMenuDockable);
  if (m_hAccelDockable) ::DestroyAcceleratorTable(m_hAccelDockable);
}

void SECMultiDocTemplate::LoadTemplate() {
  CMultiDocTemplate::LoadTemplate();
  if (!m_nIDDockableResource) return;
  HINSTANCE hInst = AfxGetResourceHandle();
  if (!m_hMenuDockable) m_hMenuDockable = plat::afx::LoadFrameMenu(hInst, m_nIDDockableResource);
  if (!m_hAccelDockable) m_hAccelDockable = plat::afx::LoadFrameAccelerators(hInst, m_nIDDockableResource);
}

SECMDIFrameWnd* SECMultiDocTemplate::GetMainFrame() {
  auto* main = dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
  return main && main->m_hWnd ? main : nullptr;
}

UINT SECMultiDocTemplate::NewHostingBarId(SECMDIFrameWnd* pMain) {
  for (UINT id = kFirstHostingBarId; id <= kLastHostingBarId; ++id)
    if (!pMain->GetControlBar(id) && !::GetDlgItem(pMain->m_hWnd, static_cast<int>(id))) return id;
  return 0;
}

// ---- places

int SECMultiDocTemplate::GetDockedFramePlace(CFrameWnd* pFrame) {
  auto* frame = dynamic_cast<SECDockableFrame*>(pFrame);
  CControlBar* bar = frame ? frame->GetHoldingBar() : nullptr;
  if (!bar) return -1;
  if (bar->IsFloating()) return placeFloating;
  if (!bar->m_pDockBar) return -1;
  switch (bar->m_pDockBar->GetDlgCtrlID()) {
    case AFX_IDW_DOCKBAR_TOP:
      return placeTop;
    case AFX_IDW_DOCKBAR_LEFT:
      return placeLeft;
    case AFX_IDW_DOCKBAR_BOTTOM:
      return placeBottom;
    case AFX_IDW_DOCKBAR_RIGHT:
      return placeRight;
    default:
      return -1;
  }
}

// ---- making frames

SECDockableFrame* SECMultiDocTemplate::CreateDockableFrame(CDocument* pDoc, CFrameWnd* pOther, BOOL bCreateView) {
  SECMDIFrameWnd* main = GetMainFrame();
  const UINT barId = main ? NewHostingBarId(main) : 0;
  if (!pDoc || !barId) return nullptr;
  // The template's own class first: the frame is found as this template's by it. The
  // main frame's docking-child class serves a template that names none.
  std::unique_ptr<CObject> object(m_pDockableFrameClass ? m_pDockableFrameClass->CreateObject() : nullptr);
  if (!object)
    if (CFrameWnd* made = main->CreateDockingChild()) object.reset(made);
  auto* frame = dynamic_cast<SECDockableFrame*>(object.get());
  if (!frame) return nullptr;

  auto bar = std::make_unique<SECControlBar>();
  if (!bar->Create(main, pDoc->GetTitle(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | CBRS_LEFT, CBRS_EX_FILLCLIENT, barId))
    return nullptr;
  bar->m_bAutoDelete = TRUE;  // goes with its window, and the frame inside it with it
  SECControlBar* hosting = bar.release();
  hosting->EnableDocking(CBRS_ALIGN_ANY);
  hosting->m_szHorz = CSize(320, 150);
  hosting->m_szVert = CSize(150, 320);
  hosting->m_szFloat = CSize(320, 220);

  CCreateContext context;
  context.m_pCurrentDoc = pDoc;
  context.m_pCurrentFrame = pOther;
  context.m_pNewViewClass = bCreateView ? m_pViewClass : nullptr;
  context.m_pNewDocTemplate = this;
  object.release();  // a frame deletes itself with its window, even a failed one
  const HWND hBar = hosting->m_hWnd;
  if (!frame->LoadFrame(m_nIDDockableResource ? m_nIDDockableResource : m_nIDResource,
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | FWS_ADDTOTITLE, hosting,
                        &context)) {
    if (::IsWindow(hBar)) hosting->DestroyWindow();
    return nullptr;
  }
  if (bCreateView) frame->InitialUpdateFrame(pDoc, FALSE);
  return frame;
}

CFrameWnd* SECMultiDocTemplate::CreateMDIChildFrame(CDocument* pDoc, CFrameWnd* pOther, BOOL bCreateView) {
  if (!pDoc || !m_pFrameClass) return nullptr;
  std::unique_ptr<CObject> object(m_pFrameClass->CreateObject());
  auto* frame = dynamic_cast<CFrameWnd*>(object.get());
  if (!frame) return nullptr;
  object.release();  // a frame deletes itself with its window, even a failed one
  CCreateContext context;
  context.m_pCurrentDoc = pDoc;
  context.m_pCurrentFrame = pOther;
  context.m_pNewViewClass = bCreateView ? m_pViewClass : nullptr;
  context.m_pNewDocTemplate = this;
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
  return frame;
}

void SECMultiDocTemplate::MoveViews(CFrameWnd* pFrom, CFrameWnd* pTo) {
  CView* active = pFrom->GetActiveView();
  pFrom->SetActiveView(nullptr, FALSE);
  std::vector<HWND> panes;
  for (HWND h = ::GetTopWindow(pFrom->m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    const int id = ::GetDlgCtrlID(h);
    if ((id >= AFX_IDW_PANE_FIRST && id <= AFX_IDW_PANE_LAST) || dynamic_cast<CView*>(CWnd::FromHandlePermanent(h)))
      panes.push_back(h);
  }
  BOOL sunken = FALSE;
  for (HWND h : panes) {
    ::SetParent(h, pTo->m_hWnd);
    if (::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) sunken = TRUE;
    if (!active) active = dynamic_cast<CView*>(CWnd::FromHandlePermanent(h));
  }
  // The panes' sunken edge replaces the frame's own, as for a view made in the frame.
  if (sunken) pTo->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  if (active) pTo->SetActiveView(active, FALSE);
  pTo->RecalcLayout();
}

// ---- moves

CFrameWnd* SECMultiDocTemplate::ConvertFrame(CFrameWnd* pFrame) {
  if (!pFrame || !pFrame->m_hWnd) return nullptr;
  if (nsSysCommandEx::IsMDIChildFrame(pFrame)) return DockFrame(pFrame, 0, nullptr, nullptr);
  if (pFrame->IsKindOf(RUNTIME_CLASS(SECDockableFrame))) return MakeMDIChild(pFrame);
  return nullptr;
}

CFrameWnd* SECMultiDocTemplate::MakeMDIChild(CFrameWnd* pFrame) {
  CDocument* doc = pFrame->GetActiveDocument();
  CFrameWnd* child = doc ? CreateMDIChildFrame(doc, pFrame, FALSE) : nullptr;
  if (!child) return nullptr;  // the docked frame stays as it was
  if (!nsSysCommandEx::IsMDIChildFrame(child)) {
    child->DestroyWindow();
    return nullptr;
  }
  const HWND hChild = child->m_hWnd;
  MoveViews(pFrame, child);
  child->ActivateFrame();
  pFrame->DestroyWindow();  // with the bar that held it
  if (!::IsWindow(hChild)) return nullptr;
  doc->UpdateFrameCounts();
  return child;
}

CFrameWnd* SECMultiDocTemplate::DockFrame(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                                          const SECMDIFrameWnd::SizePair* pSize) {
  SECMDIFrameWnd* main = GetMainFrame();
  CDocument* doc = pFrame && pFrame->m_hWnd ? pFrame->GetActiveDocument() : nullptr;
  if (!main || !doc) return nullptr;
  UINT dockBar = nDockBarID;
  SECDockPos pos{0, 0, SEC_DOCKPOS_NEW_ROW};
  SECMDIFrameWnd::SizePair size(1.0f, 150);
  if (!dockBar) main->GetNextDockPosition(dockBar, pos, size);
  if (pPos) pos = *pPos;
  if (pSize) size = *pSize;
  SECDockableFrame* docked = CreateDockableFrame(doc, pFrame, FALSE);
  if (!docked) return nullptr;  // the MDI child stays as it was
  auto* bar = static_cast<SECControlBar*>(docked->GetHoldingBar());
  // Floated later, it takes the size the MDI child had.
  CRect was;
  pFrame->GetWindowRect(&was);
  if (was.Width() > 0 && was.Height() > 0) bar->m_szFloat = was.Size();
  MoveViews(pFrame, docked);
  if (DWORD align = AlignmentOf(dockBar)) bar->SetBarStyle((bar->GetBarStyle() & ~CBRS_ALIGN_ANY) | align);
  main->DockControlBarEx(bar, pos, dockBar, size);
  main->RecalcLayout();
  const HWND hDocked = docked->m_hWnd;
  pFrame->DestroyWindow();
  if (!::IsWindow(hDocked)) return nullptr;
  doc->UpdateFrameCounts();
  main->ActivateDockedFrame(docked);
  return docked;
}
