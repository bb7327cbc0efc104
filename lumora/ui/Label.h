// CLabel: a static text with its own colours and font, optional flashing of its text or
// background, and (once made a link) a click that opens its text with the shell.
#pragma once
#include <afxwin.h>

class CLabel : public CStatic {
 public:
  CLabel();
  ~CLabel() override;
  CLabel(const CLabel&) = delete;
  CLabel& operator=(const CLabel&) = delete;

  CLabel& SetText(const CString& text);
  CLabel& SetTextColor(COLORREF color);
  CLabel& SetBkColor(COLORREF color);
  CLabel& SetFontBold(BOOL bold);
  CLabel& SetFontItalic(BOOL italic);
  CLabel& SetFontUnderline(BOOL underline);
  CLabel& SetFontSize(int points);
  CLabel& SetFontName(const CString& name);
  CLabel& SetSunken(BOOL sunken);
  CLabel& SetBorder(BOOL border);
  CLabel& FlashText(BOOL on);
  CLabel& FlashBackground(BOOL on);
  CLabel& SetLink(BOOL link);
  CLabel& SetLinkCursor(HCURSOR cursor);

  const LOGFONT& GetFontDescription() const { return m_lf; }
  COLORREF GetTextColor() const { return m_crText; }

 protected:
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  enum FlashKind { kNone, kText, kBackground };
  void ReconstructFont();
  void Redraw();

  COLORREF m_crText;
  HBRUSH m_hBrush;
  HBRUSH m_hAltBrush;
  LOGFONT m_lf{};
  CFont m_font;
  CString m_strSaved;
  int m_nPhase = 0;
  int m_bFlashing = 0;
  // A label opens its text only once it was made a link: a plain label's click is harmless.
  int m_bLink = 0;
  int m_nFlashKind = kNone;
  HCURSOR m_hCursor = nullptr;
};
