#include "ProgressWindows.h"

#include <algorithm>

#include "CameraCtrl.h"
#include "SettingsBlock.h"
#include "VexcamApp.h"

namespace {

constexpr WORD kReadoutTemplate = 604, kWhiteBalanceTemplate = 605;
constexpr UINT kBarCaptionBase = 20;

// The resource library the library loaded at start, or null.
HMODULE ResourceLibrary() {
  CVexcamApp* app = GetVexcamApp();
  return app ? app->m_hResource : nullptr;
}

// The template from the resource library, or null when it (or the library) is missing.
LPCDLGTEMPLATEA FindTemplate(WORD id) {
  HMODULE module = ResourceLibrary();
  if (!module) return nullptr;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  return loaded ? static_cast<LPCDLGTEMPLATEA>(LockResource(loaded)) : nullptr;
}

void PumpWindow(HWND hwnd) {
  MSG msg;
  while (PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

// ---- readout progress

CReadoutProgressWnd::CReadoutProgressWnd(HWND parent) {
  if (LPCDLGTEMPLATEA t = FindTemplate(kReadoutTemplate))
    m_hWnd = CreateDialogIndirectParamA(nullptr, t, parent, DialogProc, reinterpret_cast<LPARAM>(this));
}

CReadoutProgressWnd::~CReadoutProgressWnd() {
  if (m_hWnd) DestroyWindow(m_hWnd);
  for (HBRUSH& b : m_Brush)
    if (b) DeleteObject(b), b = nullptr;
}

INT_PTR CALLBACK CReadoutProgressWnd::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CReadoutProgressWnd*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    const COLORREF colours[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    for (int i = 0; i < 4; ++i) self->m_Brush[i] = CreateSolidBrush(colours[i]);
    SetWindowPos(hwnd, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    return TRUE;
  }
  if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    if (HaveSettings()) Settings().bAbort = 1;
    EndDialog(hwnd, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

int CReadoutProgressWnd::BarEnd(int percent) { return 80 + std::clamp(percent, 0, 100); }

void CReadoutProgressWnd::DrawBar(int n, int percent) {
  if (!m_hWnd) return;
  HDC dc = GetDC(m_hWnd);
  if (!dc) return;
  int y = 20 + 20 * n;
  int end = BarEnd(percent);
  RECT done{80, y, end, y + 5}, rest{end, y, 180, y + 5};
  if (end > 80) FillRect(dc, &done, m_Brush[n - 1]);
  if (end < 180) FillRect(dc, &rest, m_Brush[3]);
  char caption[256] = {};
  int length = ResourceLibrary() ? LoadStringA(ResourceLibrary(), kBarCaptionBase + UINT(n), caption, 256) : 0;
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 2, y - 10, caption, std::max(0, length));
  InvalidateRect(m_hWnd, nullptr, FALSE);
  UpdateWindow(m_hWnd);
  ReleaseDC(m_hWnd, dc);
}

void CReadoutProgressWnd::Pump() {
  if (m_hWnd) PumpWindow(m_hWnd);
}

// ---- white-balance preview

CWhiteBalanceWnd::CWhiteBalanceWnd(HWND parent) {
  if (LPCDLGTEMPLATEA t = FindTemplate(kWhiteBalanceTemplate))
    m_hWnd = CreateDialogIndirectParamA(nullptr, t, parent, DialogProc, 0);
}

CWhiteBalanceWnd::~CWhiteBalanceWnd() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CWhiteBalanceWnd::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(hwnd, IDCANCEL);
    if (CCameraCtrl* camera = Camera()) camera->m_WhiteBalanceOpen = false;
    return TRUE;
  }
  return FALSE;
}

LONG ExposureIndex(LONG value, LONG mode) {
  if (mode == 1) {
    static constexpr LONG kValues[10] = {500, 250, 125, 50, 25, 12, 6, 3, 2, 1};
    for (LONG i = 0; i < 10; ++i)
      if (kValues[i] == value) return i;
    return 10;
  }
  if (mode == 2) {
    static constexpr LONG kValues[6] = {1, 2, 3, 6, 12, 24};
    for (LONG i = 0; i < 6; ++i)
      if (kValues[i] == value) return -1 - i;
    return -7;
  }
  return 10;
}

// ---- the camera object's side

void CCameraCtrl::DestroyProgress() { m_pProgress.reset(); }

int CCameraCtrl::UpdateProgress(int percent) {
  if (HaveSettings()) Settings().Progress[2] = BYTE(std::clamp(percent, 0, 255));
  if (!m_pProgress) return 1;
  m_pProgress->Pump();
  if (HaveSettings() && Settings().bAbort) {
    DestroyProgress();
    return 0;
  }
  m_pProgress->DrawBar3(percent);
  return 1;
}

int CCameraCtrl::PumpWhiteBalance() {
  if (m_WhiteBalanceOpen) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // The caller's loop must still see a quit taken here.
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (!m_WhiteBalanceOpen) return 0;
  }
  return HaveSettings() && Settings().bAbort ? 0 : 1;
}
