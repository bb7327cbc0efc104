// The "Edit" class: single- and multi-line text fields with selection, caret,
// clipboard, undo and the notifications a dialog validates with.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "../WinDialog.h"
#include "../WinSystem.h"
#include "ControlSupport.h"
#include "EditText.h"

namespace plat::controls {
namespace {

constexpr int kMargin = 2;

struct EditState {
  EditText model;
  HFONT font = nullptr;
  bool focus = false;
  bool tracking = false;
  bool modified = false;
  int scrollX = 0;      // pixels scrolled off to the left
  int topLine = 0;      // first line shown (multi-line)
  std::string pending;  // bytes of a UTF-8 character still arriving by WM_CHAR
};

StateMap<EditState> g_edits;

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }
bool Multi(HWND h) { return Style(h) & ES_MULTILINE; }

// Measures with the control's font.
class Measure {
 public:
  Measure(HWND h, const EditState& s) : hwnd_(h), dc_(GetDC(h)), font_(dc_, ControlFont(s.font)) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    lineHeight_ = tm.tmHeight > 0 ? tm.tmHeight : 1;
  }
  ~Measure() { ReleaseDC(hwnd_, dc_); }
  int Width(const std::string& s, size_t from, size_t len) const {
    SIZE size{};
    GetTextExtentPoint32A(dc_, s.c_str() + from, static_cast<int>(len), &size);
    return size.cx;
  }
  int LineHeight() const { return lineHeight_; }

 private:
  HWND hwnd_;
  HDC dc_;
  FontScope font_;
  int lineHeight_ = 1;
};

RECT TextArea(HWND h) {
  RECT rc;
  GetClientRect(h, &rc);
  InflateRect(&rc, -kMargin, Multi(h) ? 0 : 0);
  return rc;
}

// Pixel position of a byte offset, relative to the text area's top-left (unscrolled).
POINT OffsetToPoint(HWND h, const EditState& s, const Measure& m, size_t offset) {
  const EditText& t = s.model;
  int line = t.LineFromOffset(offset);
  size_t start = t.LineStart(line);
  return POINT{m.Width(t.Text(), start, offset - start), line * m.LineHeight()};
}

// The offset nearest to a client point.
size_t PointToOffset(HWND h, const EditState& s, const Measure& m, POINT p) {
  const EditText& t = s.model;
  RECT area = TextArea(h);
  int line = std::max(0, (static_cast<int>(p.y) - area.top) / m.LineHeight() + s.topLine);
  if (!Multi(h)) line = 0;
  line = std::min(line, t.LineCount() - 1);
  size_t start = t.LineStart(line), len = t.LineLength(line);
  int x = static_cast<int>(p.x) - area.left + s.scrollX;
  size_t best = start;
  for (size_t i = start; i <= start + len;) {
    int w = m.Width(t.Text(), start, i - start);
    if (w > x) {
      size_t prev = PrevChar(t.Text(), i);
      int pw = m.Width(t.Text(), start, prev - start);
      return (x - pw < w - x) ? prev : i;
    }
    best = i;
    if (i == start + len) break;
    i = NextChar(t.Text(), i);
  }
  return best;
}

// Scrolls so the caret shows, and places the system caret.
void ShowCaretAt(HWND h, EditState& s) {
  Measure m(h, s);
  RECT area = TextArea(h);
  POINT p = OffsetToPoint(h, s, m, s.model.Caret());
  int width = area.right - area.left;
  int oldX = s.scrollX, oldTop = s.topLine;
  if (p.x < s.scrollX) s.scrollX = std::max(0, static_cast<int>(p.x) - width / 4);
  else if (p.x >= s.scrollX + width) s.scrollX = static_cast<int>(p.x) - width + width / 4;
  if (Multi(h)) {
    int line = static_cast<int>(p.y) / m.LineHeight();
    int rows = std::max(1, static_cast<int>(area.bottom - area.top) / m.LineHeight());
    if (line < s.topLine) s.topLine = line;
    else if (line >= s.topLine + rows) s.topLine = line - rows + 1;
  }
  if (oldX != s.scrollX || oldTop != s.topLine) InvalidateRect(h, nullptr, TRUE);
  if (s.focus) {
    int y = Multi(h) ? (p.y / m.LineHeight() - s.topLine) * m.LineHeight() : (area.bottom - area.top - m.LineHeight()) / 2;
    SetCaretPos(area.left + p.x - s.scrollX, area.top + y);
  }
}

