// SECDTNumericGadget: a number field of the date/time control. Typed digits collect until
// the field's width is reached or the user leaves it; then the control is asked to take
// the number, and a refused number beeps and the old one shows again.
#pragma once
#include "SECDTGadget.h"

class SECDTNumericGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTNumericGadget)
 public:
  SECDTNumericGadget() = default;
  void Initialise(SECDateTimeCtrl* pCtrl, int nMin, int nMax, int nValue, BOOL bZeroPad, int nID);

  void GetText(CString& text) const override;
  void CalcSize(CDC& dc) override;
  void Draw(CDC& dc) override;
  BOOL SetActive(BOOL bActive) override;
  void OnKeyDown(UINT nChar) override;
  void OnChar(UINT nChar) override;
  void OnCancelMode() override;

  BOOL IsTyping() const { return m_nTypedDigits > 0; }
  int GetWidth() const { return m_nWidth; }

 protected:
  // Offers the typed number to the control; FALSE (after a beep) when it is refused.
  BOOL Commit();
  CString Format(int nValue) const;

  int m_nMin = 0;
  int m_nMax = 0;
  int m_nWidth = 1;  // digits
  int m_nTyped = 0;
  int m_nTypedDigits = 0;
  int m_bZeroPad = 0;
};
