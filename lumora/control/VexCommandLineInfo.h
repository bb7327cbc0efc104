// CVexCommandLineInfo: the program's options. /c names a setting file, /i an INI file,
// /r (as the last argument) starts from defaults; a name may be glued to its letter or
// follow as the next argument.
#pragma once
#include <afxwin.h>

class CVexCommandLineInfo : public CCommandLineInfo {
 public:
  CVexCommandLineInfo() = default;
  void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) override;

  int HasSettingFile() const { return m_bSettingFile; }
  int HasIniFile() const { return m_bIniFile; }
  int IsResetRequested() const { return m_bReset; }
  CString GetSettingFilePath() const { return m_strSettingFile; }
  CString GetIniFilePath() const { return m_strIniFile; }

  static CString MakeSettingFilePath(const CString& name);
  static CString MakeIniFilePath(const CString& name);
  // Drive and folder of the program, ending in a backslash; empty when unknown.
  static CString GetProgramFolder();

 private:
  void TakePlain(LPCSTR text);

  int m_bSettingFile = 0;
  int m_bIniFile = 0;
  int m_nPending = 0;  // 1: the next plain argument is the setting file, 2: the INI file
  CString m_strSettingFile;
  CString m_strIniFile;
  int m_bReset = 0;
};
