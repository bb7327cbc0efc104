// Message boxes: a modal dialog built in memory with the icon, the text and the buttons
// the type asks for. The owner is disabled while it runs.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../Config.h"
#include "../WinControls.h"
#include "../WinDialog.h"
#include "../WinSystem.h"
#include "Responder.h"
#include "rc/ResourceRegistry.h"

namespace {

struct Button {
  int id;
  const char* japanese;
  const char* english;
};

std::vector<Button> ButtonsOf(UINT type) {
  static const Button ok{IDOK, "OK", "OK"}, cancel{IDCANCEL, "キャンセル", "Cancel"}, yes{IDYES, "はい(&Y)", "&Yes"},
      no{IDNO, "いいえ(&N)", "&No"}, abort{IDABORT, "中止(&A)", "&Abort"}, retry{IDRETRY, "再試行(&R)", "&Retry"},
      ignore{IDIGNORE, "無視(&I)", "&Ignore"};
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {ok, cancel};
    case MB_ABORTRETRYIGNORE: return {abort, retry, ignore};
    case MB_YESNOCANCEL: return {yes, no, cancel};
    case MB_YESNO: return {yes, no};
    case MB_RETRYCANCEL: return {retry, cancel};
    default: return {ok};
  }
}

// Builds an extended dialog template in memory (texts as UTF-16, items on 4-byte boundaries).
class TemplateWriter {
 public:
  void Word(uint32_t w) {
    bytes_.push_back(static_cast<uint8_t>(w));
    bytes_.push_back(static_cast<uint8_t>(w >> 8));
  }
  void Dword(uint32_t d) {
    Word(d & 0xFFFF);
    Word(d >> 16);
  }
  void Text(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      uint32_t cp = c;
      int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
      if (n > 1) cp = c & (0xFF >> (n + 1));
      for (int k = 1; k < n && i + k < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
      i += n;
      if (cp >= 0x10000) {
        cp -= 0x10000;
        Word(0xD800 + (cp >> 10));
        Word(0xDC00 + (cp & 0x3FF));
      } else {
        Word(cp);
      }
    }
    Word(0);
  }
  void Align() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  void Item(DWORD style, int x, int y, int cx, int cy, int id, WORD atom, const std::string& text) {
    Align();
    Dword(0);
    Dword(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Word(static_cast<uint32_t>(x));
    Word(static_cast<uint32_t>(y));
    Word(static_cast<uint32_t>(cx));
    Word(static_cast<uint32_t>(cy));
    Dword(static_cast<uint32_t>(id));
    Word(0xFFFF);
    Word(atom);
    Text(text);
    Word(0);
  }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

constexpr int kIconId = 0x14;  // the icon's control, as Windows numbers it
constexpr int kTextId = 0xFFFF;

UINT IconMask(UINT type) { return type & MB_ICONMASK; }

LPCSTR IconOf(UINT type) {
  switch (IconMask(type)) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
  }
}

// The box is laid out in the font its text is drawn with: the text wraps only where a
// line is wider than most of the screen, and the box grows around it, the icon and the
// buttons. Sizes in pixels.
void LayOut(HWND dialog, UINT type) {
  constexpr int kMargin = 11, kIconSize = 32, kButtonH = 23, kButtonMinW = 75, kGap = 6;
  HWND text = GetDlgItem(dialog, kTextId);
  HWND icon = GetDlgItem(dialog, kIconId);
  if (icon) SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IconOf(type))), 0);
  HDC dc = GetDC(dialog);
  // The text's own font, or the one controls draw with when they have none.
  HGDIOBJ font = reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  std::string body(static_cast<size_t>(GetWindowTextLengthA(text)) + 1, '\0');
  body.resize(static_cast<size_t>(GetWindowTextA(text, body.data(), static_cast<int>(body.size()))));
  const int maxWidth = GetSystemMetrics(SM_CXSCREEN) * 5 / 8;
  RECT tr{0, 0, maxWidth, 0};
  DrawTextA(dc, body.c_str(), -1, &tr, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  std::vector<HWND> buttons;
  int buttonW = kButtonMinW;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c == text || c == icon) continue;
    buttons.push_back(c);
    char label[64] = {};
    GetWindowTextA(c, label, sizeof label);
    RECT br{};
    DrawTextA(dc, label, -1, &br, DT_CALCRECT | DT_SINGLELINE);
    buttonW = std::max<int>(buttonW, br.right + 2 * kMargin);
  }
  SelectObject(dc, oldFont);
  ReleaseDC(dialog, dc);

  const int textW = tr.right, textH = std::max<int>(tr.bottom, 1);
  const int textX = kMargin + (icon ? kIconSize + kMargin : 0);
  // A short text stands beside the middle of the icon.
  const int textY = kMargin + (icon && textH < kIconSize ? (kIconSize - textH) / 2 : 0);
  const int rowW = static_cast<int>(buttons.size()) * (buttonW + kGap) - kGap;
  const int width = std::max(textX + textW + kMargin, rowW + 2 * kMargin);
  const int rowY = std::max(textY + textH, icon ? kMargin + kIconSize : 0) + kMargin + 4;
  const int height = rowY + kButtonH + kMargin;
  if (icon) MoveWindow(icon, kMargin, kMargin, kIconSize, kIconSize, FALSE);
  MoveWindow(text, textX, textY, textW, textH, FALSE);
  int x = (width - rowW) / 2;
  for (HWND b : buttons) {
    MoveWindow(b, x, rowY, buttonW, kButtonH, FALSE);
    x += buttonW + kGap;
  }
  // The frame grows around the new client area and stays centred where it was.
  RECT frame{0, 0, width, height}, now{};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  GetWindowRect(dialog, &now);
  const int fw = frame.right - frame.left, fh = frame.bottom - frame.top;
  const int cx = (now.left + now.right) / 2, cy = (now.top + now.bottom) / 2;
  SetWindowPos(dialog, nullptr, std::max(0, cx - fw / 2), std::max(0, cy - fh / 2), fw, fh,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK BoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    UINT type = static_cast<UINT>(lParam);
    // Without a Cancel button, Esc and the close box answer the only or first button.
    SetWindowLongPtrA(dialog, DWLP_USER, static_cast<LONG_PTR>(type));
    LayOut(dialog, type);
    return TRUE;
  }
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    int id = LOWORD(wParam);
    UINT type = static_cast<UINT>(GetWindowLongPtrA(dialog, DWLP_USER));
    auto buttons = ButtonsOf(type);
    bool known = std::any_of(buttons.begin(), buttons.end(), [&](const Button& b) { return b.id == id; });
    if (id == IDCANCEL && !known) {
      if ((type & MB_TYPEMASK) != MB_OK) return TRUE;  // Esc does nothing in a Yes/No box
      id = IDOK;
    } else if (!known) {
      return FALSE;
    }
    EndDialog(dialog, id);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  bool japanese = (GetUserDefaultLCID() & 0x3FF) == 0x11;
  std::string body = text ? text : "";
  std::string title = caption ? caption : (japanese ? "エラー" : "Error");
  auto buttons = ButtonsOf(type);
  int def = static_cast<int>((type & MB_DEFMASK) >> 8);
  if (def >= static_cast<int>(buttons.size())) def = 0;
  if (type & MB_ICONMASK) MessageBeep(type & MB_ICONMASK);

  plat::user::responder::Shown shown;
  shown.messageBox = true;
  shown.caption = title;
  shown.text = body;
  shown.type = type;
  const bool show = plat::user::responder::TakeShowBox();
  if (!show && plat::user::responder::HasScript()) {
    plat::user::responder::Record(shown);
    return plat::user::responder::Run(shown);
  }
  // Nobody can answer a box on the memory-only screen: it is recorded and gets its default.
  if (!show && plat::config::Get("DISPLAY", "headless") == "headless") {
    plat::user::responder::Record(shown);
    std::fprintf(stderr, "message box \"%s\": %s -> default button\n", title.c_str(), body.c_str());
    return buttons[static_cast<size_t>(def)].id;
  }

  // Places in dialog units; the box lays itself out in its font when it opens.
  const bool icon = IconOf(type) != nullptr;
  const int width = 200, height = 60, buttonW = 50, buttonH = 14;
  TemplateWriter t;
  t.Word(1);
  t.Word(0xFFFF);
  t.Dword(0);
  t.Dword(0);
  t.Dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Word(static_cast<uint32_t>(buttons.size() + 1 + (icon ? 1 : 0)));
  t.Word(0);
  t.Word(0);
  t.Word(static_cast<uint32_t>(width));
  t.Word(static_cast<uint32_t>(height));
  t.Word(0);
  t.Word(0);
  t.Text(title);
  t.Word(9);
  t.Word(400);
  t.Word(0x8000);  // not italic, character set 128
  t.Text("ＭＳ Ｐゴシック");
  if (icon) t.Item(SS_ICON, 10, 10, 20, 20, kIconId, 0x82, "");
  t.Item(SS_LEFT | SS_NOPREFIX, 10, 10, width - 20, 20, kTextId, 0x82, body);
  for (size_t i = 0; i < buttons.size(); ++i) {
    DWORD style = (static_cast<int>(i) == def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | (i == 0 ? WS_GROUP : 0);
    t.Item(style, 10, height - buttonH - 8, buttonW, buttonH, buttons[i].id, 0x80,
           japanese ? buttons[i].japanese : buttons[i].english);
  }
  INT_PTR r = DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(t.Bytes().data()), owner, BoxProc,
                                      static_cast<LPARAM>(type));
  return r < 0 ? 0 : static_cast<int>(r);
}
