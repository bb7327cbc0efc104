// The library's own modeless windows: the readout progress window with its three bars
// and the white-balance preview window. Both come from templates of the resource
// library; without them no window is made and the work goes on without one.
#pragma once
#include <windows.h>

// Readout progress: three bars (red, green, blue); Cancel sets bAbort.
class CReadoutProgressWnd {
 public:
  explicit CReadoutProgressWnd(HWND parent);
  ~CReadoutProgressWnd();
  CReadoutProgressWnd(const CReadoutProgressWnd&) = delete;
  CReadoutProgressWnd& operator=(const CReadoutProgressWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  void DrawBar1(int percent) { DrawBar(1, percent); }
  void DrawBar2(int percent) { DrawBar(2, percent); }
  void DrawBar3(int percent) { DrawBar(3, percent); }
  // Removes and dispatches the window's waiting messages.
  void Pump();

  // Right end of the coloured part of a bar for a percentage (80 .. 180).
  static int BarEnd(int percent);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void DrawBar(int n, int percent);
  HWND m_hWnd = nullptr;
  HBRUSH m_Brush[4] = {};  // red, green, blue, white
};

// White-balance preview; Cancel closes it and clears the camera's open flag.
class CWhiteBalanceWnd {
 public:
  explicit CWhiteBalanceWnd(HWND parent);
  ~CWhiteBalanceWnd();
  CWhiteBalanceWnd(const CWhiteBalanceWnd&) = delete;
  CWhiteBalanceWnd& operator=(const CWhiteBalanceWnd&) = delete;
  HWND GetSafeHwnd() const { return m_hWnd; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND m_hWnd = nullptr;
};

// Exposure code of an exposure parameter in an exposure mode, for the white balance.
LONG ExposureIndex(LONG value, LONG mode);
