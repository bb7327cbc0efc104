#include "SECUserTool.h"

#include <afxwin.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "SECFileSystem.h"

IMPLEMENT_SERIAL(SECUserTool, CObject, 1)

SECUserTool::SECUserTool() : m_bWait(TRUE), m_nShowCmd(SW_SHOWNORMAL) {}

SECUserTool::SECUserTool(const SECUserTool& other)
    : CObject(),
      m_bWait(other.m_bWait),
      m_strMenuText(other.m_strMenuText),
      m_strCommand(other.m_strCommand),
      m_strArguments(other.m_strArguments),
      m_strDirectory(other.m_strDirectory),
      m_nShowCmd(other.m_nShowCmd) {}

SECUserTool& SECUserTool::operator=(const SECUserTool& other) {
  if (this == &other) return *this;
  m_bWait = other.m_bWait;
  m_strMenuText = other.m_strMenuText;
  m_strCommand = other.m_strCommand;
  m_strArguments = other.m_strArguments;
  m_strDirectory = other.m_strDirectory;
  m_nShowCmd = other.m_nShowCmd;
  return *this;
}

SECUserTool* SECUserTool::Clone() const { return new SECUserTool(*this); }

void SECUserTool::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar << static_cast<LONG>(m_bWait) << m_strMenuText << m_strCommand << m_strArguments << m_strDirectory
       << static_cast<LONG>(m_nShowCmd);
  } else {
    LONG wait = 0, show = 0;
    ar >> wait >> m_strMenuText >> m_strCommand >> m_strArguments >> m_strDirectory >> show;
    m_bWait = wait;
    m_nShowCmd = show;
  }
}

BOOL SECUserTool::SplitMacro(LPCSTR lpszPair, CString& strKey, CString& strValue) {
  CString pair(lpszPair ? lpszPair : "");
  int equals = pair.Find('=');
  if (equals < 0) return FALSE;
  strKey = pair.Left(equals);
  strValue = pair.Mid(equals + 1);
  return !strKey.IsEmpty() && !strValue.IsEmpty();
}

BOOL SECUserTool::Execute(const CStringList* pMacros) {
  CString command = m_strCommand;
  CString arguments = m_strArguments;
  CString directory = m_strDirectory;
  if (pMacros) {
    for (POSITION pos = pMacros->GetHeadPosition(); pos;) {
      const CString& entry = pMacros->GetNext(pos);
      CString key, value;
      if (!SplitMacro(entry, key, value)) continue;
      ReplaceAll(command, key, value, FALSE);
      ReplaceAll(arguments, key, value, FALSE);
      ReplaceAll(directory, key, value, FALSE);
    }
  }
  // A program whose path holds blanks goes in quotes, or "C:\Program Files\x.exe" could
  // start "C:\Program". Anything else goes as written.
  CString line = command;
  if (command.FindOneOf(" \t") >= 0 && command[0] != '"' && SECFileSystem().FileExists(command) &&
      !SECFileSystem().DirectoryExists(command))
    line = "\"" + command + "\"";
  if (!arguments.IsEmpty()) line += " " + arguments;

  // The system may write into the command line it is given.
  std::vector<char> buffer(static_cast<LPCSTR>(line), static_cast<LPCSTR>(line) + line.GetLength() + 1);
  return RunProcess(directory, buffer.data(), m_nShowCmd, m_bWait);
}

namespace {

// Hands every pending message of the thread on, as the message loop would, so the user
// interface stays alive while a tool runs.
void PumpPendingMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The loop that asked to end must still see it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->PreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (pApp) {
      pApp->OnIdle(0);
      pApp->OnIdle(1);
    }
  }
}

}  // namespace

BOOL SECUserTool::RunProcess(LPCSTR lpszDirectory, LPSTR lpszCommandLine, int nShowCmd, BOOL bWait) {
  // The folder goes to the program only: the current folder is the whole program's,
  // shared by its threads and dialogs, and stays as it is.
  LPCSTR folder = lpszDirectory && *lpszDirectory ? lpszDirectory : nullptr;
  STARTUPINFO startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(nShowCmd);
  PROCESS_INFORMATION process{};
  if (!::CreateProcess(nullptr, lpszCommandLine, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process))
    return FALSE;
  ::CloseHandle(process.hThread);
  BOOL result = TRUE;
  if (bWait) {
    for (;;) {
      DWORD waited = ::WaitForSingleObject(process.hProcess, 200);
      if (waited != WAIT_TIMEOUT) {
        result = waited == WAIT_OBJECT_0;
        break;
      }
      PumpPendingMessages();
    }
  }
  ::CloseHandle(process.hProcess);
  return result;
}

int ReplaceAll(CString& text, LPCSTR lpszFrom, LPCSTR lpszTo, BOOL bIgnoreCase) {
  if (!lpszFrom || !*lpszFrom || !lpszTo) return -1;
  const int fromLength = static_cast<int>(std::strlen(lpszFrom));
  const int length = text.GetLength();
  if (length < fromLength) return 0;
  auto same = [bIgnoreCase](char a, char b) {
    if (!bIgnoreCase) return a == b;
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
  };
  LPCSTR source = text;
  CString result;
  int count = 0;
  for (int i = 0; i < length;) {
    bool hit = i + fromLength <= length;
    for (int k = 0; hit && k < fromLength; ++k) hit = same(source[i + k], lpszFrom[k]);
    if (hit) {
      result += lpszTo;
      i += fromLength;
      ++count;
    } else {
      result += source[i];
      ++i;
    }
  }
  text = result;
  return count;
}
