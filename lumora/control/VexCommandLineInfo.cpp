#include "VexCommandLineInfo.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

// A name completed with the default extension: kept whole when it has a drive and a
// folder, otherwise placed in the program folder.
CString CompleteName(const CString& name, const char* defaultExt) {
  std::string text = (LPCSTR)name;
  // A native absolute path is on drive Z:, which maps the whole file system.
  if (!text.empty() && text[0] == '/') text = "Z:" + text;
  char drive[256] = {}, dir[256] = {}, base[256] = {}, ext[256] = {};
  if (text.size() >= 256) text.resize(255);
  _splitpath(text.c_str(), drive, dir, base, ext);
  std::string e = ext[0] ? ext : defaultExt;
  if (drive[0] && dir[0]) return CString((std::string(drive) + dir + base + e).c_str());
  std::string folder = (LPCSTR)CVexCommandLineInfo::GetProgramFolder();
  return CString((folder + base + e).c_str());
}

}  // namespace

CString CVexCommandLineInfo::GetProgramFolder() {
  char module[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CString();
  char drive[MAX_PATH], dir[MAX_PATH], base[MAX_PATH], ext[MAX_PATH];
  _splitpath(module, drive, dir, base, ext);
  return CString((std::string(drive) + dir).c_str());
}

CString CVexCommandLineInfo::MakeSettingFilePath(const CString& name) { return CompleteName(name, ".vex"); }
CString CVexCommandLineInfo::MakeIniFilePath(const CString& name) { return CompleteName(name, ".ini"); }

void CVexCommandLineInfo::TakePlain(LPCSTR text) {
  if (m_nPending == 1) m_strSettingFile = MakeSettingFilePath(text);
  if (m_nPending == 2) m_strIniFile = MakeIniFilePath(text);
  m_nPending = 0;
}

void CVexCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL) {
  m_bReset = 0;  // /r holds only as the last argument
  if (!bFlag) {
    TakePlain(pszParam);
    return;
  }
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(pszParam[0])));
  // On this system a leading slash also starts an absolute path: an argument is an option
  // only when its letter is one of ours and no further slash follows.
  const bool option = (letter == 'c' || letter == 'i' || letter == 'r') && !std::strchr(pszParam, '/');
  if (!option) {
    if (std::strchr(pszParam, '/'))
      TakePlain((std::string("/") + pszParam).c_str());
    else
      m_nPending = 0;
    return;
  }
  const char* glued = pszParam + 1;
  switch (letter) {
    case 'c':
      m_bSettingFile = 1;
      m_nPending = 1;
      if (*glued) m_strSettingFile = MakeSettingFilePath(glued);
      break;
    case 'i':
      m_bIniFile = 1;
      m_nPending = 2;
      if (*glued) m_strIniFile = MakeIniFilePath(glued);
      break;
    default:  // 'r'
      if (!m_bIniFile) {
        m_bIniFile = 1;
        m_strIniFile = MakeIniFilePath("");
      }
      m_nPending = 0;
      m_bReset = 1;
      break;
  }
}
