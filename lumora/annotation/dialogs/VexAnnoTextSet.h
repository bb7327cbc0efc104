// CVexAnnoTextSet: the property dialog of the text box (variant 1, with the text field)
// and of the text defaults (variant 0, without it): font, text and background colours,
// fill and text. The preview button shows its caption as the text will look. The caller
// hands the values in before DoModal and takes them back after IDOK.
#pragma once
#include <afxwin.h>

#include "BkClrButton.h"

class CVexAnnoTextSet : public CDialog {
 public:
  enum { IDD = 1125 };
  explicit CVexAnnoTextSet(int variant = 1, CWnd* pParent = nullptr) : CDialog(IDD, pParent), m_nVariant(variant) {}

  void SetValues(LOGFONTA font, int fontSize, COLORREF textColor, COLORREF bkColor, int fill, CString text);
  void GetValues(LOGFONTA& font, int& fontSize, COLORREF& textColor, COLORREF& bkColor, int& fill, CString& text) const;

  // Refreshes the three description lines, the check box and the preview from the
  // dialog's font, size, colours and fill.
  void UpdateFontDescription();

  // The description lines: the face and character set, the size, the weight and slant.
  // A character set, weight or slant without a text gives an empty line.
  static CString DescribeFace(const LOGFONTA& font);
  static CString DescribeSize(int fontSize);
  static CString DescribeStyle(const LOGFONTA& font);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnSetFont();
  afx_msg void OnBackgroundColor();
  afx_msg void OnFillCheck();
  DECLARE_MESSAGE_MAP()

 private:
  CString m_strFace, m_strSize, m_strStyle;
  CBkClrButton m_preview;
  int m_nFillCheck = 0;
  CString m_strText;
  COLORREF m_bkColor = 0;
  int m_nFontSize = 0;  // tenths of a point
  COLORREF m_textColor = 0;
  LOGFONTA m_font{};
  int m_nFill = 0;
  int m_nVariant;
  CFont m_previewFont;
};
