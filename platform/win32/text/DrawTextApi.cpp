// DrawTextA / DrawTextExA: formatted text in a rectangle.
#include <cstring>

#include "LastError.h"
#include "WinError.h"
#include "gdi/ApiSupport.h"
#include "text/FontObject.h"
#include "text/TextFormatter.h"
#include "text/TextPainter.h"

namespace {

int FormattedOutput(HDC hdc, char* writable, LPCSTR text, int count, LPRECT rect, UINT format,
                    LPDRAWTEXTPARAMS params) {
  auto dc = plat::gdi::DcOf(hdc);
  if (!dc) return 0;
  if (!rect || (!text && count != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (count < 0) count = static_cast<int>(std::strlen(text));
  std::string_view s(text ? text : "", static_cast<size_t>(count));

  int tabChars = params && params->iTabLength > 0 ? params->iTabLength : 8;
  if (format & DT_TABSTOP) {
    // The tab length rides in the second byte, in place of the flags kept there.
    tabChars = (format >> 8) & 0xFF;
    format &= ~0xFF00u;
    if (tabChars == 0) tabChars = 8;
  }
  const int leftMargin = params ? params->iLeftMargin : 0;
  const int rightMargin = params ? params->iRightMargin : 0;
  RECT box{rect->left + leftMargin, rect->top, rect->right - rightMargin, rect->bottom};

  auto font = plat::text::FontOf(*dc);
  auto laid = plat::text::FormatText(font->Realized(), s, format, box.right - box.left, box.bottom - box.top,
                                     tabChars);
  if (params) params->uiLengthDrawn = static_cast<UINT>(count);

  if (format & DT_CALCRECT) {
    rect->right = rect->left + leftMargin + laid.width + rightMargin;
    rect->bottom = rect->top + laid.height;
  } else {
    plat::gdi::JournalEntry entry;
    entry.call = "DrawTextA";
    entry.rect = *rect;
    entry.text = std::string(s);
    dc->Record(std::move(entry));

    const auto& state = dc->State();
    std::optional<RECT> clip;
    if (!(format & DT_NOCLIP)) clip = dc->ToDevice(*rect);
    for (const auto& line : laid.lines) {
      plat::text::PaintRequest req;
      req.origin = dc->ToDevice(box.left + line.x, box.top + laid.top + line.y);
      req.clip = clip;
      req.background = state.bkMode == OPAQUE && !line.run.chars.empty();
      req.underlines = line.underlines;
      plat::text::PaintRun(*dc, *font, line.run, req);
    }
  }

  // The shortened text goes back to the caller's buffer, which the caller
  // promises has room; it is written only where it fits in the bytes given.
  if ((format & DT_MODIFYSTRING) && writable && laid.lines.size() == 1 && laid.lines[0].text != s &&
      laid.lines[0].text.size() <= static_cast<size_t>(count)) {
    const std::string& shown = laid.lines[0].text;
    std::memcpy(writable, shown.data(), shown.size());
    writable[shown.size()] = '\0';
  }
  if (!(format & DT_CALCRECT) && (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)))
    return laid.top + laid.height;
  return laid.height;
}

}  // namespace

int WINAPI DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
  // As on Windows, DT_MODIFYSTRING writes into the text it was given.
  return FormattedOutput(hdc, const_cast<char*>(text), text, count, rect, format, nullptr);
}

int WINAPI DrawTextExA(HDC hdc, LPSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
  return FormattedOutput(hdc, text, text, count, rect, format, params);
}
