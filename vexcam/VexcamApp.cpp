#include "VexcamApp.h"

#include <cstdio>
#include <new>

#include "CameraCtrl.h"

namespace {
CVexcamApp* running = nullptr;

CString Folder(UINT (*get)(LPSTR, UINT)) {
  char buffer[MAX_PATH] = {};
  get(buffer, MAX_PATH);
  return CString(buffer) + "\\";
}
}  // namespace

CVexcamApp* GetVexcamApp() { return running; }

CVexcamApp::CVexcamApp() = default;
CVexcamApp::~CVexcamApp() = default;

// The INI file counts as found in a folder when its camera section names a camera type.
void CVexcamApp::FindIniFile(const CString& baseName) {
  for (const CString* folder : {&m_WindowsFolder, &m_SystemFolder}) {
    CString path = *folder + baseName + ".INI";
    std::snprintf(m_szIniPath, sizeof m_szIniPath, "%s", static_cast<LPCSTR>(path));
    if (GetPrivateProfileIntA("Camera Option", "Camera Type", -1, m_szIniPath) != UINT(-1)) return;
  }
  CString path = m_LibraryFolder + baseName + ".INI";
  std::snprintf(m_szIniPath, sizeof m_szIniPath, "%s", static_cast<LPCSTR>(path));
}

BOOL CVexcamApp::InitInstance() {
  running = this;
  m_hResource = LoadLibraryA("Quillon");
  m_WindowsFolder = Folder(GetWindowsDirectoryA);
  m_SystemFolder = Folder(GetSystemDirectoryA);

  char module[MAX_PATH] = {};
  GetModuleFileNameA(m_hInstance, module, MAX_PATH);
  CString path(module);
  int slash = path.ReverseFind('\\');
  m_LibraryFolder = path.Left(slash + 1);
  CString baseName = path.Mid(slash + 1);
  int dot = baseName.ReverseFind('.');
  if (dot >= 0) baseName = baseName.Left(dot);
  if (baseName.IsEmpty()) baseName = "Vexcam";
  FindIniFile(baseName);

  try {
    m_pCamera = std::make_unique<CCameraCtrl>();
  } catch (const std::bad_alloc&) {
    m_pCamera.reset();
  }
  SetCamera(m_pCamera.get());
  return CVexcamAppBase::InitInstance();
}

int CVexcamApp::ExitInstance() {
  if (m_hResource) FreeLibrary(m_hResource);
  m_hResource = nullptr;
  SetCamera(nullptr);
  m_pCamera.reset();
  running = nullptr;
  return CVexcamAppBase::ExitInstance();
}
