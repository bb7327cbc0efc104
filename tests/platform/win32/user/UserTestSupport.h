// A window class whose procedure records the messages it gets, for order tests.
#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "windows.h"

namespace usertest {

struct Entry {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

class Recorder {
 public:
  Recorder();
  ~Recorder();
  // Creates a recording window (class "RecWnd").
  HWND Create(const char* name, DWORD style, int x, int y, int w, int h, HWND parent = nullptr, int id = 0,
              DWORD exStyle = 0);
  // The recorded messages among `kinds` (all when empty), in order, as "name:MSG" strings.
  std::vector<std::string> Log(const std::vector<UINT>& kinds = {});
  void Clear();
  // Answers for a message (instead of DefWindowProcA).
  std::map<UINT, std::function<LRESULT(HWND, WPARAM, LPARAM)>> handlers;
  std::string NameOf(HWND h);

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  std::mutex m_;
  std::vector<Entry> log_;
  std::map<HWND, std::string> names_;
};

const char* MessageName(UINT msg);
// Pumps this thread's messages until none is left.
void Pump();
// The colour of a pixel of the process's screen.
COLORREF ScreenAt(int x, int y);

}  // namespace usertest
