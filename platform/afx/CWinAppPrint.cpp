// The application's printer: kept as the bytes of its DEVMODE and DEVNAMES; the print
// dialogs receive them as blocks of their own, which they own and free.
#include <cstring>

#include "afxdlgs.h"

namespace {

std::vector<unsigned char> BytesOf(HGLOBAL block) {
  std::vector<unsigned char> bytes;
  if (!block) return bytes;
  if (const void* from = ::GlobalLock(block)) {
    bytes.resize(::GlobalSize(block));
    std::memcpy(bytes.data(), from, bytes.size());
    ::GlobalUnlock(block);
  }
  return bytes;
}

void Replace(HGLOBAL& held, const std::vector<unsigned char>& bytes) {
  if (held) ::GlobalFree(held);
  held = nullptr;
  if (bytes.empty()) return;
  held = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (void* to = ::GlobalLock(held)) {
    std::memcpy(to, bytes.data(), bytes.size());
    ::GlobalUnlock(held);
  }
}

}  // namespace

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLG* pPrintDlg) {
  if (m_printer.devNames.empty()) {
    CPrintDialog defaults(FALSE);
    if (!defaults.GetDefaults()) return FALSE;
    m_printer.devMode = BytesOf(defaults.m_pd.hDevMode);
    m_printer.devNames = BytesOf(defaults.m_pd.hDevNames);
  }
  Replace(pPrintDlg->hDevMode, m_printer.devMode);
  Replace(pPrintDlg->hDevNames, m_printer.devNames);
  return TRUE;
}

int CWinApp::DoPrintDialog(CPrintDialog* pPD) {
  GetPrinterDeviceDefaults(&pPD->m_pd);
  int result = pPD->DoModal();
  if (result == IDOK) {
    m_printer.devMode = BytesOf(pPD->m_pd.hDevMode);
    m_printer.devNames = BytesOf(pPD->m_pd.hDevNames);
  }
  return result;
}

void CWinApp::OnFilePrintSetup() {
  CPrintDialog setup(TRUE);
  DoPrintDialog(&setup);
}
