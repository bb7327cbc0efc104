// CPrintDialog: the print dialog (or, for setup only, the printer choice). It owns the
// DEVMODE and DEVNAMES blocks in m_pd; the DC it makes belongs to the caller.
#pragma once
#include "CCommonDialog.h"

class CPrintDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CPrintDialog)
 public:
  explicit CPrintDialog(BOOL bPrintSetupOnly,
                        DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_NOSELECTION,
                        CWnd* pParentWnd = nullptr);
  ~CPrintDialog() override;
  int DoModal() override;
  // The default printer without a dialog; FALSE when there is none.
  BOOL GetDefaults();
  // A DC for the chosen printer, also kept in m_pd.hDC; null when there is no choice.
  HDC CreatePrinterDC();
  HDC GetPrinterDC() const { return m_pd.hDC; }

  int GetCopies() const;
  BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
  BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
  BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
  int GetFromPage() const { return m_pd.nFromPage; }
  int GetToPage() const { return m_pd.nToPage; }
  CString GetDeviceName() const;
  CString GetPortName() const;

  PRINTDLG m_pd;

 private:
  CString DevName(WORD DEVNAMES::*offset) const;
};
