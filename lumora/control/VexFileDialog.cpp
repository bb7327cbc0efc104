#include "VexFileDialog.h"

#include "PathParts.h"
#include "VexAppIcon.h"
#include "VexJpegQuality.h"
#include "ui/MainFrame.h"

namespace {

CString Text(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}

// Characters no picture name may hold; a colon only as a drive's (second character).
bool HasInvalidCharacter(const CString& path) {
  if (path.FindOneOf("?*\"/<>|+%") >= 0) return true;
  const int colon = path.Find(':', 2);
  return colon >= 0;
}

}  // namespace

CVexFileDialog::CVexFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                               LPCSTR lpszFilter, CWnd* pParentWnd, int settingFile, int defaultFormat)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd),
      m_bOpen(bOpenFileDialog ? 1 : 0),
      m_bSettingFile(settingFile),
      m_nDefaultFormat(defaultFormat) {}

BOOL CVexFileDialog::OnInitDialog() {
  CFileDialog::OnInitDialog();
  SetAppIcon(*this);
  return TRUE;
}

int CVexFileDialog::FileKindOf(const CString& path) {
  CString ext = SplitPath(path).extension;
  ext.MakeLower();
  if (ext == ".jpg" || ext == ".jpeg") return kJpeg;
  if (ext == ".bmp") return kBmp;
  if (ext == ".tif" || ext == ".tiff") return kTiff;
  if (ext == ".vex") return kSettingFile;
  return kUnknown;
}

CString CVexFileDialog::AppendExtension(const CString& path, const CString& extension) {
  CString result = path;
  if (SplitPath(path).extension.IsEmpty()) {
    if (extension.IsEmpty()) return CString();
    result += extension;
  }
  return FileKindOf(result) == kUnknown ? CString() : result;
}

int CVexFileDialog::FileExists(const CString& path) { return PathExists(path); }

BOOL CVexFileDialog::OnFileNameOK() {
  const CString chosen = GetPathName();
  if (m_bOpen) {
    m_strResultPath = chosen;
    m_nFileKind = FileKindOf(chosen);
    // A picture of no known kind cannot be opened; a setting file may have any name.
    return !m_bSettingFile && m_nFileKind == kUnknown;
  }
  if (m_bSettingFile) {
    const CString withExtension = AppendExtension(chosen, ".vex");
    m_strResultPath = withExtension.IsEmpty() ? chosen : withExtension;
    m_nFileKind = FileKindOf(m_strResultPath);
    return FALSE;
  }
  return CheckPictureName(chosen);
}

BOOL CVexFileDialog::CheckPictureName(const CString& chosen) {
  if (HasInvalidCharacter(chosen)) {
    ::MessageBoxA(nullptr, chosen + "\n" + Text(62580), "File Save Dialog", MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
  }
  LPCSTR extension = " ";  // no kind: refused below
  switch (m_ofn.nFilterIndex) {
    case 1: extension = ".jpg"; break;
    case 2: extension = ".bmp"; break;
    case 3: extension = ".tif"; break;
    case 4:
      if (m_nDefaultFormat >= 0 && m_nDefaultFormat <= 2) extension = ".jpg";
      if (m_nDefaultFormat == 3) extension = ".bmp";
      if (m_nDefaultFormat == 4) extension = ".tif";
      break;
  }
  const CString path = AppendExtension(chosen, extension);
  CString title;
  if (m_hWnd) GetWindowText(title);
  // A setting file's name is no picture format either.
  if (path.IsEmpty() || FileKindOf(path) == kSettingFile) {
    ::MessageBoxA(m_hWnd, Text(62487), title, MB_OK);
    return TRUE;
  }
  if (FileExists(path)) {
    CString question;
    question.Format(Text(62485), (LPCSTR)path);
    if (::MessageBoxA(m_hWnd, question, title, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL) return TRUE;
  }
  const int kind = FileKindOf(path);
  if (kind == kJpeg) {
    CVexJpegQuality quality;
    quality.SetQuality(m_nJpegQuality);
    const int answer = quality.DoModal();
    if (answer == -1) {
      if (CMainFrame* frame = CMainFrame::Get()) frame->ReportError(421, 1);
      return TRUE;
    }
    if (answer != IDOK) return TRUE;
    m_nJpegQuality = quality.GetQuality();
  }
  m_strResultPath = path;
  m_nFileKind = kind;
  return FALSE;
}
