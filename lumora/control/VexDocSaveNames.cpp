// CVexDoc: automatic and time-lapse save names, the save and thumbnail folders.
#include "VexCommandLineInfo.h"
#include "VexCreateFileName.h"
#include "VexDoc.h"
#include "controls/SECFileSystem.h"

#include <cstring>
#include <string>

namespace {

constexpr UINT kStatusBarId = 59393;

// Format code, quality (0 keeps the stored one) and extension of each FileFormat.
struct SaveKind {
  LONG format;
  LONG quality;
  LPCSTR extension;
};
SaveKind KindOfFileFormat(DWORD fileFormat) {
  switch (fileFormat) {
    case 0: return {98, 2, ".jpg"};
    case 1: return {98, 10, ".jpg"};
    case 2: return {98, 35, ".jpg"};
    case 3: return {6, 0, ".bmp"};
    case 4: return {3, 0, ".tif"};
    default: return {98, 0, ".jpg"};
  }
}

bool EndsInSeparator(const CString& path) {
  const int n = path.GetLength();
  return n > 0 && (path[n - 1] == '\\' || path[n - 1] == '/');
}

// The first of base, base_2, base_3 ... that names no file with this extension, so that
// an automatic name never replaces a picture already on disk.
CString FreeName(const CString& base, LPCSTR extension) {
  CString candidate = base;
  for (int n = 2; CVexDoc::FileExists(candidate + extension); ++n) candidate.Format("%s_%d", (LPCSTR)base, n);
  return candidate;
}

}  // namespace

// Folder, prefix and body joined the way the save folder is prepared, so that a picture
// lands in the folder whose "s" sub-folder holds its thumbnail.
CString CVexDoc::JoinSaveTemplate() const {
  CString name = m_szSaveFolder;
  if (!EndsInSeparator(name)) name += '\\';
  return name + m_szSavePrefix + m_szSaveBody;
}

CString CVexDoc::SettingFileName() const {
  if (m_strSettingFile.IsEmpty()) return CString();
  char drive[MAX_PATH], dir[MAX_PATH], base[MAX_PATH], ext[MAX_PATH];
  std::string path = (LPCSTR)m_strSettingFile;
  if (path.size() >= MAX_PATH) path.resize(MAX_PATH - 1);
  _splitpath(path.c_str(), drive, dir, base, ext);
  return CString(base);
}

LPCSTR CVexDoc::ApplyFileFormat() {
  const SaveKind kind = KindOfFileFormat(m_nFileFormat);
  m_nSaveFormat = kind.format;
  if (kind.quality != 0) m_nSaveQuality = kind.quality;
  return kind.extension;
}

CString CVexDoc::MakeAutoSaveName() {
  LPCSTR extension = ApplyFileFormat();
  CVexCreateFileName namer;
  CString name = JoinSaveTemplate();
  namer.Expand(name, -1, SettingFileName());
  name.Replace("$C", GetResolutionLabel());

  if (name.Find("$#") >= 0) {
    // Continue after the highest number present; the match is by prefix, so any
    // extension (and any longer name) counts.
    LONG number = 1;
    for (LONG n = 1000; n >= 1; --n) {
      CString pattern = name;
      namer.Expand(pattern, n, CString());
      pattern += '*';
      WIN32_FIND_DATAA found;
      HANDLE h = FindFirstFileA(pattern, &found);
      if (h != INVALID_HANDLE_VALUE) {
        FindClose(h);
        number = n + 1;
        break;
      }
    }
    CString numbered;
    for (;; ++number) {  // past 1000 the search above no longer sees every number
      numbered = name;
      namer.Expand(numbered, number, CString());
      if (!FileExists(numbered + extension)) break;
    }
    m_strSaveBaseName = numbered;
  } else {
    m_strSaveBaseName = FreeName(name, extension);
  }
  m_strNextSavePath = m_strSaveBaseName + extension;
  return m_strNextSavePath;
}

CString CVexDoc::MakeTimeLapseName() {
  LPCSTR extension = ApplyFileFormat();
  CString name;
  name.Format("%s!$YY$MM$DD$HH$mm$ss", (LPCSTR)m_strSaveBaseName);
  CVexCreateFileName().Expand(name, 0, SettingFileName());
  name.Replace("$C", GetResolutionLabel());
  // Two shots within one second would share a name.
  m_strNextSavePath = FreeName(name, extension) + extension;
  return m_strNextSavePath;
}

void CVexDoc::PrepareSaveFolder() {
  CString folder = JoinSaveTemplate();
  CVexCreateFileName().Expand(folder, -1, SettingFileName());
  m_strSaveFolderPath = SECFileSystem().GetPath(folder);
  m_strThumbnailFolder = m_strSaveFolderPath;
  if (!EndsInSeparator(m_strThumbnailFolder)) m_strThumbnailFolder += '\\';
  m_strThumbnailFolder += "s\\";
}

void CVexDoc::SetSavePath(const CString& path, LONG format, LONG bits, LONG quality) {
  m_strNextSavePath = path;
  m_nSaveFormat = format;
  m_nSaveBits = bits;
  m_nSaveQuality = quality;
}

int CVexDoc::FileExists(const CString& path) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(path, &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  FindClose(h);
  return 1;
}

int CVexDoc::GetFormatFromExtension(const CString& path) {
  char drive[MAX_PATH], dir[MAX_PATH], base[MAX_PATH], ext[MAX_PATH];
  std::string text = (LPCSTR)path;
  if (text.size() >= MAX_PATH) text.resize(MAX_PATH - 1);
  _splitpath(text.c_str(), drive, dir, base, ext);
  CString e = ext;
  e.MakeLower();
  if (e == ".jpg" || e == ".jpeg") return 0;
  if (e == ".bmp") return 1;
  if (e == ".tif" || e == ".tiff") return 2;
  return -1;
}

CString CVexDoc::GetProgramFolder() { return CVexCommandLineInfo::GetProgramFolder(); }

void CVexDoc::SetStatusText(LPCSTR text) {
  CWnd* main = AfxGetMainWnd();
  if (main && main->m_hWnd) ::SetDlgItemTextA(main->m_hWnd, kStatusBarId, text);
}