// A multi-line edit that cannot scroll sideways wraps its lines at its width.
void UpdateWrap(HWND h, EditState& s) {
  DWORD style = Style(h);
  if (!Multi(h) || (style & (ES_AUTOHSCROLL | WS_HSCROLL))) {
    s.model.SetWrap(0, nullptr);
    return;
  }
  RECT area = TextArea(h);
  HFONT* font = &s.font;
  s.model.SetWrap(std::max(1, static_cast<int>(area.right - area.left)), [h, font](std::string_view text) {
    HDC dc = GetDC(h);
    SIZE size{};
    {
      FontScope scope(dc, ControlFont(*font));
      GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    }
    ReleaseDC(h, dc);
    return static_cast<int>(size.cx);
  });
}

void Redraw(HWND h, EditState& s) {
  InvalidateRect(h, nullptr, TRUE);
  ShowCaretAt(h, s);
}

// The text as it changed: EN_UPDATE before the new text shows, EN_CHANGE after.
void TextChanged(HWND h, EditState& s) {
  s.modified = true;
  Command(h, EN_UPDATE);
  Redraw(h, s);
  Command(h, EN_CHANGE);
}

// A single-line field without ES_AUTOHSCROLL takes only what fits its width.
bool Fits(HWND h, EditState& s) {
  DWORD style = Style(h);
  if (Multi(h) || (style & ES_AUTOHSCROLL)) return true;
  Measure m(h, s);
  RECT area = TextArea(h);
  return m.Width(s.model.Text(), 0, s.model.Text().size()) <= area.right - area.left;
}

