// SECMultiDocTemplate: the library's multi-document template. Besides the MDI child frame
// it names the frame that docks in a control bar (with its own menu and accelerators), and
// it moves a document's frame between its places: an MDI child, a frame docked in a bar
// of the main SECMDIFrameWnd, or one floating with that bar. A move makes the new frame
// first, hands it the document's views, and only then closes the old frame; a move that
// cannot make its frame leaves the old one as it was.
#pragma once
#include <afxwin.h>

#include "SECMDIFrameWnd.h"

class SECControlBar;
class SECDockableFrame;

class SECMultiDocTemplate : public CMultiDocTemplate {
  DECLARE_DYNAMIC(SECMultiDocTemplate)
 public:
  // Places a docked frame reports.
  enum DockedPlace { placeTop = 0, placeLeft = 1, placeBottom = 2, placeRight = 3, placeFloating = 4 };

  SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass, CRuntimeClass* pDockableFrameClass = nullptr,
                      UINT nIDDockableResource = 0);
  ~SECMultiDocTemplate() override;

  // Loads the dockable frame's menu and accelerators beside the shared ones.
  void LoadTemplate() override;

  // Where a docked frame of this template is (DockedPlace), -1 when it cannot tell.
  virtual int GetDockedFramePlace(CFrameWnd* pFrame);
  // Turns an MDI child into a docked frame, or a docked or floating frame into an MDI
  // child; the frame that holds the document's views afterwards, null for no conversion.
  virtual CFrameWnd* ConvertFrame(CFrameWnd* pFrame);
  // Docks an MDI child's document at a dock bar (0: the main frame's next default place)
  // at a place and size; the new frame, null for no conversion.
  virtual CFrameWnd* DockFrame(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                               const SECMDIFrameWnd::SizePair* pSize);

  // A new docked frame for the document inside a new hosting bar of the main frame; the
  // bar is not docked yet. Views are made only when bCreateView is set. Null when either
  // cannot be made (nothing is left behind then).
  virtual SECDockableFrame* CreateDockableFrame(CDocument* pDoc, CFrameWnd* pOther, BOOL bCreateView = TRUE);
  // A new MDI child for the document, views made only when bCreateView is set.
  virtual CFrameWnd* CreateMDIChildFrame(CDocument* pDoc, CFrameWnd* pOther, BOOL bCreateView = TRUE);
  // Gives the document's panes of one frame (views or splitters) to another.
  static void MoveViews(CFrameWnd* pFrom, CFrameWnd* pTo);

  CRuntimeClass* m_pDockableFrameClass;
  UINT m_nIDDockableResource;
  HMENU m_hMenuDockable = nullptr;   // owned
  HACCEL m_hAccelDockable = nullptr; // owned

 protected:
  // The main frame the docked frames live in, or null.
  static SECMDIFrameWnd* GetMainFrame();
  // An id for a new hosting bar that no bar of the main frame uses, 0 when none is left.
  static UINT NewHostingBarId(SECMDIFrameWnd* pMain);
  CFrameWnd* MakeMDIChild(CFrameWnd* pFrame);
};
