// The text model of an edit control: UTF-8 text with a selection, a length limit,
// one level of undo, and lines split at CR LF. Offsets are bytes, always at character
// starts.
#pragma once
#include <cstddef>
#include <string>

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

  // Lines (separated by "\r\n").
  int LineCount() const;
  int LineFromOffset(size_t offset) const;
  size_t LineStart(int line) const;  // npos for a line past the end
  size_t LineLength(int line) const;

 private:
  void Snapshot();

  std::string text_;
  size_t anchor_ = 0, caret_ = 0;
  size_t limit_ = 30000;
  std::string undoText_;
  size_t undoAnchor_ = 0, undoCaret_ = 0;
  bool canUndo_ = false;
  bool typingRun_ = false;
};

}  // namespace plat::controls
