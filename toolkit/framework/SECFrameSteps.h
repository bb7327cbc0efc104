// The steps the class library's two main frames (SECFrameWnd and SECMDIFrameWnd) share:
// docking and floating on the library's dock bars, their saved arrangement, the menu and
// command plug-ins' first look at messages and commands, the customise-mode guards, and
// the layout, idle and colour steps. Each frame calls them with its own base class's
// step where one is needed, so a fault here is mended for both.
#pragma once
#include <afxext.h>

#include <functional>
#include <memory>

class SECControlBarManager;
class SECDockState;
class SECWndPlugIn;

// The commands the frames take and do nothing with: the toolbar manager's menu entries
// that have no action here, and the range its customise dialog sends.
#define SEC_FRAME_ABSORBED_COMMANDS()                   \
  ON_COMMAND(43007, OnEmptyCommand)                     \
  ON_COMMAND(43008, OnEmptyCommand)                     \
  ON_COMMAND(43009, OnEmptyCommand)                     \
  ON_COMMAND(43012, OnEmptyCommand)                     \
  ON_COMMAND(43013, OnEmptyCommand)                     \
  ON_COMMAND(43014, OnEmptyCommand)                     \
  ON_UPDATE_COMMAND_UI(43007, OnUpdateEmptyCommand)     \
  ON_UPDATE_COMMAND_UI(43008, OnUpdateEmptyCommand)     \
  ON_UPDATE_COMMAND_UI(43009, OnUpdateEmptyCommand)     \
  ON_UPDATE_COMMAND_UI(43012, OnUpdateEmptyCommand)     \
  ON_UPDATE_COMMAND_UI(43013, OnUpdateEmptyCommand)     \
  ON_UPDATE_COMMAND_UI(43014, OnUpdateEmptyCommand)     \
  ON_COMMAND_RANGE(43031, 43039, OnAbsorbedCommand)     \
  ON_UPDATE_COMMAND_UI(43031, OnUpdateAbsorbed)

namespace sec_frame {
// The dock-bar map of the library's frames: id and bar style, top, bottom, left, right.
struct DockBarEntry {
  UINT id;
  DWORD style;
};
inline constexpr DockBarEntry kDockBarMap[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};
// The dock bar for a bar that names none: the side its alignment names, else the first
// side its docking style allows.
CDockBar* DockBarFor(CFrameWnd& frame, CControlBar* pBar);
// The steps both library frames share.
void DockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void ReDockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void FloatBar(CFrameWnd& frame, CControlBar* pBar, CPoint point, DWORD dwStyle);

// What the message steps read and change of a frame: its window and the members both
// frames keep (the menu plug-in is the frame's own and may be replaced while a message
// runs, so it is held by reference).
struct FrameParts {
  CFrameWnd& frame;
  SECWndPlugIn*& menuPlugIn;
  SECControlBarManager* manager;
  BOOL bitmapMenus;
};

// The toolbar manager customises: the frame takes no clicks and does not close meanwhile.
BOOL InCustomiseMode(SECControlBarManager* manager);
// The dock bars on the sides dwDockStyle names that the frame lacks, each made by `make`.
void MakeDockBars(CFrameWnd& frame, DWORD dwDockStyle, const std::function<std::unique_ptr<CDockBar>()>& make);
// The saved arrangement of the frame's bars; bars made from saved records go to barInfo.
void LoadBarState(CFrameWnd& frame, SECControlBarManager* manager, CPtrList& barInfo, LPCSTR lpszProfileName);
void SaveBarState(CFrameWnd& frame, SECControlBarManager* manager, LPCSTR lpszProfileName);
void SetDockState(CFrameWnd& frame, SECDockState& state);
void GetDockState(CFrameWnd& frame, SECDockState& state);
// The command plug-in's look at a command: true when it handled it, its answer in `taken`.
bool PlugInCommand(SECWndPlugIn* plugIn, UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo,
                   BOOL& taken);

// A frame's WindowProc: the menu plug-in first, the close guard, then the base class's
// step (`callBase`), and the bitmap menus' conversion after the menu's update handlers.
bool BeforeMessage(const FrameParts& p, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
void AfterMessage(const FrameParts& p, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
template <class CallBase>
LRESULT WindowProc(const FrameParts& p, UINT message, WPARAM wParam, LPARAM lParam, CallBase callBase) {
  const HWND hWnd = p.frame.m_hWnd;
  LRESULT result = 0;
  if (BeforeMessage(p, message, wParam, lParam, result)) return result;
  result = callBase();
  AfterMessage(p, hWnd, message, wParam, lParam);
  return result;
}
// PreTranslateMessage's share: true when the menu plug-in or the close guard took it.
bool PreTranslate(const FrameParts& p, MSG* pMsg);

// In menu-bar mode, after the frame is loaded: the menu moves from the window to the bar
// (`menuBarMenu`); the window's former menu is returned.
HMENU MoveMenuToBar(CFrameWnd& frame, UINT nIDResource, HMENU& menuBarMenu);
// After the base layout: the first one redraws everything, later ones the bars pending.
void AfterLayout(CFrameWnd& frame, CRect& lastClient);
// After print preview: the bars come back from hiding and are all drawn again.
void AfterPreviewMode(CFrameWnd& frame, BOOL bPreview);
// The layout a dialog's idle time owes while the toolbars are customised.
void IdleLayout(CFrameWnd& frame, SECControlBarManager* manager, UINT nWhy);
// The custom toolbars' bitmaps again, in the new system colours.
void ReloadBarBitmaps(CFrameWnd& frame);
// The menu plug-in unplugged and freed with the window.
void DropMenuPlugIn(SECWndPlugIn*& plugIn);

}  // namespace sec_frame
