// The text model of an edit control: UTF-8 text with a selection, a length limit,
// one level of undo, and lines split at CR LF (and, when wrapping, where a line would
// grow too wide). Offsets are bytes, always at character starts.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat::controls {

class EditText {
 public:
  const std::string& Text() const { return text_; }
  size_t Anchor() const { return anchor_; }
  size_t Caret() const { return caret_; }
  size_t SelStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  size_t SelEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool HasSelection() const { return anchor_ != caret_; }

  size_t Limit() const { return limit_; }
  void SetLimit(size_t limit) { limit_ = limit; }

  // Replaces everything, as WM_SETTEXT does: caret at the start, undo forgotten.
  void Reset(const std::string& text);
  // Moves anchor and caret (clamped and moved back to character starts).
  void Select(size_t anchor, size_t caret);

  // Replaces the selection with as much of `text` as the limit allows (never a part
  // of a character). Returns false when some of it did not fit. `typing` joins
  // consecutive typed characters into one undo step.
  bool Replace(const std::string& text, bool typing = false);
  // Deletes the selection, or the character after / before the caret.
  void DeleteForward();
  void DeleteBack();

  bool CanUndo() const { return canUndo_; }
  // Swaps the text with the state before the last change (undoing an undo redoes).
  bool Undo();
  void ForgetUndo() { canUndo_ = false; typingRun_ = false; }
  void EndTyping() { typingRun_ = false; }

  // Width in pixels of a piece of text.
  using Measure = std::function<int(std::string_view)>;
  // Lines also break where they would pass `width`: after spaces, or between characters
  // of a script written without spaces; a word wider than a line is cut between
  // characters. A width of 0 turns wrapping off.
  void SetWrap(int width, Measure measure);

  // Lines (separated by "\r\n", or wrapped). A wrapped line's length includes the
  // spaces it ends with; the next line starts right after them.
  int LineCount() const;
  int LineFromOffset(size_t offset) const;
  size_t LineStart(int line) const;  // npos for a line past the end
  size_t LineLength(int line) const;

 private:
  struct Line {
    size_t start, length;
  };
  void Snapshot();
  const std::vector<Line>& Lines() const;
  void WrapParagraph(size_t from, size_t to, std::vector<Line>& out) const;

  std::string text_;
  size_t anchor_ = 0, caret_ = 0;
  size_t limit_ = 30000;
  std::string undoText_;
  size_t undoAnchor_ = 0, undoCaret_ = 0;
  bool canUndo_ = false;
  bool typingRun_ = false;
  int wrapWidth_ = 0;
  Measure measure_;
  // Lines as laid out for `linesFor_` (the text they were made from).
  mutable std::vector<Line> lines_;
  mutable std::string linesFor_;
  mutable bool linesValid_ = false;
};

}  // namespace plat::controls
