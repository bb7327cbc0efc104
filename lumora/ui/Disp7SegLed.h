// CDisp7SegLed: the exposure read-out, a row of seven-segment digit pictures over a
// static control. Digits show their picture, "s" the letter, anything else a blank.
#pragma once
#include <afxwin.h>

class CDisp7SegLed : public CStatic {
 public:
  enum { kImageCount = 13, kBlank = 10, kLetterS = 12, kFirstBitmap = 136, kTextSize = 256 };

  CDisp7SegLed();
  ~CDisp7SegLed() override;
  CDisp7SegLed(const CDisp7SegLed&) = delete;
  CDisp7SegLed& operator=(const CDisp7SegLed&) = delete;

  // Shows up to `count` characters of `text` from cell `start` on (count 0: 8 cells).
  void SetText(LPCSTR text, int start, int count);
  const char* GetText() const { return m_szText; }
  // The picture index a character shows.
  static int ImageOf(char c);

 protected:
  void PreSubclassWindow() override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void Draw(CDC& dc);

  HBITMAP m_hImages[kImageCount] = {};
  int m_nDigits = 8;
  int m_nStart = 0;
  char m_szText[kTextSize] = "        ";
  int m_nCellWidth = 0, m_nCellHeight = 0;
  int m_nImageWidth = 0, m_nImageHeight = 0;
};
