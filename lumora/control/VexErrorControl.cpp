#include "VexErrorControl.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "control/VexDoc.h"
#include "control/VexErrorDialog.h"

IMPLEMENT_DYNCREATE(CVexErrorControl, CView)

namespace {

struct MessageRow {
  int type, firstDetail, lastDetail;
  UINT id;
};

constexpr MessageRow kMessages[] = {
    {1, 1, 1, 62543},     {2, 1, 4, 62536},     {3, 1, 1, 62540},     {4, 1, 1, 62529},
    {110, 1, 5, 62538},   {110, 9, 9, 62538},   {110, 6, 8, 62535},   {110, 10, 10, 62553},
    {110, 11, 11, 62552}, {110, 12, 12, 62550}, {110, 13, 13, 62542}, {110, 14, 14, 62583},
    {110, 15, 15, 62582}, {110, 16, 16, 62584}, {110, 17, 17, 62585}, {110, 18, 18, 62586},
    {110, 19, 19, 62587}, {110, 20, 20, 62598}, {110, 21, 21, 62599}, {110, 22, 22, 62600},
    {110, 23, 23, 62601}, {120, 1, 5, 62534},   {210, 1, 1, 62531},   {220, 1, 6, 62531},
    {230, 1, 1, 62531},   {241, 1, 1, 62529},   {241, 2, 27, 62531},  {242, 1, 1, 62529},
    {243, 1, 1, 62529},   {244, 1, 1, 62529},   {245, 1, 1, 62529},   {246, 1, 1, 62529},
    {250, 1, 6, 62531},   {260, 1, 6, 62531},   {310, 1, 1, 62543},   {310, 2, 7, 62531},
    {410, 1, 5, 62532},   {411, 1, 1, 62529},   {412, 1, 1, 62529},   {413, 1, 1, 62565},
    {420, 1, 6, 62533},   {421, 1, 2, 62533},   {430, 1, 4, 62530},   {431, 1, 1, 62529},
    {432, 1, 1, 62529},   {500, 1, 1, 62529},   {600, 1, 1, 62539},   {700, 1, 2, 62541},
    {710, 1, 1, 62529},   {801, 1, 1, 62529},   {801, 2, 2, 62540},   {802, 1, 1, 62529},
    {803, 1, 1, 62529},   {804, 1, 1, 62529},   {900, 1, 1, 62566},   {901, 1, 1, 62529},
};

// The repeat guard lives for the whole process, across every error control.
int g_lastType = -1;
short g_repeats = 0;

// Ends at once: nothing more is logged, shown or saved.
void DefaultExit(int code) { std::_Exit(code); }
CVexErrorControl::ExitHook g_exit = DefaultExit;

CString TimeStamp() {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  CString text;
  text.Format("%04d/%02d/%02d.%02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return text;
}

// Splits a file's text into lines the way a 1024-byte line reader would, each line
// keeping its line break; at most `limit` lines.
std::vector<std::string> SplitLines(const std::string& text, size_t limit) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size() && lines.size() < limit) {
    size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    end = std::min(end, pos + 1023);
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return lines;
}

}  // namespace

void CVexErrorControl::SetExitHook(ExitHook hook) { g_exit = hook ? hook : DefaultExit; }

CVexDoc* CVexErrorControl::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

void CVexErrorControl::ReportError(int type, int detail) {
  if (type == g_lastType) {
    ++g_repeats;
  } else {
    g_lastType = type;
    g_repeats = 0;
  }
  const int found = GetErrorMessage(type, detail);
  if (g_repeats == kRepeatLimit) {
    g_exit(-1);
    return;
  }
  if (!found) return;
  WriteLog(type, detail);
  CVexErrorDialog dialog;
  dialog.SetContent(type, detail, m_strMessage);
  if (dialog.DoModal() == -1) ShowFailure("Error Dialog Init Error");
}

int CVexErrorControl::GetErrorMessage(int type, int detail) {
  m_strMessage.Empty();
  for (const MessageRow& row : kMessages) {
    if (row.type == type && detail >= row.firstDetail && detail <= row.lastDetail)
      return m_strMessage.LoadString(row.id) ? 1 : 0;
  }
  return 0;
}

void CVexErrorControl::ShowFailure(LPCSTR text) {
  ::MessageBoxA(m_hWnd, text, "Lumora Error", MB_OK | MB_ICONERROR);
}

CString CVexErrorControl::LogPath() {
  char program[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CString();
  char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath(program, drive, dir, name, ext);
  char path[MAX_PATH + 8] = {};
  _makepath(path, drive, dir, (std::string(name) + "err").c_str(), "log");
  return path;
}

int CVexErrorControl::WriteLog(int type, int detail) {
  const CString path = LogPath();
  if (path.IsEmpty()) {
    ShowFailure("Log Write Error");
    return 0;
  }
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ShowFailure("Log Read Error");
    return 0;
  }
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  ::CloseHandle(file);

  std::vector<std::string> lines = SplitLines(text, kLogLines);
  if (lines.size() == kLogLines) lines.erase(lines.begin());
  CString line;
  line.Format("%03d:%04d %s %s\n", type, detail, (LPCTSTR)TimeStamp(), (LPCTSTR)m_strMessage);
  lines.push_back(std::string(line));

  file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ShowFailure("Log Write Error");
    return 0;
  }
  std::string out;
  for (const std::string& l : lines) out += l;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  ::CloseHandle(file);
  if (!ok || written != out.size()) {
    ShowFailure("Log Write Error");
    return 0;
  }
  return 1;
}
