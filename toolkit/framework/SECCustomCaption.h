// The caption that the library's frames (SECFrameWnd, SECMDIFrameWnd) can paint themselves:
// a gradient from black, the class icon in a square at the left, and the title split at
// its first "-" into an italic and a plain part. Both frames keep the same fields
// (m_bCustomCaptionPossible, m_bCustomCaption, m_bCaptionActive, m_nTitleAlignment) and
// the same title-font operations, which the templates below work with.
#pragma once
#include <afxwin.h>

namespace sec_caption {

// Where the caption lies in window coordinates; bWin4: the frame was built on Windows 4
// or later.
CRect CaptionRect(const CWnd& frame, BOOL bWin4);
// The caption font of the non-client metrics, italic for the application's part.
void CreateTitleFont(CFont& font, BOOL bItalic);
// Paints the caption through an off-screen bitmap; FALSE when that cannot be made.
BOOL Draw(CWnd& frame, const CRect& caption, BOOL bActive, int nAlignment, CFont& italic, CFont& plain);
// WM_NCACTIVATE with the custom caption, once the frame's stay-active flag is settled:
// the state shown (inactive while disabled, active while staying active) is stored in
// bCaptionActive and passed to the active frame; the default runs without painting over
// the caption, which is painted after it. Answers the default's result.
BOOL NcActivate(CFrameWnd& frame, BOOL bActive, BOOL& bCaptionActive);
// WM_SETTEXT with the custom caption: the default stores the text without painting;
// answers whether the window is visible, so the caption is to be painted again.
BOOL SetTextQuietly(CWnd& frame, WPARAM wParam, LPARAM lParam);

// The old setting, or 0 and no change where the custom caption is not possible. The
// caption is painted again (WM_NCPAINT posted, or sent with bSendPaint) when asked, and
// activation is shown again in the state the window is in.
template <class Frame>
BOOL Enable(Frame& frame, BOOL bEnable, BOOL bRepaint, BOOL bSendPaint) {
  if (!frame.m_bCustomCaptionPossible) return 0;
  const BOOL old = frame.m_bCustomCaption;
  frame.m_bCustomCaption = bEnable;
  if (HWND hWnd = frame.GetSafeHwnd()) {
    if (bRepaint && bSendPaint) ::SendMessageA(hWnd, WM_NCPAINT, 1, 0);
    if (bRepaint && !bSendPaint) ::PostMessageA(hWnd, WM_NCPAINT, 1, 0);
    ::PostMessageA(hWnd, WM_NCACTIVATE, ::GetActiveWindow() == hWnd, 0);
  }
  return old;
}

// Paints the frame's caption in its last state; a caption that cannot be painted is
// switched off.
template <class Frame>
void DrawFor(Frame& frame) {
  if (!frame.GetSafeHwnd()) return;
  CFont italic, plain;
  frame.CreateAppTitleFont(italic);
  frame.CreateDocTitleFont(plain);
  if (!Draw(frame, frame.GetCaptionRect(), frame.m_bCaptionActive, frame.m_nTitleAlignment, italic, plain))
    frame.EnableCustomCaption(FALSE, TRUE);
}

}  // namespace sec_caption
