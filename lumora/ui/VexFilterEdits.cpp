#include "VexFilterEdits.h"

#include <cstring>
#include <functional>
#include <string>

namespace {

// Each filter set is built once, on first use.
const std::string& FolderRefused() {
  static const std::string set = ".?*\"/<>|+";
  return set;
}

const std::string& NameRefused() {
  static const std::string set = ".?*\":/<>|+%";
  return set;
}

bool InSet(const std::string& set, UINT ch) { return ch != 0 && ch < 0x100 && set.find(static_cast<char>(ch)) != std::string::npos; }

// The clipboard's text.
CString ClipboardText(HWND owner) {
  CString text;
  if (!::OpenClipboard(owner)) return text;
  if (HANDLE mem = ::GetClipboardData(CF_TEXT)) {
    if (auto* p = static_cast<const char*>(::GlobalLock(mem))) {
      text = CString(p, static_cast<int>(strnlen(p, ::GlobalSize(mem))));
      ::GlobalUnlock(mem);
    }
  }
  ::CloseClipboard();
  return text;
}

// Pasting puts in what typing the same characters would: each one passes the filter
// against the text as it would then stand.
void PasteFiltered(CEdit& edit, const std::function<bool(const CString&, UINT)>& accepts) {
  const CString pasted = ClipboardText(edit.m_hWnd);
  if (pasted.IsEmpty()) return;
  CString text;
  edit.GetWindowText(text);
  CString kept;
  for (int i = 0; i < pasted.GetLength(); ++i) {
    const UINT ch = static_cast<unsigned char>(pasted[i]);
    if (accepts(text + kept, ch)) kept += static_cast<char>(ch);
  }
  if (!kept.IsEmpty()) edit.ReplaceSel(kept, TRUE);
}

}  // namespace

// ---- the folder edit

BEGIN_MESSAGE_MAP(CVexBrowseEdit, SECBrowseDirEdit)
ON_WM_CHAR()
ON_MESSAGE(WM_PASTE, OnPaste)
END_MESSAGE_MAP()

bool CVexBrowseEdit::Accepts(const CString& text, UINT ch) {
  if (ch == ':') {
    const std::string joined = std::string(static_cast<LPCSTR>(text)) + ':';
    return joined.find(':') == 1 && joined.find(':', 2) == std::string::npos;
  }
  return !InSet(FolderRefused(), ch);
}

void CVexBrowseEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CString text;
  GetWindowText(text);
  if (!Accepts(text, nChar)) return;
  SECBrowseDirEdit::OnChar(nChar, nRepCnt, nFlags);
}

LRESULT CVexBrowseEdit::OnPaste(WPARAM, LPARAM) {
  PasteFiltered(*this, [](const CString& text, UINT ch) { return Accepts(text, ch); });
  return 0;
}

// ---- the prefix and body edits

BEGIN_MESSAGE_MAP(CVexCheckEdit, CEdit)
ON_WM_CHAR()
ON_MESSAGE(WM_PASTE, OnPaste)
END_MESSAGE_MAP()

bool CVexCheckEdit::Accepts(UINT ch) { return !InSet(NameRefused(), ch); }

void CVexCheckEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!Accepts(nChar)) return;
  CEdit::OnChar(nChar, nRepCnt, nFlags);
}

LRESULT CVexCheckEdit::OnPaste(WPARAM, LPARAM) {
  PasteFiltered(*this, [](const CString&, UINT ch) { return Accepts(ch); });
  return 0;
}
