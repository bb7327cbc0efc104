// Creating dialogs from templates, their default procedure and the modal loop.
#include "Dialog.h"

#include <map>
#include <mutex>

#include "../LastError.h"
#include "../WinControls.h"
#include "../WinGdi.h"
#include "../WinUserUi.h"
#include "../WinSystem.h"
#include "../WinError.h"
#include "DialogTemplate.h"
#include "Responder.h"
#include "Window.h"
#include "rc/ResourceRegistry.h"

namespace plat::user {
namespace {

// Fixed base units: a dialog unit is a quarter of 6 pixels across and an eighth of 12 down.
constexpr int kBaseX = 6;
constexpr int kBaseY = 12;

std::mutex g_mutex;
std::map<HWND, std::shared_ptr<DialogState>>& States() {
  static std::map<HWND, std::shared_ptr<DialogState>> states;
  return states;
}

void SetState(HWND h, std::shared_ptr<DialogState> s) {
  std::lock_guard lock(g_mutex);
  if (s)
    States()[h] = std::move(s);
  else
    States().erase(h);
}

HWND FirstTabItem(HWND dialog) { return GetNextDlgTabItem(dialog, nullptr, FALSE); }

// The messages whose answer a dialog procedure returns directly, not through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
  return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM ||
         msg == WM_CHARTOITEM || msg == WM_QUERYDRAGICON || msg == WM_INITDIALOG;
}

// Moves the focus the way the dialog manager does: edit controls get their text selected.
void FocusControl(HWND dialog, HWND control) {
  if (!control) return;
  SetFocus(control);
  if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
  (void)dialog;
}

// Shows which push button is the default: the focused push button, else the dialog's default.
void UpdateDefaultButton(HWND dialog, HWND focus) {
  auto state = FindDialogState(dialog);
  if (!state) return;
  HWND def = GetDlgItem(dialog, state->defId);
  LRESULT focusCode = focus ? SendMessageA(focus, WM_GETDLGCODE, 0, 0) : 0;
  bool focusIsPush = (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    LRESULT code = SendMessageA(c, WM_GETDLGCODE, 0, 0);
    if (!(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) continue;
    bool shouldBeDefault = focusIsPush ? (c == focus) : (c == def);
    bool isDefault = (code & DLGC_DEFPUSHBUTTON) != 0;
    if (shouldBeDefault != isDefault)
      SendMessageA(c, BM_SETSTYLE, shouldBeDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

// The font a DS_SETFONT template names, made as the dialog manager makes it: the point size at the
// screen's resolution, its weight, italic and character set; 0x7FFF asks for the message font.
std::shared_ptr<void> MakeTemplateFont(const DialogTemplateInfo& t) {
  if (!(t.style & DS_SETFONT) || !t.hasFont) return nullptr;
  HFONT font = nullptr;
  if (t.pointSize == 0x7FFF) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      font = CreateFontIndirectA(&metrics.lfMessageFont);
  } else {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(t.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    const BYTE charset = t.extended ? t.charset : static_cast<BYTE>(DEFAULT_CHARSET);
    font = CreateFontA(height, 0, 0, 0, t.weight, t.italic, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, t.face.c_str());
  }
  if (!font) return nullptr;
  return std::shared_ptr<void>(font, [](void* f) { DeleteObject(static_cast<HFONT>(f)); });
}

HWND CreateFromTemplate(HINSTANCE instance, const DialogTemplateInfo& t, HWND owner, DLGPROC proc, LPARAM param,
                        bool modal) {
  EnsureDialogClass();
  DWORD style = t.style;
  DWORD exStyle = t.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if (style & DS_CONTROL) {
    style &= ~(WS_CAPTION | WS_SYSMENU);
    exStyle |= WS_EX_CONTROLPARENT;
  }
  bool child = (style & WS_CHILD) != 0;
  RECT r{0, 0, DialogUnitsToPixelsX(t.cx), DialogUnitsToPixelsY(t.cy)};
  if (!child) AdjustWindowRectEx(&r, style & ~WS_VISIBLE, !t.menu.text.empty() || t.menu.isId, exStyle);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = DialogUnitsToPixelsX(t.x), y = DialogUnitsToPixelsY(t.y);
  if (!child && owner && !(style & DS_ABSALIGN)) {
    POINT p{x, y};
    ClientToScreen(owner, &p);
    x = p.x;
    y = p.y;
  }
  if (!child && (style & DS_CENTER)) {
    RECT area = ScreenRect();
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    x = area.left + ((area.right - area.left) - w) / 2;
    y = area.top + ((area.bottom - area.top) - h) / 2;
  }
  const char* cls = "#32770";
  std::string clsName;
  if (t.cls.isId) {
    cls = reinterpret_cast<const char*>(static_cast<ULONG_PTR>(t.cls.id));
  } else if (!t.cls.text.empty()) {
    clsName = t.cls.text;
    cls = clsName.c_str();
  }
  // A top-level dialog gets the template's menu as its menu bar (the window destroys it).
  HMENU menu = nullptr;
  if (!child && t.menu.isId) menu = LoadMenuA(instance, MAKEINTRESOURCEA(t.menu.id));
  else if (!child && !t.menu.text.empty()) menu = LoadMenuA(instance, t.menu.text.c_str());
  HWND dialog = CreateWindowExA(exStyle, cls, t.caption.c_str(), style & ~WS_VISIBLE, x, y, w, h, owner, menu,
                                instance, reinterpret_cast<LPVOID>(param));
  if (!dialog) {
    if (menu) DestroyMenu(menu);
    return nullptr;
  }
  auto state = std::make_shared<DialogState>();
  state->modal = modal;
  state->templateFont = MakeTemplateFont(t);
  state->font = static_cast<HFONT>(state->templateFont.get());
  SetState(dialog, state);
  SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  if (state->font) SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
  for (const DialogItem& item : t.items) {
    std::string itemCls;
    const char* name = nullptr;
    if (item.cls.isId) {
      name = PredefinedClassName(item.cls.id);
      if (!name) name = reinterpret_cast<const char*>(static_cast<ULONG_PTR>(item.cls.id));
    } else {
      itemCls = item.cls.text;
      name = itemCls.c_str();
    }
    std::string text = item.text.isId ? "#" + std::to_string(item.text.id) : item.text.text;
    HWND c = CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, name, text.c_str(), item.style | WS_CHILD,
                             DialogUnitsToPixelsX(item.x), DialogUnitsToPixelsY(item.y), DialogUnitsToPixelsX(item.cx),
                             DialogUnitsToPixelsY(item.cy), dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(static_cast<int>(item.id))), instance,
                             item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data()));
    if (!c) {
      if (style & DS_NOFAILCREATE) continue;
      DestroyWindow(dialog);
      ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    if (state->font) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
    if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && (SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
      state->defId = static_cast<WORD>(item.id);
  }
  HWND first = FirstTabItem(dialog);
  if (SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && IsWindow(dialog)) {
    HWND f = first && IsWindow(first) ? first : FirstTabItem(dialog);
    if (f) FocusControl(dialog, f);
  }
  if (!IsWindow(dialog)) return nullptr;
  if (t.style & WS_VISIBLE) ShowWindow(dialog, SW_SHOWNORMAL);
  return dialog;
}

std::optional<DialogTemplateInfo> LoadTemplate(HINSTANCE instance, LPCSTR name) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(instance, module, sizeof module);
  // Modules are named by their file name without folder.
  std::string m = module;
  if (auto slash = m.find_last_of("\\/"); slash != std::string::npos) m = m.substr(slash + 1);
  const plat::rc::Entry* e = plat::rc::Find(m, reinterpret_cast<const char*>(uintptr_t{5}), name);
  if (!e) return std::nullopt;
  return ParseDialogTemplate(e->data, e->size);
}

LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

std::shared_ptr<DialogState> FindDialogState(HWND dialog) {
  std::lock_guard lock(g_mutex);
  auto it = States().find(dialog);
  return it == States().end() ? nullptr : it->second;
}

int DialogUnitsToPixelsX(int x) { return x * kBaseX / 4; }
int DialogUnitsToPixelsY(int y) { return y * kBaseY / 8; }

void EnsureDialogClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = DialogClassProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.lpszClassName = "#32770";
    RegisterSystemClass(wc);
  });
}

