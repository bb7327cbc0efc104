#include "afxwin.h"
#include "CWinApp.h"

#include <cstdio>
#include <mutex>

#include "CDocTemplate.h"
#include "CDocument.h"
#include "CCommandLineInfo.h"
#include "CWnd.h"
#include "rc/ResourceRegistry.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
  // The standard Exit command closes the main window, as the framework's own map does.
  ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

namespace plat::afx {
namespace {
std::mutex g_boxMutex;
MessageBoxHook g_boxHook = nullptr;

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard lock(g_boxMutex);
  g_boxHook = hook;
}

int ShowMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  MessageBoxHook hook;
  {
    std::lock_guard lock(g_boxMutex);
    hook = g_boxHook;
  }
  return hook ? hook(owner, text, caption, type) : ::MessageBoxA(owner, text, caption, type);
}

ModuleState& Module() {
  static ModuleState state;
  return state;
}

ThreadState& Thread() {
  thread_local ThreadState state;
  return state;
}

ThreadState::~ThreadState() {
  if (hHookCreate) ::UnhookWindowsHookEx(hHookCreate);
}

void DeleteTempMaps() {
  auto& ts = Thread();
  ts.wnds.DeleteTemp();
  ts.dcs.DeleteTemp();
  ts.gdiObjects.DeleteTemp();
  ts.menus.DeleteTemp();
}

namespace {
std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
std::string WithoutExtension(const std::string& name) {
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}
std::string ModuleFileName(HINSTANCE module) {
  char path[MAX_PATH] = "";
  ::GetModuleFileNameA(reinterpret_cast<HMODULE>(module), path, sizeof path);
  return path;
}
}  // namespace
}  // namespace plat::afx

using plat::afx::Module;

CWinApp::CWinApp(LPCSTR lpszAppName) {
  if (lpszAppName) {
    m_appName = lpszAppName;
    m_pszAppName = m_appName.c_str();
  }
  Module().pApp = this;
  plat::afx::Thread().pThread = this;
  m_nThreadID = ::GetCurrentThreadId();
  m_hThread = ::GetCurrentThread();
  m_bAutoDelete = FALSE;
}

CWinApp::~CWinApp() {
  m_templates.clear();
  if (Module().pApp == this) Module().pApp = nullptr;
  auto& ts = plat::afx::Thread();
  if (ts.pThread == this) ts.pThread = nullptr;
  m_hThread = nullptr;  // the pseudo handle of the current thread is not closed
}

void CWinApp::SetStartupInfo(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow) {
  using namespace plat::afx;
  m_hInstance = hInstance ? hInstance : reinterpret_cast<HINSTANCE>(::GetModuleHandleA(nullptr));
  m_cmdLine = lpCmdLine ? lpCmdLine : "";
  m_lpCmdLine = m_cmdLine.data();
  m_nCmdShow = nCmdShow;
  Module().hInstance = m_hInstance;
  if (!Module().hResource) Module().hResource = m_hInstance;
  std::string path = ModuleFileName(m_hInstance);
  m_exeName = WithoutExtension(BaseName(path));
  m_pszExeName = m_exeName.c_str();
  if (!m_pszAppName) {
    CString title;
    m_appName = AfxLoadString(AFX_IDS_APP_TITLE, title) ? std::string(title) : m_exeName;
    m_pszAppName = m_appName.c_str();
  }
  Module().appName = m_pszAppName;
  if (!m_pszProfileName) {
    // The settings live beside the program, so each installation keeps its own.
    m_profileName = WithoutExtension(path) + ".INI";
    m_pszProfileName = m_profileName.c_str();
  }
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int CWinApp::Run() {
  if (!m_pMainWnd) ::PostQuitMessage(0);  // nothing to run without a main window
  return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWinThread::OnIdle(lCount);
  } else if (lCount == 1) {
    CWinThread::OnIdle(lCount);
  }
  return lCount < 1;
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT) {
  plat::afx::ModalOwner owner(nullptr);
  if ((nType & 0xF0) == 0) {
    // A box without an icon gets the one its buttons suggest.
    switch (nType & 0xF) {
      case MB_OK:
      case MB_OKCANCEL: nType |= MB_ICONEXCLAMATION; break;
      case MB_YESNO:
      case MB_YESNOCANCEL: nType |= MB_ICONQUESTION; break;
      case MB_ABORTRETRYIGNORE:
      case MB_RETRYCANCEL: break;
    }
  }
  return plat::afx::ShowMessageBox(owner.Hwnd(), lpszPrompt, m_pszAppName ? m_pszAppName : "", nType);
}

void CWinApp::DoWaitCursor(int nCode) {
  // The hourglass stays while any caller still waits; the cursor before the first comes back.
  HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount > 0) {
    HCURSOR previous = ::SetCursor(wait);
    if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = previous;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore);
  }
}

HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const { return ::LoadCursorA(AfxGetResourceHandle(), lpszResourceName); }
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }
HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const { return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName); }
HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
HICON CWinApp::LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }

// ---- profile

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
  return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
  char text[16];
  snprintf(text, sizeof text, "%d", nValue);
  return ::WritePrivateProfileStringA(lpszSection, lpszEntry, text, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
  if (!lpszDefault) lpszDefault = "";
  // Grow the buffer until the value fits.
  for (DWORD size = 256;; size *= 2) {
    std::string buffer(size, '\0');
    DWORD n = ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault, buffer.data(), size, m_pszProfileName);
    if (n < size - 1 || size >= (1u << 24)) return CString(buffer.c_str());
  }
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
  return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

