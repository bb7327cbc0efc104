// The place-switching requests of a document frame: the registered message
// "Tamrisk::WM_SYSCOMMANDEX", its request record, and ScxMsgFilter, which carries the
// requests out with the frame's SECMultiDocTemplate: move the frame to an MDI child, a
// docked frame or a floating one, and build or show the caption menu of places.
#pragma once
#include "SECDockBar.h"
#include "SECMDIFrameWnd.h"
#include "SECMsgFilter.h"

class SECMultiDocTemplate;

namespace nsSysCommandEx {

// "Tamrisk::WM_SYSCOMMANDEX", registered on first use.
UINT GetSysCommandExMessage();

// Request codes (wParam; only wParam & 0xFFF0 counts).
enum : UINT { requestMove = 0xC000, requestGetMenu = 0xC010, requestShowMenu = 0xC020 };

// Places of a document frame.
enum Place : int {
  placeNone = 0,
  placeMDIChild = 1,
  placeMDIChildMinimized = 2,
  placeMDIChildMaximized = 3,
  placeMDIChildRestored = 4,
  placeDocked = 5,
  placeDockedLeft = 6,
  placeDockedTop = 7,
  placeDockedRight = 8,
  placeDockedBottom = 9,
  placeFloating = 10,
  placeToggle = -1,
};

// The request record (lParam); it never leaves the process. Zeroed, then filled.
struct ScxRequest {
  enum : DWORD { flagPoint = 0x1, flagSize = 0x2 };
  HWND hWnd = nullptr;  // the frame the request is about
  DWORD dwFlags = 0;    // flagPoint: x, y given (and the caption repainted afterwards); flagSize: cx, cy
  int x = 0, y = 0;     // a screen point for a menu, or a window position
  int cx = 0, cy = 0;
  RECT rectButton{};    // the sending caption button on the screen, or empty
  HMENU hMenu = nullptr;  // answered by requestGetMenu
  int nTargetPlace = 0;   // placeToggle: the other place
  const SECDockPos* pDockPos = nullptr;    // with flagPoint, for a move to a side
  const SECMDIFrameWnd::SizePair* pDockSize = nullptr;  // with flagSize: width share and length
};

class ScxMsgFilter : public SECMsgFilter {
  DECLARE_DYNCREATE(ScxMsgFilter)
 public:
  ScxMsgFilter(CFrameWnd* pFrame, UINT nID) : SECMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;
  LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  virtual LRESULT OnShowMenu(ScxRequest& request, LRESULT* pResult);
  virtual LRESULT OnGetMenu(ScxRequest& request, LRESULT* pResult);
  virtual LRESULT OnMove(ScxRequest& request, LRESULT* pResult);
  virtual HMENU GetMenu(const ScxRequest& request);
  virtual UINT TrackMenu(HMENU hMenu, const ScxRequest& request);
  virtual void ExecuteMenuCommand(UINT nCommand, const ScxRequest& request);
  virtual HMENU BuildMenu(CFrameWnd* pFrame, int nPlace);
  virtual HMENU BuildMenuForRecord(const ScxRequest& request);
  // Each answers the frame that holds the document afterwards, null when none came out.
  virtual CFrameWnd* MoveToMDIChild(CFrameWnd* pFrame, int nPlace, int nTarget, SECMultiDocTemplate* pTemplate,
                                    const ScxRequest& request);
  virtual CFrameWnd* MoveToDocked(CFrameWnd* pFrame, int nPlace, int nTarget, SECMultiDocTemplate* pTemplate,
                                  const ScxRequest& request);
  virtual CFrameWnd* MoveToFloating(CFrameWnd* pFrame, int nPlace, int nTarget, SECMultiDocTemplate* pTemplate,
                                    const ScxRequest& request);
  virtual CFrameWnd* ConvertThroughTemplate(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate);
  virtual BOOL ToggleDocking(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate, const ScxRequest& request);
  virtual CFrameWnd* DockThroughTemplate(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                                         const SECMDIFrameWnd::SizePair* pSize, SECMultiDocTemplate* pTemplate,
                                         const ScxRequest& request);
  virtual int GetPlaceClass(int nPlace) const;
  virtual int GetToggleTarget(int nPlace) const;
  virtual int GetPlace(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate) const;
  virtual CDocTemplate* FindTemplate(const ScxRequest& request, CRuntimeClass* pTemplateClass) const;
  virtual BOOL IsCopyRequest(UINT nCode) const;

  BOOL m_bTemporaryCopy = FALSE;

 protected:
  ScxMsgFilter() = default;
  ScxMsgFilter(const ScxMsgFilter& other) : SECMsgFilter(other) {}
};

// Whether a window is an MDI child frame.
BOOL IsMDIChildFrame(const CWnd* pWnd);

}  // namespace nsSysCommandEx