// Runs the modal loop of `dialog` until EndDialog; answers a scripted responder first
// (or the script for unscripted dialogs).
INT_PTR RunModal(HWND dialog, HWND owner) {
  auto state = FindDialogState(dialog);
  ShowWindow(dialog, SW_SHOWNORMAL);
  responder::Shown shown;
  shown.hwnd = dialog;
  char caption[256] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  shown.caption = caption;
  responder::Record(shown);
  if (responder::HasScript())
    responder::Run(shown);
  else
    responder::RunUnscripted(shown);
  MSG m;
  while (state && !state->ended && IsWindow(dialog)) {
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      if (owner && !(GetWindowLongA(dialog, GWL_STYLE) & DS_NOIDLEMSG))
        SendMessageA(owner, WM_ENTERIDLE, 0 /* MSGF_DIALOGBOX */, reinterpret_cast<LPARAM>(dialog));
      if (state->ended) break;
      WaitMessage();
      continue;
    }
    if (!GetMessageA(&m, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(m.wParam));  // the application's loop ends too
      break;
    }
    if (!CallMsgFilterA(&m, MSGF_DIALOGBOX) && !IsDialogMessageA(dialog, &m)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  return state ? state->result : -1;
}

}  // namespace plat::user

using namespace plat::user;

HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dlgTemplate, HWND parent, DLGPROC proc,
                                LPARAM param) {
  // A template in memory has no size of its own; the reader stops at its declared end.
  auto t = ParseDialogTemplate(dlgTemplate, 1 << 20);
  if (!t) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateFromTemplate(instance, *t, parent, proc, param, false);
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM param) {
  auto t = LoadTemplate(instance, name);
  if (!t) {
    ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return CreateFromTemplate(instance, *t, parent, proc, param, false);
}

namespace {
INT_PTR DialogBoxFrom(HINSTANCE instance, const std::optional<DialogTemplateInfo>& t, HWND parent, DLGPROC proc,
                      LPARAM param) {
  if (!t || responder::TakeFailure()) return -1;
  HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
  bool disabledOwner = owner && IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, FALSE);
  DialogTemplateInfo modal = *t;
  modal.style &= ~WS_VISIBLE;  // shown by the modal loop, after WM_INITDIALOG
  HWND dialog = CreateFromTemplate(instance, modal, owner, proc, param, true);
  if (!dialog) {
    if (disabledOwner) EnableWindow(owner, TRUE);
    return -1;
  }
  if (auto state = FindDialogState(dialog)) {
    state->owner = owner;
    state->enableOwner = disabledOwner;
  }
  INT_PTR result = RunModal(dialog, owner);
  if (auto state = FindDialogState(dialog); state && state->enableOwner) {
    state->enableOwner = false;
    EnableWindow(owner, TRUE);
  }
  HWND active = GetActiveWindow();
  if (owner && (!active || active == dialog)) SetActiveWindow(owner);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}
}  // namespace

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dlgTemplate, HWND parent, DLGPROC proc,
                                LPARAM param) {
  return DialogBoxFrom(instance, ParseDialogTemplate(dlgTemplate, 1 << 20), parent, proc, param);
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM param) {
  return DialogBoxFrom(instance, LoadTemplate(instance, name), parent, proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  auto state = FindDialogState(dialog);
  if (!state) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  state->ended = true;
  state->result = result;
  if (state->modal) {
    // The owner comes back before the dialog goes, so activation returns to it.
    if (state->enableOwner) {
      state->enableOwner = false;
      EnableWindow(state->owner, TRUE);
    }
    ShowWindow(dialog, SW_HIDE);
    PostMessageA(dialog, WM_NULL, 0, 0);  // wakes the modal loop
  }
  return TRUE;
}

LRESULT DefDlgProcA(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
  if (proc) {
    LONG_PTR before = GetWindowLongPtrA(dialog, DWLP_MSGRESULT);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
    INT_PTR r = proc(dialog, msg, wParam, lParam);
    if (r) {
      if (ReturnsDirectly(msg)) return r;
      return IsWindow(dialog) ? GetWindowLongPtrA(dialog, DWLP_MSGRESULT) : 0;
    }
    if (IsWindow(dialog)) SetWindowLongPtrA(dialog, DWLP_MSGRESULT, before);
  }
  if (!IsWindow(dialog)) return 0;
  auto state = FindDialogState(dialog);
  switch (msg) {
    case WM_ACTIVATE:
      if (state) {
        if (LOWORD(wParam) == WA_INACTIVE) {
          HWND f = GetFocus();
          if (f && IsChild(dialog, f)) state->savedFocus = f;
        } else {
          HWND f = state->savedFocus && IsWindow(state->savedFocus) ? state->savedFocus : FirstTabItem(dialog);
          if (f) FocusControl(dialog, f);
          else SetFocus(dialog);
        }
      }
      return 0;
    case WM_SETFOCUS: {
      HWND f = state && state->savedFocus && IsWindow(state->savedFocus) ? state->savedFocus : FirstTabItem(dialog);
      if (f) FocusControl(dialog, f);
      return 0;
    }
    case WM_SHOWWINDOW:
      if (!wParam && state) {
        HWND f = GetFocus();
        if (f && IsChild(dialog, f)) state->savedFocus = f;
      }
      return DefWindowProcA(dialog, msg, wParam, lParam);
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_NEXTDLGCTL: {
      HWND target;
      if (LOWORD(lParam))
        target = reinterpret_cast<HWND>(wParam);
      else
        target = GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      if (target) {
        FocusControl(dialog, target);
        UpdateDefaultButton(dialog, target);
      }
      return 0;
    }
    case DM_GETDEFID:
      return state && state->defId ? MAKELONG(state->defId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
      if (state) {
        state->defId = static_cast<WORD>(wParam);
        UpdateDefaultButton(dialog, nullptr);
      }
      return TRUE;
    case WM_ERASEBKGND: {
      // The dialog's own brush (WM_CTLCOLORDLG), else the button face.
      auto dc = reinterpret_cast<HDC>(wParam);
      auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
      RECT rc;
      GetClientRect(dialog, &rc);
      FillRect(dc, &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state ? state->font : nullptr);
    case WM_SETFONT:
      if (state) state->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_NCDESTROY:
      SetState(dialog, nullptr);
      return DefWindowProcA(dialog, msg, wParam, lParam);
    default:
      return DefWindowProcA(dialog, msg, wParam, lParam);
  }
}

LONG GetDialogBaseUnits() { return MAKELONG(plat::user::DialogUnitsToPixelsX(4), plat::user::DialogUnitsToPixelsY(8)); }

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  if (!rect || !FindDialogState(dialog)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  rect->left = DialogUnitsToPixelsX(rect->left);
  rect->right = DialogUnitsToPixelsX(rect->right);
  rect->top = DialogUnitsToPixelsY(rect->top);
  rect->bottom = DialogUnitsToPixelsY(rect->bottom);
  return TRUE;
}
