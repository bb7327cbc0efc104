#include "SetupDlg.h"

#include <direct.h>
#include <errno.h>
#include <process.h>

#include <cstring>

#include "AboutDlg.h"

namespace {

// The Japanese texts are used only on a system whose default locale is exactly Japanese.
constexpr LCID kJapanese = 1041;

// Long paths get one line break, after their first backslash at byte 36 or later, so that
// they fit the message's width.
CString BreakPath(const CString& strPath) {
  CString strBroken = strPath;
  for (int i = 36; i < strBroken.GetLength(); ++i) {
    if (strBroken[i] == '\\') {
      strBroken.Insert(i + 1, "\n");
      break;
    }
  }
  return strBroken;
}

}  // namespace

CSetupDlg::CSetupDlg(CWnd* pParent) : CDialog(CSetupDlg::IDD, pParent) {
  m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_STATIC_ERRORCODE, m_ErrorCode);
  DDX_Control(pDX, IDC_STATIC_MESSAGE, m_Message);
}

BEGIN_MESSAGE_MAP(CSetupDlg, CDialog)
  ON_WM_SYSCOMMAND()
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_BN_CLICKED(IDC_BUTTON_OK, OnOK)
END_MESSAGE_MAP()

BOOL CSetupDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  // The about box is offered in the system menu.
  static_assert((IDM_ABOUTBOX & 0xFFF0) == IDM_ABOUTBOX, "the system keeps the low four bits");
  if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
    CString strAboutMenu;
    strAboutMenu.LoadString(IDS_ABOUTBOX);
    if (!strAboutMenu.IsEmpty()) {
      pSysMenu->AppendMenu(MF_SEPARATOR);
      pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
    }
  }
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  // The sub-installers lie below the folder the launcher was started in. A folder that
  // cannot be read gives no base, and nothing is started from it.
  char szFolder[_MAX_PATH];
  const bool bFolder = _getcwd(szFolder, sizeof szFolder) != nullptr;
  CString strBase;
  if (bFolder) {
    strBase = szFolder;
    if (strBase.Right(1) != "\\") strBase += '\\';
  }

  m_LangID = GetSystemDefaultLCID();
  const bool bJapanese = m_LangID == kJapanese;

  CString strPath;
  CString strBody;
  CString strCode;
  switch (GetOSClass()) {
    case 0:
    case 1:
      strPath = strBase + (bJapanese ? "98NTJ\\setup.exe" : "98NTE\\setup.exe");
      break;
    case 2:
      strPath = strBase + (bJapanese ? "Win2kJ\\setup.exe" : "Win2kE\\setup.exe");
      break;
    case 3:
      strPath = strBase + (bJapanese ? "WinXPJ\\setup.exe" : "WinXPE\\setup.exe");
      break;
    case 4:
      if (bJapanese) {
        strBody = "このOSのバージョンはサポートされていません。\n";
        strCode.Format("Error code : 001:%04d", 4);
      } else {
        strBody = "This OS version is not supported.";
      }
      break;
    default:
      strBody = bJapanese ? "OSのバージョンを取得できません。\n" : "Unable to get OS version.\n";
      strCode = m_strErrorCode;
      break;
  }

  if (!strPath.IsEmpty()) {
    // Comes back only when the sub-installer could not be started.
    int nError = ENOENT;
    if (bFolder) {
      _spawnl(_P_OVERLAY, strPath, "setup.exe", nullptr);
      nError = errno;
    }
    const CString strBroken = BreakPath(strPath);
    switch (nError) {
      case ENOENT:
        strBody = bJapanese ? "以下のファイルが見つかりません。\n\n" + strBroken
                            : "No such file or directory.\n\n" + strBroken + "\n";
        break;
      case ENOEXEC:
        strBody = bJapanese ? "以下のファイルが実行できませんでした。\n\n" + strBroken
                            : "Execution file format error.\n\n" + strBroken + "\n";
        break;
      case ENOMEM:
        strBody = bJapanese ? "メモリが不足しています。\n\n他のアプリケーションを終了してください"
                            : "Not enough memory space.\n\nPlease quit other application.";
        break;
      default:
        strBody = bJapanese ? "その他のエラーです。" : "Unknown error.";
        break;
    }
    strCode.Format("Error code : 001:%04d", nError);
  }

  const CString strMessage = (bJapanese ? "セットアップが失敗しました。\n\n" : "Setup Failed\n\n") + strBody;
  SetWindowText("Setup is canceled.");
  m_Message.SetWindowText(strMessage);
  m_ErrorCode.SetWindowText(strCode);
  return TRUE;
}

int CSetupDlg::GetOSClass() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  const BOOL bOk = GetVersionExA(&info);
  const DWORD dwError = GetLastError();
  if (!bOk) {
    m_strErrorCode.Format("Error code : 000:%04d", static_cast<int>(dwError));
    return -1;
  }
  switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
      // Windows 95 has minor version 0; 98 and Me have others.
      return info.dwMinorVersion == 0 ? -1 : 0;
    case VER_PLATFORM_WIN32_NT:
      if (info.dwMajorVersion == 4) return info.dwBuildNumber == 1381 ? 1 : -1;
      if (info.dwMajorVersion == 5) {
        if (info.dwBuildNumber == 2195) return 2;
        return info.dwMinorVersion == 1 ? 3 : -1;
      }
      return -1;
    default:
      return 4;
  }
}

void CSetupDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
  } else {
    CDialog::OnSysCommand(nID, lParam);
  }
}

// Minimised, the dialog shows its icon centred in what is left of it.
void CSetupDlg::OnPaint() {
  if (IsIconic()) {
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
  } else {
    CDialog::OnPaint();
  }
}

// The picture the system shows while the minimised dialog is dragged.
HCURSOR CSetupDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }
