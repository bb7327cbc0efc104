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

void EditText::SetWrap(int width, Measure measure) {
  wrapWidth_ = measure ? std::max(0, width) : 0;
  measure_ = std::move(measure);
  linesValid_ = false;
}

namespace {
// Scripts written without spaces (CJK and the like) may break between any two characters.
bool Wide(unsigned char lead) { return lead >= 0x80; }
}  // namespace

void EditText::WrapParagraph(size_t from, size_t to, std::vector<Line>& out) const {
  std::string_view all(text_);
  size_t pos = from;
  for (;;) {
    if (wrapWidth_ <= 0 || measure_(all.substr(pos, to - pos)) <= wrapWidth_) {
      out.push_back(Line{pos, to - pos});
      return;
    }
    // The character ends up to `to`, and the last one that still fits (at least one).
    std::vector<size_t> ends;
    for (size_t i = NextChar(text_, pos); i <= to; i = NextChar(text_, i)) {
      ends.push_back(i);
      if (i == to) break;
    }
    size_t lo = 0, hi = ends.size();
    while (lo + 1 < hi) {
      size_t mid = (lo + hi) / 2;
      if (measure_(all.substr(pos, ends[mid] - pos)) <= wrapWidth_) lo = mid;
      else hi = mid;
    }
    size_t fit = ends[lo];
    size_t cut = fit;
    if (text_[fit] == ' ') {
      // Spaces after the last word that fits stay on its line, however wide.
      while (cut < to && text_[cut] == ' ') ++cut;
    } else {
      for (size_t k = fit; k > pos; k = PrevChar(text_, k)) {
        unsigned char before = static_cast<unsigned char>(text_[PrevChar(text_, k)]);
        unsigned char after = static_cast<unsigned char>(text_[k]);
        if (before == ' ' || Wide(before) || Wide(after)) {
          cut = k;
          break;
        }
      }
    }
    out.push_back(Line{pos, cut - pos});
    pos = cut;
    if (pos >= to) return;
  }
}

const std::vector<EditText::Line>& EditText::Lines() const {
  if (linesValid_ && linesFor_ == text_) return lines_;
  lines_.clear();
  size_t start = 0;
  for (;;) {
    size_t br = text_.find("\r\n", start);
    size_t end = br == std::string::npos ? text_.size() : br;
    if (end == start) lines_.push_back(Line{start, 0});
    else WrapParagraph(start, end, lines_);
    if (br == std::string::npos) break;
    start = br + 2;
  }
  linesFor_ = text_;
  linesValid_ = true;
  return lines_;
}

int EditText::LineCount() const { return static_cast<int>(Lines().size()); }

int EditText::LineFromOffset(size_t offset) const {
  const auto& lines = Lines();
  auto it = std::upper_bound(lines.begin(), lines.end(), offset, [](size_t o, const Line& l) { return o < l.start; });
  return it == lines.begin() ? 0 : static_cast<int>(it - lines.begin()) - 1;
}

size_t EditText::LineStart(int line) const {
  const auto& lines = Lines();
  if (line < 0 || line >= static_cast<int>(lines.size())) return std::string::npos;
  return lines[static_cast<size_t>(line)].start;
}

size_t EditText::LineLength(int line) const {
  const auto& lines = Lines();
  if (line < 0 || line >= static_cast<int>(lines.size())) return 0;
  return lines[static_cast<size_t>(line)].length;
}

}  // namespace plat::controls
