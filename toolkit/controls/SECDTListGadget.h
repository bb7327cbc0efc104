// SECDTListGadget: a field of names (months, weekdays, AM/PM). Typing searches the names
// by their first characters; a repeated initial cycles through the names that share it,
// and two seconds without a key start a new search.
#pragma once
#include "SECDTGadget.h"

class SECDTListGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTListGadget)
 public:
  SECDTListGadget() = default;
  void Initialise(SECDateTimeCtrl* pCtrl, const CStringArray& names, int nIndex, int nID);

  void GetText(CString& text) const override;
  void CalcSize(CDC& dc) override;
  void Draw(CDC& dc) override;
  BOOL SetActive(BOOL bActive) override;
  void OnKeyDown(UINT nChar) override;
  void OnChar(UINT nChar) override;
  void OnTimer() override;

  const CString& GetPrefix() const { return m_strPrefix; }
  int GetCount() const { return static_cast<int>(m_names.GetSize()); }

 protected:
  // The first name from `nStart` on (wrapping once) that starts with `prefix` and that
  // the control takes; it is applied. -1 when none.
  int FindMatch(const CString& prefix, int nStart);
  void EndPrefix();

  CStringArray m_names;
  // Text comes one byte a message: the first bytes of a UTF-8 character wait here.
  BYTE m_pending[3] = {};
  int m_nPending = 0;
  CString m_strPrefix;
  int m_bTimer = 0;
};
