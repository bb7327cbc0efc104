#include "text/TextFormatter.h"

#include <algorithm>

#include "text/Utf8.h"

namespace plat::text {
namespace {

constexpr std::string_view kEllipsis = "...";

// A line as shown, with the byte offsets of the characters a prefix underlines.
struct Shown {
  std::string text;
  std::vector<size_t> marks;
};

// "&x" underlines x, "&&" is one literal "&", a trailing "&" is dropped.
Shown ResolvePrefixes(std::string_view s, UINT format) {
  Shown out;
  if (format & DT_NOPREFIX) {
    out.text = s;
    return out;
  }
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out.text += s[i];
      continue;
    }
    if (i + 1 >= s.size()) break;
    if (s[i + 1] == '&') {
      out.text += '&';
      ++i;
      continue;
    }
    if (!(format & DT_HIDEPREFIX)) out.marks.push_back(out.text.size());
  }
  return out;
}

int Width(RealizedFont& f, std::string_view s) { return MeasureRun(f, s).width; }

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }

// Japanese line-breaking rules: closing marks, small kana and the long vowel mark never
// begin a line; opening brackets never end one.
bool NoLineStart(char32_t c) {
  static constexpr std::u32string_view marks = U"、。，．・：；？！ー々ゝゞヽヾ）］｝」』】〕〉》’”"
                                               U"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ),.:;!?]}";
  return marks.find(c) != std::u32string_view::npos;
}
bool NoLineEnd(char32_t c) {
  static constexpr std::u32string_view marks = U"（［｛「『【〔〈《‘“([{";
  return marks.find(c) != std::u32string_view::npos;
}

// Splits a paragraph into lines no wider than `width`, breaking after spaces and
// around wide characters (by the Japanese rules); a word wider than a line stays whole unless
// `breakWords` (the edit-control rule) lets it break between characters.
std::vector<std::pair<size_t, size_t>> Wrap(RealizedFont& f, std::string_view s, int width, bool breakWords) {
  std::vector<std::pair<size_t, size_t>> lines;  // [begin, end) of the shown part
  size_t lineStart = 0, pos = 0;
  int lineWidth = 0;   // of the line so far, trailing spaces included
  size_t lastBreak = std::string_view::npos;  // where the line may end (after spaces)
  char32_t prev = 0;
  while (pos < s.size()) {
    size_t len;
    char32_t c = DecodeAt(s, pos, &len);
    int adv = f.Advance(c);
    if (IsSpace(c)) {
      lineWidth += adv;
      pos += len;
      lastBreak = pos;
      prev = c;
      continue;
    }
    // Wide characters break before and after themselves.
    if ((IsWide(c) || IsWide(prev)) && pos > lineStart && !NoLineStart(c) && !NoLineEnd(prev)) lastBreak = pos;
    if (lineWidth + adv > width && pos > lineStart) {
      size_t cut = lastBreak != std::string_view::npos && lastBreak > lineStart ? lastBreak : std::string_view::npos;
      if (cut == std::string_view::npos && breakWords) cut = pos;
      if (cut != std::string_view::npos) {
        size_t end = cut;
        while (end > lineStart && (s[end - 1] == ' ' || s[end - 1] == '\t')) --end;
        lines.emplace_back(lineStart, end);
        lineStart = cut;
        while (lineStart < s.size() && (s[lineStart] == ' ' || s[lineStart] == '\t')) ++lineStart;
        lastBreak = std::string_view::npos;
        lineWidth = Width(f, s.substr(lineStart, pos - lineStart));
        continue;  // measure c again on the new line
      }
    }
    lineWidth += adv;
    pos += len;
    prev = c;
  }
  size_t end = s.size();
  while (end > lineStart && (s[end - 1] == ' ' || s[end - 1] == '\t')) --end;
  lines.emplace_back(lineStart, end);
  return lines;
}

// The longest prefix of `s` (ending at a character boundary) that fits in `room`.
size_t FittingPrefix(RealizedFont& f, std::string_view s, int room) {
  TextRun run = MeasureRun(f, s);
  size_t keep = 0;
  for (size_t i = 0; i < run.chars.size(); ++i) {
    if (run.pens[i] + run.advances[i] > room) break;
    keep = run.offsets[i] + run.lengths[i];
  }
  return keep;
}

