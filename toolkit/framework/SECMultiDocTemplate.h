// SECMultiDocTemplate: the library's multi-document template. Besides the MDI child frame
// it names the frame that docks in a control bar (with its own menu and accelerators),
// and it is what the caption filters ask to move a document's frame between an MDI child,
// a docked frame and a floating one. This one converts nothing; a template that supports
// the moves overrides the services.
#pragma once
#include <afxwin.h>

#include "SECMDIFrameWnd.h"

class SECMultiDocTemplate : public CMultiDocTemplate {
  DECLARE_DYNAMIC(SECMultiDocTemplate)
 public:
  // Places a docked frame reports.
  enum DockedPlace { placeTop = 0, placeLeft = 1, placeBottom = 2, placeRight = 3, placeFloating = 4 };

  SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass, CRuntimeClass* pDockableFrameClass = nullptr,
                      UINT nIDDockableResource = 0);
  ~SECMultiDocTemplate() override;

  // Where a docked frame of this template is (DockedPlace), -1 when it cannot tell.
  virtual int GetDockedFramePlace(CFrameWnd* pFrame);
  // Turns an MDI child into a docked frame, or a docked or floating frame into an MDI
  // child; the frame that holds the document's view afterwards, null for no conversion.
  virtual CFrameWnd* ConvertFrame(CFrameWnd* pFrame);
  // Docks an MDI child's document at a dock bar (0 for the template's choice) at a place
  // and size; the new frame, null for no conversion.
  virtual CFrameWnd* DockFrame(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                               const SECMDIFrameWnd::SizePair* pSize);

  CRuntimeClass* m_pDockableFrameClass;
  UINT m_nIDDockableResource;
  HMENU m_hMenuDockable = nullptr;   // owned
  HACCEL m_hAccelDockable = nullptr;
};
