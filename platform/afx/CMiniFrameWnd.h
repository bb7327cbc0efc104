// CMiniFrameWnd: a frame with the small caption of a tool window (floating palettes
// and bars).
#pragma once
#include "CFrameWnd.h"

#define MFS_SYNCACTIVE 0x00000100L   // active together with its owner
#define MFS_4THICKFRAME 0x00000200L  // sizing frame without corner sizing
#define MFS_THICKFRAME 0x00000400L   // sizing frame
#define MFS_MOVEFRAME 0x00000800L    // moved by its whole frame
#define MFS_BLOCKSYSMENU 0x00001000L // no system menu from the caption

class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniFrameWnd)
 public:
  CMiniFrameWnd() = default;
  BOOL Create(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd = nullptr,
              UINT nID = 0);
  BOOL CreateEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = nullptr, UINT nID = 0);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // The window rectangle of a mini frame around a client rectangle.
  static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_THICKFRAME | WS_CAPTION, DWORD dwExStyle = 0);

  CString m_strCaption;

 protected:
  // The border of MFS_MOVEFRAME moves the frame; MFS_4THICKFRAME has no corners.
  afx_msg UINT OnNcHitTest(CPoint point);
  // MFS_SYNCACTIVE: the caption is active while the owner frame is.
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