// Shortens a line that does not fit, keeping underline marks that survive.
void Ellipsize(RealizedFont& f, Shown& line, UINT format, int width) {
  if (Width(f, line.text) <= width) return;
  const int dots = Width(f, kEllipsis);
  const std::string& s = line.text;
  size_t sep = s.find_last_of("\\/");
  if ((format & DT_PATH_ELLIPSIS) && sep != std::string::npos) {
    // Keep the last part of the path whole; drop characters before it.
    std::string last = s.substr(sep);
    int room = width - dots - Width(f, last);
    size_t keep = room > 0 ? FittingPrefix(f, std::string_view(s).substr(0, sep), room) : 0;
    std::vector<size_t> marks;
    for (size_t m : line.marks) {
      if (m < keep) marks.push_back(m);
      else if (m >= sep) marks.push_back(m - sep + keep + kEllipsis.size());
    }
    line.text = s.substr(0, keep) + std::string(kEllipsis) + last;
    line.marks = std::move(marks);
    if ((format & DT_END_ELLIPSIS) && Width(f, line.text) > width) {
      // Still too long: the leading dots stay and the last part is cut at its end.
      Shown tail{last, {}};
      for (size_t m : line.marks)
        if (m >= keep + kEllipsis.size()) tail.marks.push_back(m - keep - kEllipsis.size());
      Ellipsize(f, tail, DT_END_ELLIPSIS, width - dots);
      line.text = std::string(kEllipsis) + tail.text;
      line.marks.clear();
      for (size_t m : tail.marks) line.marks.push_back(m + kEllipsis.size());
    }
    return;
  }
  if (!(format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))) return;
  size_t keep = FittingPrefix(f, s, width - dots);
  line.text = s.substr(0, keep) + std::string(kEllipsis);
  std::erase_if(line.marks, [keep](size_t m) { return m >= keep; });
}

}  // namespace

FormattedText FormatText(RealizedFont& font, std::string_view text, UINT format, int width, int height,
                         int tabChars) {
  const FontMetrics& m = font.Metrics();
  FormattedText out;
  out.lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  const int tabWidth = std::max(1, tabChars) * std::max(1, m.aveCharWidth);

  // Paragraphs: a single line keeps CR and LF as characters, as Windows does.
  std::vector<std::string_view> paragraphs;
  if (format & DT_SINGLELINE) {
    paragraphs.push_back(text);
  } else {
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
        paragraphs.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
        start = i + 1;
      }
    }
  }

  std::vector<Shown> shown;
  for (std::string_view p : paragraphs) {
    Shown para = ResolvePrefixes(p, format);
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
      for (auto [b, e] : Wrap(font, para.text, width, (format & DT_EDITCONTROL) != 0)) {
        Shown part;
        part.text = para.text.substr(b, e - b);
        for (size_t mk : para.marks)
          if (mk >= b && mk < e) part.marks.push_back(mk - b);
        shown.push_back(std::move(part));
      }
    } else {
      shown.push_back(std::move(para));
    }
  }

  for (size_t i = 0; i < shown.size(); ++i) {
    Shown& s = shown[i];
    if (!(format & DT_CALCRECT) || (format & DT_MODIFYSTRING)) Ellipsize(font, s, format, width);
    FormattedLine line;
    line.text = s.text;
    line.run = MeasureRun(font, line.text);
    if (format & DT_EXPANDTABS) {
      // A tab moves the pen to the next stop; it draws nothing.
      int pen = 0;
      for (size_t k = 0; k < line.run.chars.size(); ++k) {
        line.run.pens[k] = pen;
        if (line.run.chars[k] == U'\t') {
          line.run.chars[k] = U' ';
          line.run.advances[k] = (pen / tabWidth + 1) * tabWidth - pen;
        }
        pen += line.run.advances[k];
      }
      line.run.width = pen;
    }
    for (size_t mk : s.marks) {
      for (size_t k = 0; k < line.run.offsets.size(); ++k)
        if (line.run.offsets[k] == mk)
          line.underlines.emplace_back(line.run.pens[k], line.run.pens[k] + line.run.advances[k]);
    }
    if (format & DT_CENTER)
      line.x = (width - line.run.width) / 2;
    else if (format & DT_RIGHT)
      line.x = width - line.run.width;
    line.y = static_cast<int>(i) * out.lineHeight;
    // An edit control shows no partly visible last line.
    if ((format & DT_EDITCONTROL) && i > 0 && line.y + out.lineHeight > height) break;
    out.width = std::max(out.width, line.run.width);
    out.lines.push_back(std::move(line));
  }
  out.height = static_cast<int>(out.lines.size()) * out.lineHeight;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      out.top = (height - out.height) / 2;
    else if (format & DT_BOTTOM)
      out.top = height - out.height;
  }
  return out;
}

}  // namespace plat::text
