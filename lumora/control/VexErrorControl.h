// CVexErrorControl: where every error of the program is reported. It finds the pair's
// message, logs it beside the program, shows it, and ends the program when one error
// type keeps coming back. Runs on the user-interface thread only; workers record
// their pair in the document instead.
#pragma once
#include <afxwin.h>

#include "LumoraResource.h"

class CVexDoc;

class CVexErrorControl : public CView {
  DECLARE_DYNCREATE(CVexErrorControl)
 public:
  enum { kWindowId = IDW_ERROR_CONTROL, kLogLines = 100, kRepeatLimit = 10 };
  CVexErrorControl() = default;

  void ReportError(int type, int detail);
  // Sets the message text; 1 when the pair has a message, else 0 (text empty).
  int GetErrorMessage(int type, int detail);
  const CString& GetMessageText() const { return m_strMessage; }
  // Appends the pair to the log of the last 100 lines; 1 when it was rewritten.
  int WriteLog(int type, int detail);
  // The log beside the program: its base name + "err", extension "log".
  static CString LogPath();

  // Ending the process on a repeated error goes through here, so tests can watch it.
  using ExitHook = void (*)(int code);
  static void SetExitHook(ExitHook hook);

  CVexDoc* GetDocument() const;
  void OnDraw(CDC*) override {}

 private:
  void ShowFailure(LPCSTR text);
  CString m_strMessage;
};
