#include "SECDocTemplateUtils.h"

#include <string>

#include "SECDockableFrame.h"
#include "SECMDIFrameWnd.h"
#include "SECMultiDocTemplate.h"
#include "ScxMsgFilter.h"

namespace {

// A template's name: its registry file-type name.
std::string TemplateName(CDocTemplate* pTemplate) {
  CString name;
  pTemplate->GetDocString(name, CDocTemplate::regFileTypeName);
  return std::string(name);
}

template <typename Keep>
void KeepIf(CPtrList& list, Keep keep) {
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION at = pos;
    auto* tmpl = static_cast<CDocTemplate*>(list.GetNext(pos));
    if (!keep(tmpl)) list.RemoveAt(at);
  }
}

}  // namespace

int SECDocTemplateUtils::GetTemplateIndex(CDocTemplate* pTemplate, LPCSTR lpszName) {
  CWinApp* app = AfxGetApp();
  if (!pTemplate || !app) return -1;
  const std::string name = lpszName ? lpszName : "";
  int count = 0;
  for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
    CDocTemplate* tmpl = app->GetNextDocTemplate(pos);
    if (TemplateName(tmpl) == name) ++count;
    if (tmpl == pTemplate) return count - 1;
  }
  return -1;
}

CDocTemplate* SECDocTemplateUtils::GetTemplateByIndex(LPCSTR lpszName, int nIndex) {
  CWinApp* app = AfxGetApp();
  if (!app) return nullptr;
  const std::string name = lpszName ? lpszName : "";
  CDocTemplate* last = nullptr;
  int seen = 0;
  for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
    CDocTemplate* tmpl = app->GetNextDocTemplate(pos);
    if (TemplateName(tmpl) != name) continue;
    last = tmpl;
    if (++seen == nIndex + 1) return tmpl;
  }
  return last;
}

CDocTemplate* SECDocTemplateUtils::FindTemplate(CDocument* pDoc, CView* pView, CFrameWnd* pFrame) {
  if (!pDoc || !pView || !pFrame) return nullptr;
  CPtrList list;
  CDocTemplate* found = nullptr;
  ListAllTemplates(list);
  if (IsSettled(list, &found)) return found;
  KeepByViewAndFrame(list, pView, pFrame);
  if (IsSettled(list, &found)) return found;
  KeepByResourceId(list, pFrame);
  if (IsSettled(list, &found)) return found;
  KeepByDocClass(list, pDoc);
  if (IsSettled(list, &found)) return found;
  CDocTemplate* own = pDoc->GetDocTemplate();
  if (own && list.Find(own)) return own;
  return static_cast<CDocTemplate*>(list.GetHead());
}

UINT SECDocTemplateUtils::GetFrameResourceId(CFrameWnd* pFrame) { return pFrame ? pFrame->m_nIDHelp : 0; }

BOOL SECDocTemplateUtils::ListAllTemplates(CPtrList& list) {
  list.RemoveAll();
  CWinApp* app = AfxGetApp();
  if (!app) return FALSE;
  for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) list.AddTail(app->GetNextDocTemplate(pos));
  return TRUE;
}

BOOL SECDocTemplateUtils::KeepByViewAndFrame(CPtrList& list, CView* pView, CFrameWnd* pFrame) {
  if (!pView || !pFrame) return FALSE;
  const BOOL dockable = IsDockableFrameClass(pFrame->GetRuntimeClass());
  KeepIf(list, [&](CDocTemplate* tmpl) {
    return tmpl->m_pViewClass == pView->GetRuntimeClass() &&
           GetTemplateFrameClass(tmpl, dockable) == pFrame->GetRuntimeClass();
  });
  return TRUE;
}

BOOL SECDocTemplateUtils::KeepByResourceId(CPtrList& list, CFrameWnd* pFrame) {
  if (!pFrame) return FALSE;
  const UINT id = GetFrameResourceId(pFrame);
  KeepIf(list, [&](CDocTemplate* tmpl) { return tmpl->m_nIDResource == id; });
  return TRUE;
}

BOOL SECDocTemplateUtils::KeepByDocClass(CPtrList& list, CDocument* pDoc) {
  if (!pDoc) return FALSE;
  KeepIf(list, [&](CDocTemplate* tmpl) { return tmpl->m_pDocClass == pDoc->GetRuntimeClass(); });
  return TRUE;
}

BOOL SECDocTemplateUtils::IsSettled(CPtrList& list, CDocTemplate** ppTemplate) {
  if (list.GetCount() > 1) return FALSE;
  if (ppTemplate) *ppTemplate = list.IsEmpty() ? nullptr : static_cast<CDocTemplate*>(list.GetHead());
  return TRUE;
}

BOOL SECDocTemplateUtils::IsDockableFrameClass(CRuntimeClass* pClass) {
  return pClass && pClass->IsDerivedFrom(RUNTIME_CLASS(SECDockableFrame));
}

CRuntimeClass* SECDocTemplateUtils::GetTemplateFrameClass(CDocTemplate* pTemplate, BOOL bDockable) {
  if (!pTemplate) return nullptr;
  if (!bDockable) return pTemplate->m_pFrameClass;
  auto* multi = dynamic_cast<SECMultiDocTemplate*>(pTemplate);
  return multi ? multi->m_pDockableFrameClass : nullptr;
}

// ---- activation

BOOL HasOtherVisibleMDIChild(CWnd* pWnd) {
  CWnd* main = AfxGetMainWnd();
  if (!main || !::IsWindow(main->GetSafeHwnd())) return FALSE;
  const HWND client = ::FindWindowExA(main->m_hWnd, nullptr, "MDIClient", nullptr);
  if (!client) return FALSE;
  const HWND self = pWnd ? pWnd->GetSafeHwnd() : nullptr;
  for (HWND child = ::GetWindow(client, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child == self || !::IsWindowVisible(child)) continue;
    if ((::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0) return TRUE;
  }
  return FALSE;
}

BOOL IsVisibleChain(CWnd* pWnd) {
  if (!pWnd || !pWnd->GetSafeHwnd()) return FALSE;
  for (HWND wnd = pWnd->m_hWnd; wnd; wnd = (::GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(wnd) : nullptr) {
    auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(wnd));
    const BOOL visible = bar ? bar->IsVisible() : (::GetWindowLongA(wnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (!visible) return FALSE;
  }
  return TRUE;
}

BOOL ActivateNextDockableFrame(CFrameWnd* pExcluded) {
  auto* main = dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
  CWinApp* app = AfxGetApp();
  if (!main || !app) return FALSE;
  auto usable = [pExcluded](CFrameWnd* frame) {
    return frame && frame != pExcluded && frame->IsKindOf(RUNTIME_CLASS(SECDockableFrame)) && IsVisibleChain(frame);
  };
  if (usable(main->GetActiveFrame())) return FALSE;
  for (POSITION tp = app->GetFirstDocTemplatePosition(); tp;) {
    CDocTemplate* tmpl = app->GetNextDocTemplate(tp);
    for (POSITION dp = tmpl->GetFirstDocPosition(); dp;) {
      CDocument* doc = tmpl->GetNextDoc(dp);
      for (POSITION vp = doc->GetFirstViewPosition(); vp;) {
        CView* view = doc->GetNextView(vp);
        CFrameWnd* frame = view ? view->GetParentFrame() : nullptr;
        if (!usable(frame)) continue;
        main->ActivateDockedFrame(frame);
        return TRUE;
      }
    }
  }
  return FALSE;
}