// Binary values are stored as two letters a byte, 'A' plus the low then the high nibble.
BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
  *ppData = nullptr;
  *pBytes = 0;
  CString text = GetProfileString(lpszSection, lpszEntry, nullptr);
  int len = text.GetLength();
  if (len == 0 || len % 2 != 0) return FALSE;
  const char* s = text;
  for (int i = 0; i < len; ++i)
    if (s[i] < 'A' || s[i] > 'P') return FALSE;  // damaged value: nothing rather than garbage
  UINT n = static_cast<UINT>(len / 2);
  auto data = std::make_unique<BYTE[]>(n);
  for (UINT i = 0; i < n; ++i)
    data[i] = static_cast<BYTE>(((s[i * 2 + 1] - 'A') << 4) | (s[i * 2] - 'A'));
  *ppData = data.release();
  *pBytes = n;
  return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  std::string text(static_cast<size_t>(nBytes) * 2, 'A');
  for (UINT i = 0; i < nBytes; ++i) {
    text[i * 2] = static_cast<char>('A' + (pData[i] & 0x0F));
    text[i * 2 + 1] = static_cast<char>('A' + ((pData[i] >> 4) & 0x0F));
  }
  return WriteProfileString(lpszSection, lpszEntry, text.c_str());
}

// ---- documents

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (!pTemplate) return;
  pTemplate->LoadTemplate();
  m_templates.emplace_back(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_templates.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(1));
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
  auto index = reinterpret_cast<uintptr_t>(pos) - 1;
  CDocTemplate* result = m_templates[index].get();
  pos = index + 1 < m_templates.size() ? reinterpret_cast<POSITION>(static_cast<uintptr_t>(index + 2)) : nullptr;
  return result;
}

void CWinApp::OnFileNew() {
  if (m_templates.empty()) return;
  m_templates.front()->OpenDocumentFile(nullptr);
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName) {
  if (m_templates.empty()) return nullptr;
  return m_templates.front()->OpenDocumentFile(lpszFileName);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
  for (auto& t : m_templates) t->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::SaveAllModified() {
  for (auto& t : m_templates)
    if (!t->SaveAllModified()) return FALSE;
  return TRUE;
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp() {}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) { m_helpRequests.push_back(HelpRequest{dwData, nCmd}); }

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  std::vector<std::string> args = plat::afx::SplitCommandLine(m_lpCmdLine ? m_lpCmdLine : "");
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool flag = !a.empty() && (a[0] == '/' || a[0] == '-');
    rCmdInfo.ParseParam(flag ? a.c_str() + 1 : a.c_str(), flag, i + 1 == args.size());
  }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnFileNew();
      if (!m_pMainWnd) return FALSE;
      return TRUE;
    case CCommandLineInfo::FileOpen:
      if (!OpenDocumentFile(rCmdInfo.m_strFileName)) return FALSE;
      return TRUE;
    case CCommandLineInfo::FileNothing:
      return TRUE;
    default:
      return FALSE;
  }
}

// ---- global helpers

CWinApp* AfxGetApp() { return Module().pApp; }

CWnd* AfxGetMainWnd() {
  CWinThread* pThread = AfxGetThread();
  return pThread ? pThread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
  if (!Module().hInstance) Module().hInstance = reinterpret_cast<HINSTANCE>(::GetModuleHandleA(nullptr));
  return Module().hInstance;
}

HINSTANCE AfxGetResourceHandle() { return Module().hResource ? Module().hResource : AfxGetInstanceHandle(); }
void AfxSetResourceHandle(HINSTANCE hInstResource) { Module().hResource = hInstResource; }
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) {
  HINSTANCE resource = AfxGetResourceHandle();
  if (::FindResourceA(reinterpret_cast<HMODULE>(resource), lpszName, lpszType)) return resource;
  return AfxGetInstanceHandle();
}
LPCSTR AfxGetAppName() { return Module().appName ? Module().appName : ""; }
void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

BOOL AfxLoadString(UINT nID, CString& rString) {
  std::string module = plat::afx::BaseName(plat::afx::ModuleFileName(AfxGetResourceHandle()));
  auto text = plat::rc::LoadString(module, nID);
  rString = text ? CString(text->c_str()) : CString();
  return text.has_value();
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
  if (CWinApp* app = AfxGetApp()) return app->DoMessageBox(lpszText, nType, nIDHelp);
  return plat::afx::ShowMessageBox(nullptr, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  AfxLoadString(nIDPrompt, text);
  if (nIDHelp == static_cast<UINT>(-1)) nIDHelp = nIDPrompt;
  return AfxMessageBox(text, nType, nIDHelp);
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) return FALSE;
  app->m_hPrevInstance = hPrevInstance;
  app->SetStartupInfo(hInstance, lpCmdLine, nCmdShow);
  return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) || !app->InitApplication()) return -1;
  int code;
  if (!app->InitInstance()) {
    if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
    code = app->ExitInstance();
  } else {
    code = app->Run();
  }
  plat::afx::DeleteTempMaps();
  return code;
}
