// What the bar tests share: an application whose main window is a docking frame with a
// view, a status line (a window with the status bar's id whose text is the prompt),
// command handlers that record what reached them, and reading the composed screen.
#pragma once
#include <afxext.h>

#include <string>
#include <vector>

#include "Clock.h"
#include "ToolkitFixture.h"
#include "controls/SECCustomToolBar.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace toolkit_test {

namespace drv = plat::user::driver;

// The commands of the test toolbars; A to C have update handlers: A enabled, B
// disabled, C checked. D and the rest have handlers but no update handlers; H has none.
class CBarTestFrame : public CFrameWnd {
 public:
  std::vector<UINT> commands;
  BOOL enableA = TRUE;

 protected:
  afx_msg void OnCommandRange(UINT nID) { commands.push_back(nID); }
  afx_msg void OnUpdateA(CCmdUI* pCmdUI) { pCmdUI->Enable(enableA); }
  afx_msg void OnUpdateB(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  afx_msg void OnUpdateC(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
  DECLARE_MESSAGE_MAP()
};

// The status line: it keeps every text it was given, so that a test sees the prompts of
// a drag that has ended.
class CStatusLine : public CStatic {
 public:
  std::vector<std::string> texts;

 protected:
  afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam) {
    texts.emplace_back(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};

class BarTest : public ToolkitTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Handles everything queued, then the idle time of the application (command updates,
  // delayed layouts).
  void Settle();
  void Idle();
  // Moves virtual time on and lets due timers fire.
  void Elapse(int milliseconds);

  std::string StatusText() const;
  // The pixel of the composed screen at `screen`.
  static COLORREF ScreenPixel(CPoint screen);
  // A point of `wnd`'s client area in screen coordinates.
  static CPoint OnScreen(const CWnd& wnd, CPoint client);
  CRect ViewRect() const;  // the view in the frame's client coordinates
  // A point of the frame's client area on the screen.
  CPoint InFrame(CPoint client) const { return OnScreen(*frame, client); }
  // The frame's whole window (and `also`, a floating bar's frame) as a PNG: in the folder
  // LUMORA_DISPLAY_SHOTS names (the documentation's screenshots), else the scratch folder.
  void Screenshot(const std::string& name, CWnd* also = nullptr) const;

  // A toolbar as the program makes its own: cool look and gripper, docked on top, the
  // frame's standard docking; filled from `resource` (none: empty). The frame owns it.
  SECCustomToolBar* MakeToolBar(UINT resource, DWORD exStyle = CBRS_EX_COOL | CBRS_EX_GRIPPER,
                                UINT id = 0xFFFF, DWORD style = kProgramToolBarStyle);
  static constexpr DWORD kProgramToolBarStyle =
      WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;
  // A button's rectangle on the screen.
  static CRect ButtonOnScreen(const SECCustomToolBar& bar, int index);

  CWinApp app{"BarTest"};
  CBarTestFrame* frame = nullptr;
  CWnd view;
  CStatusLine statusWnd;
  HWND status = nullptr;
};

}  // namespace toolkit_test
