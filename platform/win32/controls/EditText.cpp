#include "EditText.h"

#include <algorithm>

#include "ControlSupport.h"

namespace plat::controls {

void EditText::Reset(const std::string& text) {
  text_ = text;
  anchor_ = caret_ = 0;
  ForgetUndo();
}

void EditText::Select(size_t anchor, size_t caret) {
  anchor_ = CharStart(text_, std::min(anchor, text_.size()));
  caret_ = CharStart(text_, std::min(caret, text_.size()));
}

void EditText::Snapshot() {
  undoText_ = text_;
  undoAnchor_ = anchor_;
  undoCaret_ = caret_;
  canUndo_ = true;
}

bool EditText::Replace(const std::string& text, bool typing) {
  size_t start = SelStart(), end = SelEnd();
  size_t room = limit_ > text_.size() - (end - start) ? limit_ - (text_.size() - (end - start)) : 0;
  size_t take = text.size();
  if (take > room) {
    // Cut at a character start so no character is split.
    take = room;
    while (take > 0 && take < text.size() && (static_cast<unsigned char>(text[take]) & 0xC0) == 0x80) --take;
  }
  if (take == 0 && start == end) return text.empty();
  if (!(typing && typingRun_)) Snapshot();
  typingRun_ = typing;
  text_.replace(start, end - start, text, 0, take);
  anchor_ = caret_ = start + take;
  return take == text.size();
}

void EditText::DeleteForward() {
  if (!HasSelection()) {
    if (caret_ >= text_.size()) return;
    size_t next = NextChar(text_, caret_);
    if (text_.compare(caret_, 2, "\r\n") == 0) next = caret_ + 2;
    anchor_ = next;
  }
  Replace("");
}

void EditText::DeleteBack() {
  if (!HasSelection()) {
    if (caret_ == 0) return;
    size_t prev = PrevChar(text_, caret_);
    if (prev > 0 && text_.compare(prev - 1, 2, "\r\n") == 0) --prev;
    anchor_ = prev;
  }
  Replace("");
}

bool EditText::Undo() {
  if (!canUndo_) return false;
  std::swap(text_, undoText_);
  std::swap(anchor_, undoAnchor_);
  std::swap(caret_, undoCaret_);
  typingRun_ = false;
  return true;
}

int EditText::LineCount() const {
  int n = 1;
  for (size_t p = text_.find("\r\n"); p != std::string::npos; p = text_.find("\r\n", p + 2)) ++n;
  return n;
}

int EditText::LineFromOffset(size_t offset) const {
  int line = 0;
  for (size_t p = text_.find("\r\n"); p != std::string::npos && p < offset; p = text_.find("\r\n", p + 2)) ++line;
  return line;
}

size_t EditText::LineStart(int line) const {
  if (line < 0) return std::string::npos;
  size_t p = 0;
  for (int i = 0; i < line; ++i) {
    size_t br = text_.find("\r\n", p);
    if (br == std::string::npos) return std::string::npos;
    p = br + 2;
  }
  return p;
}

size_t EditText::LineLength(int line) const {
  size_t start = LineStart(line);
  if (start == std::string::npos) return 0;
  size_t br = text_.find("\r\n", start);
  return (br == std::string::npos ? text_.size() : br) - start;
}

}  // namespace plat::controls
