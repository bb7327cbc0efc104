// CVexFileDialog: the program's open and save dialog for pictures and setting files.
// It checks the chosen name before the dialog closes: allowed characters, a known
// extension (added from the filter when missing), overwriting, and for a JPEG picture
// the quality.
#pragma once
#include <afxdlgs.h>

class CVexFileDialog : public CFileDialog {
 public:
  // File kinds: 0 JPEG, 1 BMP, 2 TIFF, 3 setting file, -1 anything else.
  enum { kJpeg = 0, kBmp = 1, kTiff = 2, kSettingFile = 3, kUnknown = -1 };

  CVexFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags, LPCSTR lpszFilter,
                 CWnd* pParentWnd, int settingFile, int defaultFormat);

  // 0 accepts the name; non-zero keeps the dialog open.
  BOOL OnFileNameOK() override;
  const CString& GetResultPath() const { return m_strResultPath; }
  int GetFileKind() const { return m_nFileKind; }
  // A quality outside 0..2 is stored as 0 (Fine).
  void SetJpegQuality(int quality) { m_nJpegQuality = quality >= 0 && quality <= 2 ? quality : 0; }
  int GetJpegQuality() const { return m_nJpegQuality; }

  static int FileKindOf(const CString& path);
  // A path without extension gets `extension`; empty when the result is of no known kind.
  static CString AppendExtension(const CString& path, const CString& extension);
  static int FileExists(const CString& path);

 protected:
  BOOL OnInitDialog() override;

 private:
  BOOL CheckPictureName(const CString& chosen);

  int m_bOpen;
  int m_bSettingFile;
  int m_nFileKind = kUnknown;
  CString m_strResultPath;
  int m_nJpegQuality = 0;
  int m_nDefaultFormat;
};
