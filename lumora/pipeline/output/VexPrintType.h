// CVexPrintType: the print-type dialog (template 132), where the operator chooses how
// many pictures a page holds (1, 2, 4 or 6, shown as pictograms), whether captions go
// under them, and the captions' font.
#pragma once
#include <afxwin.h>

class CVexPrintType : public CDialog {
 public:
  enum { IDD = 132 };
  enum : int { kCaptionsCheck = 1002, kFirstLayout = 1004, kFontLine = 1011, kSizeLine = 1012, kSetFont = 1013,
               kStyleLine = 1014 };
  // Squares of the pictograms, client pixels: left, top, side.
  struct tSquare {
    int x, y, side;
  };
  static const tSquare kPictograms[13];

  explicit CVexPrintType(CWnd* pParent = nullptr);

  // The three lines that describe the caption font.
  static CString FaceLine(const LOGFONTA& font);
  static CString SizeLine(int fontSize);
  static CString StyleLine(const LOGFONTA& font);
  void ShowFontDescription();

  CStatic m_sizeLine;
  CStatic m_styleLine;
  CStatic m_fontLine;
  int m_bCaptions = 0;
  int m_nLayout = -1;  // 0-3: 1, 2, 4, 6 pictures a page
  int m_nFontSize = 0;  // tenths of a point
  COLORREF m_color = 0;  // the chooser's; nothing prints with it
  LOGFONTA m_font{};

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  afx_msg void OnSetFont();
  DECLARE_MESSAGE_MAP()
};
