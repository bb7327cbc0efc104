#include "afxdlgs.h"

IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_pd{} {
  m_pd.lStructSize = sizeof m_pd;
  m_pd.Flags = dwFlags;
  if (bPrintSetupOnly) m_pd.Flags |= PD_PRINTSETUP;
  m_pd.nMinPage = m_pd.nFromPage = 1;
  m_pd.nMaxPage = m_pd.nToPage = 0xFFFF;
  m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
  if (m_pd.hDevMode) ::GlobalFree(m_pd.hDevMode);
  if (m_pd.hDevNames) ::GlobalFree(m_pd.hDevNames);
}

int CPrintDialog::DoModal() {
  plat::afx::ModalOwner owner(m_pParentWnd);
  m_pd.hwndOwner = owner.Hwnd();
  return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
  // The default printer replaces any earlier choice.
  if (m_pd.hDevMode) m_pd.hDevMode = ::GlobalFree(m_pd.hDevMode);
  if (m_pd.hDevNames) m_pd.hDevNames = ::GlobalFree(m_pd.hDevNames);
  DWORD flags = m_pd.Flags;
  m_pd.Flags = (flags & ~static_cast<DWORD>(PD_PRINTSETUP)) | PD_RETURNDEFAULT;
  BOOL ok = ::PrintDlgA(&m_pd);
  m_pd.Flags = flags;
  return ok;
}

HDC CPrintDialog::CreatePrinterDC() {
  if (!m_pd.hDevNames) return nullptr;
  CString device = GetDeviceName();
  auto* mode = static_cast<const DEVMODEA*>(m_pd.hDevMode ? ::GlobalLock(m_pd.hDevMode) : nullptr);
  m_pd.hDC = ::CreateDCA(DevName(&DEVNAMES::wDriverOffset), device, nullptr, mode);
  if (mode) ::GlobalUnlock(m_pd.hDevMode);
  return m_pd.hDC;
}

int CPrintDialog::GetCopies() const {
  if (m_pd.Flags & PD_USEDEVMODECOPIES) {
    int copies = 1;
    if (auto* mode = static_cast<const DEVMODEA*>(m_pd.hDevMode ? ::GlobalLock(m_pd.hDevMode) : nullptr)) {
      if (mode->dmFields & DM_COPIES) copies = mode->dmCopies;
      ::GlobalUnlock(m_pd.hDevMode);
    }
    return copies;
  }
  return m_pd.nCopies;
}

CString CPrintDialog::DevName(WORD DEVNAMES::*offset) const {
  CString name;
  if (auto* names = static_cast<const DEVNAMES*>(m_pd.hDevNames ? ::GlobalLock(m_pd.hDevNames) : nullptr)) {
    name = reinterpret_cast<const char*>(names) + names->*offset;
    ::GlobalUnlock(m_pd.hDevNames);
  }
  return name;
}

CString CPrintDialog::GetDeviceName() const { return DevName(&DEVNAMES::wDeviceOffset); }
CString CPrintDialog::GetPortName() const { return DevName(&DEVNAMES::wOutputOffset); }
