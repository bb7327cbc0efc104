#include "SECMultiDocTemplate.h"

IMPLEMENT_DYNAMIC(SECMultiDocTemplate, CMultiDocTemplate)

SECMultiDocTemplate::SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                         CRuntimeClass* pViewClass, CRuntimeClass* pDockableFrameClass,
                                         UINT nIDDockableResource)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass),
      m_pDockableFrameClass(pDockableFrameClass), m_nIDDockableResource(nIDDockableResource) {}

SECMultiDocTemplate::~SECMultiDocTemplate() {
  if (m_hMenuDockable) ::DestroyMenu(m_hMenuDockable);
}

int SECMultiDocTemplate::GetDockedFramePlace(CFrameWnd*) { return -1; }

CFrameWnd* SECMultiDocTemplate::ConvertFrame(CFrameWnd*) { return nullptr; }

CFrameWnd* SECMultiDocTemplate::DockFrame(CFrameWnd*, UINT, const SECDockPos*, const SECMDIFrameWnd::SizePair*) {
  return nullptr;
}