// Inserts text as the user gives it (typing or pasting): filters, limit, notifications.
void UserInsert(HWND h, EditState& s, std::string text, bool typing) {
  DWORD style = Style(h);
  if (style & ES_READONLY) return;
  if (style & ES_NUMBER) {
    for (char c : text)
      if (!std::isdigit(static_cast<unsigned char>(c))) return;
  }
  if (!Multi(h)) {
    // One line only: a pasted text stops at its first line break.
    size_t br = text.find_first_of("\r\n");
    if (br != std::string::npos) text.resize(br);
  }
  for (char& c : text) {
    if (style & ES_UPPERCASE) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    else if (style & ES_LOWERCASE) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  EditText before = s.model;
  bool all = s.model.Replace(text, typing);
  if (!Fits(h, s)) {
    s.model = before;
    all = false;
  }
  if (!all) Command(h, EN_MAXTEXT);
  if (s.model.Text() != before.Text()) TextChanged(h, s);
  else Redraw(h, s);
}

void UserDelete(HWND h, EditState& s, bool forward) {
  if (Style(h) & ES_READONLY) return;
  std::string before = s.model.Text();
  s.model.EndTyping();
  if (forward) s.model.DeleteForward();
  else s.model.DeleteBack();
  if (s.model.Text() != before) TextChanged(h, s);
}

std::string Selected(const EditState& s) {
  return s.model.Text().substr(s.model.SelStart(), s.model.SelEnd() - s.model.SelStart());
}

void Copy(HWND h, const EditState& s) {
  if ((Style(h) & ES_PASSWORD) || !s.model.HasSelection()) return;
  std::string text = Selected(s);
  if (!OpenClipboard(h)) return;
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (mem) {
    std::memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
  }
  CloseClipboard();
}

void Paste(HWND h, EditState& s) {
  if (!OpenClipboard(h)) return;
  std::string text;
  if (HANDLE mem = GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(GlobalLock(mem))) {
      text.assign(p, strnlen(p, GlobalSize(mem)));
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  s.model.EndTyping();
  if (!text.empty()) UserInsert(h, s, text, false);
}

void Paint(HWND h, HDC dc, EditState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  DWORD style = Style(h);
  FontScope font(dc, ControlFont(s.font));
  bool greyed = (style & ES_READONLY) || !IsWindowEnabled(h);
  HBRUSH bg = ParentColors(h, dc, greyed ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  FillRect(dc, &rc, bg);
  if (!IsWindowEnabled(h)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  COLORREF text = GetTextColor(dc), back = GetBkColor(dc);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  int lh = tm.tmHeight > 0 ? tm.tmHeight : 1;
  RECT area = TextArea(h);
  const EditText& t = s.model;
  bool showSel = s.focus || (style & ES_NOHIDESEL);
  int lines = Multi(h) ? t.LineCount() : 1;
  int y0 = Multi(h) ? area.top : (area.bottom + area.top - lh) / 2;
  for (int line = Multi(h) ? s.topLine : 0; line < lines; ++line) {
    int y = y0 + (line - (Multi(h) ? s.topLine : 0)) * lh;
    if (y >= area.bottom) break;
    size_t start = t.LineStart(line), len = t.LineLength(line);
    std::string shown = t.Text().substr(start, len);
    if (style & ES_PASSWORD) shown.assign(shown.size(), '*');
    int x = area.left - s.scrollX;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    TextOutA(dc, x, y, shown.c_str(), static_cast<int>(shown.size()));
    // The selected part of the line, over it in the highlight colours.
    size_t a = std::max(start, t.SelStart()), b = std::min(start + len, t.SelEnd());
    if (showSel && a < b) {
      SIZE pre{}, sel{};
      GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(a - start), &pre);
      GetTextExtentPoint32A(dc, shown.c_str() + (a - start), static_cast<int>(b - a), &sel);
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      TextOutA(dc, x + pre.cx, y, shown.c_str() + (a - start), static_cast<int>(b - a));
      SetBkColor(dc, back);
    }
  }
}

void MoveCaret(HWND h, EditState& s, size_t to, bool extend) {
  s.model.EndTyping();
  s.model.Select(extend ? s.model.Anchor() : to, to);
  Redraw(h, s);
}

bool KeyDown(HWND h, EditState& s, WPARAM vk) {
  const EditText& t = s.model;
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  size_t caret = t.Caret();
  int line = t.LineFromOffset(caret);
  switch (vk) {
    case VK_LEFT:
      if (!shift && t.HasSelection()) MoveCaret(h, s, t.SelStart(), false);
      else {
        size_t p = PrevChar(t.Text(), caret);
        if (p > 0 && t.Text().compare(p - 1, 2, "\r\n") == 0) --p;
        MoveCaret(h, s, p, shift);
      }
      return true;
    case VK_RIGHT:
      if (!shift && t.HasSelection()) MoveCaret(h, s, t.SelEnd(), false);
      else MoveCaret(h, s, t.Text().compare(caret, 2, "\r\n") == 0 ? caret + 2 : NextChar(t.Text(), caret), shift);
      return true;
    case VK_HOME: MoveCaret(h, s, ctrl ? 0 : t.LineStart(line), shift); return true;
    case VK_END:
      MoveCaret(h, s, ctrl ? t.Text().size() : t.LineStart(line) + t.LineLength(line), shift);
      return true;
    case VK_UP:
    case VK_DOWN: {
      if (!Multi(h)) return false;
      int to = line + (vk == VK_UP ? -1 : 1);
      if (to < 0 || to >= t.LineCount()) return true;
      Measure m(h, s);
      POINT p = OffsetToPoint(h, s, m, caret);
      RECT area = TextArea(h);
      POINT target{area.left + p.x - s.scrollX, area.top + (to - s.topLine) * m.LineHeight()};
      MoveCaret(h, s, PointToOffset(h, s, m, target), shift);
      return true;
    }
    case VK_DELETE:
      if (shift) SendMessageA(h, WM_CUT, 0, 0);
      else UserDelete(h, s, true);
      return true;
    case VK_INSERT:
      if (ctrl) SendMessageA(h, WM_COPY, 0, 0);
      else if (shift) SendMessageA(h, WM_PASTE, 0, 0);
      return true;
    default: return false;
  }
}

void Char(HWND h, EditState& s, WPARAM w) {
  auto c = static_cast<unsigned char>(w);
  switch (c) {
    case 3: SendMessageA(h, WM_COPY, 0, 0); return;
    case 22: SendMessageA(h, WM_PASTE, 0, 0); return;
    case 24: SendMessageA(h, WM_CUT, 0, 0); return;
    case 26: SendMessageA(h, WM_UNDO, 0, 0); return;
    case 1:
      s.model.Select(0, s.model.Text().size());
      Redraw(h, s);
      return;
    case '\b': UserDelete(h, s, false); return;
    case '\r':
      if (Multi(h)) UserInsert(h, s, "\r\n", false);
      return;
    default: break;
  }
  if (c < 0x20 && c != '\t') return;
  if (c == '\t' && !Multi(h)) return;
  // A character of several bytes arrives one WM_CHAR per byte; it goes in whole.
  if (c >= 0x80) {
    if ((c & 0xC0) != 0x80) s.pending.clear();
    s.pending.push_back(static_cast<char>(c));
    auto lead = static_cast<unsigned char>(s.pending[0]);
    size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if ((lead & 0xC0) == 0x80) {
      s.pending.clear();  // a stray trail byte
      return;
    }
    if (s.pending.size() < need) return;
    std::string ch = std::move(s.pending);
    s.pending.clear();
    UserInsert(h, s, ch, true);
    return;
  }
  s.pending.clear();
  UserInsert(h, s, std::string(1, static_cast<char>(c)), true);
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, EditState& s) {
  EditText& t = s.model;
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) t.Reset(cs->lpszName);
      UpdateWrap(h, s);
      return 0;
    }
    case WM_SIZE:
      UpdateWrap(h, s);
      if (s.focus) ShowCaretAt(h, s);
      break;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (Multi(h) && (Style(h) & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_SETTEXT: {
      // Text the program sets is a change too: the parent hears EN_UPDATE and EN_CHANGE.
      t.Reset(l ? reinterpret_cast<const char*>(l) : "");
      s.scrollX = 0;
      s.topLine = 0;
      DefWindowProcA(h, msg, w, l);
      TextChanged(h, s);
      s.modified = false;
      return TRUE;
    }
    case WM_GETTEXT: {
      if (!l || w == 0) return 0;
      size_t n = std::min(t.Text().size(), static_cast<size_t>(w) - 1);
      n = CharStart(t.Text(), n);
      std::memcpy(reinterpret_cast<char*>(l), t.Text().data(), n);
      reinterpret_cast<char*>(l)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(t.Text().size());
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(w);
      UpdateWrap(h, s);
      if (l) Redraw(h, s);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_SETFOCUS: {
      s.focus = true;
      Measure m(h, s);
      CreateCaret(h, nullptr, 1, m.LineHeight());
      ShowCaretAt(h, s);
      ShowCaret(h);
      InvalidateRect(h, nullptr, TRUE);
      Command(h, EN_SETFOCUS);
      return 0;
    }
    case WM_KILLFOCUS:
      s.focus = false;
      s.pending.clear();
      t.EndTyping();
      DestroyCaret();
      InvalidateRect(h, nullptr, TRUE);
      Command(h, EN_KILLFOCUS);
      return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != h) SetFocus(h);
      Measure m(h, s);
      size_t at = PointToOffset(h, s, m, MousePoint(l));
      MoveCaret(h, s, at, (w & MK_SHIFT) != 0);
      SetCapture(h);
      s.tracking = true;
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      // A double click selects the word under the mouse.
      const std::string& text = t.Text();
      size_t a = t.Caret(), b = a;
      auto word = [&](size_t i) { return i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])); };
      while (a > 0 && word(PrevChar(text, a))) a = PrevChar(text, a);
      while (word(b)) b = NextChar(text, b);
      t.Select(a, b);
      Redraw(h, s);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s.tracking) {
        Measure m(h, s);
        MoveCaret(h, s, PointToOffset(h, s, m, MousePoint(l)), true);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (s.tracking) {
        s.tracking = false;
        if (msg == WM_LBUTTONUP && GetCapture() == h) ReleaseCapture();
      }
      return 0;
    case WM_KEYDOWN:
      if (KeyDown(h, s, w)) return 0;
      break;
    case WM_CHAR: Char(h, s, w); return 0;
    case WM_COPY: Copy(h, s); return 0;
    case WM_CUT:
      if (Style(h) & ES_READONLY) return 0;
      Copy(h, s);
      if (t.HasSelection()) UserDelete(h, s, true);
      return 0;
    case WM_CLEAR:
      if (t.HasSelection()) UserDelete(h, s, true);
      return 0;
    case WM_PASTE: Paste(h, s); return 0;
    case WM_UNDO:
    case EM_UNDO:
      if (!(Style(h) & ES_READONLY) && t.Undo()) TextChanged(h, s);
      return t.CanUndo();
    case EM_CANUNDO: return t.CanUndo();
    case EM_EMPTYUNDOBUFFER: t.ForgetUndo(); return 0;
    case EM_GETSEL: {
      auto start = static_cast<DWORD>(t.SelStart()), end = static_cast<DWORD>(t.SelEnd());
      if (w) *reinterpret_cast<DWORD*>(w) = start;
      if (l) *reinterpret_cast<DWORD*>(l) = end;
      return static_cast<LRESULT>(MAKELONG(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF)));
    }
    case EM_SETSEL: {
      auto start = static_cast<int>(w), end = static_cast<int>(l);
      size_t size = t.Text().size();
      if (start < 0) t.Select(t.Caret(), t.Caret());  // -1 takes the selection away
      else t.Select(static_cast<size_t>(start), end < 0 ? size : static_cast<size_t>(end));
      t.EndTyping();
      Redraw(h, s);
      return 0;
    }
    case EM_REPLACESEL: {
      std::string before = t.Text();
      t.EndTyping();
      bool all = t.Replace(l ? reinterpret_cast<const char*>(l) : "");
      if (!w) t.ForgetUndo();
      if (!all) Command(h, EN_MAXTEXT);
      if (t.Text() != before) TextChanged(h, s);
      return 0;
    }
    case EM_LIMITTEXT: t.SetLimit(w ? static_cast<size_t>(w) : 0x7FFFFFFE); return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(t.Limit());
    case EM_GETMODIFY: return s.modified;
    case EM_SETMODIFY: s.modified = w != 0; return 0;
    case EM_SETREADONLY: {
      LONG style = GetWindowLongA(h, GWL_STYLE);
      SetWindowLongA(h, GWL_STYLE, w ? (style | ES_READONLY) : (style & ~static_cast<LONG>(ES_READONLY)));
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case EM_GETLINECOUNT: return t.LineCount();
    case EM_LINEINDEX: {
      int line = static_cast<int>(w) < 0 ? t.LineFromOffset(t.Caret()) : static_cast<int>(w);
      size_t start = t.LineStart(line);
      return start == std::string::npos ? -1 : static_cast<LRESULT>(start);
    }
    case EM_LINELENGTH: {
      if (static_cast<int>(w) < 0) return static_cast<LRESULT>(t.LineLength(t.LineFromOffset(t.Caret())));
      return static_cast<LRESULT>(t.LineLength(t.LineFromOffset(static_cast<size_t>(w))));
    }
    case EM_LINEFROMCHAR:
      return t.LineFromOffset(static_cast<int>(w) < 0 ? t.Caret() : static_cast<size_t>(w));
    case EM_GETLINE: {
      // The first WORD of the buffer holds its size; the line is not terminated.
      auto* buf = reinterpret_cast<char*>(l);
      if (!buf) return 0;
      WORD room;
      std::memcpy(&room, buf, sizeof room);
      size_t start = t.LineStart(static_cast<int>(w));
      if (start == std::string::npos) return 0;
      size_t n = CharStart(t.Text(), start + std::min<size_t>(t.LineLength(static_cast<int>(w)), room)) - start;
      std::memcpy(buf, t.Text().data() + start, n);
      return static_cast<LRESULT>(n);
    }
    case EM_GETFIRSTVISIBLELINE: return Multi(h) ? s.topLine : 0;
    case EM_SCROLLCARET: ShowCaretAt(h, s); return TRUE;
    case EM_GETRECT:
      if (l) *reinterpret_cast<RECT*>(l) = TextArea(h);
      return 0;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_edits, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
