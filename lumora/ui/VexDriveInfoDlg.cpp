#include "VexDriveInfoDlg.h"

#include <cctype>
#include <cstring>

#include "MainFrame.h"
#include "control/VexErrorControl.h"

BEGIN_MESSAGE_MAP(CVexDriveInfoDlg, CDialog)
ON_CBN_SELCHANGE(CVexDriveInfoDlg::kDriveList, OnSelchangeDrive)
END_MESSAGE_MAP()

namespace {
using DiskFreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
constexpr ULONGLONG kGiB = 0x40000000;
}  // namespace

CVexDriveInfoDlg::CVexDriveInfoDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CVexDriveInfoDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kDriveList, m_wndDrives);
  DDX_Text(pDX, kUsed, m_strUsed);
  DDX_Text(pDX, kFree, m_strFree);
  DDX_Text(pDX, kCapacity, m_strCapacity);
}

CString CVexDriveInfoDlg::FormatBytes(ULONGLONG bytes) {
  CString text;
  if ((bytes >> 32) == 0 && bytes <= kGiB)
    text.Format("%8.2f MB", static_cast<double>(bytes / 1024) / 1024.0);
  else
    text.Format("%8.2f GB", static_cast<double>(bytes / 1048576) / 1024.0);
  return text;
}

BOOL CVexDriveInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (CWinApp* app = AfxGetApp()) SetIcon(app->LoadIcon(128), TRUE);
  m_wndDrives.ResetContent();
  char roots[256] = {};
  ::GetLogicalDriveStringsA(255, roots);
  for (const char* root = roots; *root; root += std::strlen(root) + 1) {
    if (::GetDriveTypeA(root) == DRIVE_CDROM) continue;
    SHFILEINFOA info{};
    ::SHGetFileInfoA(root, 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    CString entry;
    entry.Format("%c%s %s", std::toupper(static_cast<unsigned char>(root[0])), root + 1, info.szDisplayName);
    entry.Replace('\\', ' ');
    m_wndDrives.AddString(entry);
  }
  // The second drive is the first one past the system drive; a lone drive is shown itself.
  m_wndDrives.SetCurSel(m_wndDrives.GetCount() >= 2 ? 1 : 0);
  ShowValues();
  return TRUE;
}

void CVexDriveInfoDlg::OnSelchangeDrive() { ShowValues(); }

void CVexDriveInfoDlg::ShowValues() {
  m_strUsed.Empty();
  m_strFree.Empty();
  m_strCapacity.Empty();
  m_strRoot.Empty();
  const int selected = m_wndDrives.GetCurSel();
  if (selected >= 0) {
    CString entry;
    m_wndDrives.GetLBText(selected, entry);
    m_strRoot = entry.Left(2) + "\\";
  }
  // Looked up at run time: systems without it report the error and show no values.
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  FARPROC proc = kernel ? ::GetProcAddress(kernel, "GetDiskFreeSpaceExA") : nullptr;
  auto diskFree = reinterpret_cast<DiskFreeSpaceEx>(reinterpret_cast<void (*)()>(proc));
  if (!diskFree) {
    CMainFrame* frame = CMainFrame::Get();
    if (frame && frame->ErrorControl()) frame->ErrorControl()->ReportError(801, 2);
  } else if (!m_strRoot.IsEmpty()) {
    ULARGE_INTEGER freeToCaller{}, total{}, totalFree{};
    if (diskFree(m_strRoot, &freeToCaller, &total, &totalFree)) {
      m_strCapacity = FormatBytes(total.QuadPart);
      m_strFree = FormatBytes(freeToCaller.QuadPart);
      m_strUsed = FormatBytes(total.QuadPart - freeToCaller.QuadPart);
    }
  }
  UpdateData(FALSE);
}
