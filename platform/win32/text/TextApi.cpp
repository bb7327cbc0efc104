// The Win32 font and text functions over the DC internals.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "gdi/ApiSupport.h"
#include "text/FontObject.h"
#include "text/TextPainter.h"
#include "text/TextRun.h"
#include "text/Utf8.h"

using plat::gdi::DeviceContext;
using plat::text::FontObject;

namespace {

plat::text::RealizedFont& FontIn(const DeviceContext& dc) { return plat::text::FontOf(dc)->Realized(); }

BOOL Output(HDC hdc, const char* call, int x, int y, UINT options, const RECT* rect, LPCSTR text, int count,
            const INT* dx) {
  auto dc = plat::gdi::DcOf(hdc);
  if (!dc) return FALSE;
  if (count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto& state = dc->State();
  const bool updateCp = (state.textAlign & TA_UPDATECP) != 0;
  POINT ref = updateCp ? state.position : POINT{x, y};

  plat::gdi::JournalEntry entry;
  entry.call = call;
  entry.points = {ref};
  if (rect) entry.rect = *rect;
  entry.text.assign(text ? text : "", static_cast<size_t>(count));
  dc->Record(std::move(entry));

  std::optional<RECT> deviceRect;
  if (rect) {
    // The rectangle may come with its corners either way round (the framework's 3-D
    // frames draw their right and bottom edges with a width of -1).
    deviceRect = dc->ToDevice(*rect);
    if (deviceRect->left > deviceRect->right) std::swap(deviceRect->left, deviceRect->right);
    if (deviceRect->top > deviceRect->bottom) std::swap(deviceRect->top, deviceRect->bottom);
  }
  if ((options & ETO_OPAQUE) && deviceRect)
    dc->FillRect(*deviceRect, dc->SolidFill(state.bkColor), 0xF0 /* PATCOPY */);

  auto font = plat::text::FontOf(*dc);
  plat::text::TextRun run = plat::text::MeasureRun(font->Realized(), std::string_view(text ? text : "", count), dx);
  plat::text::PaintRequest req;
  req.origin = dc->ToDevice(ref.x, ref.y);
  req.align = state.textAlign;
  if ((options & ETO_CLIPPED) && deviceRect) req.clip = deviceRect;
  req.background = state.bkMode == OPAQUE && count > 0;
  POINT move = plat::text::PaintRun(*dc, *font, run, req);

  if (updateCp) {
    // The current position moves past the text: forwards for left-aligned text,
    // backwards for right-aligned, not at all for centred.
    if ((state.textAlign & TA_CENTER) == TA_CENTER) move = POINT{0, 0};
    else if (state.textAlign & TA_RIGHT) move = POINT{-move.x, -move.y};
    state.position.x += move.x;
    state.position.y += move.y;
  }
  return TRUE;
}

// The DC's font for a per-character query over [first, last] (code points).
plat::text::RealizedFont* FontForRange(HDC hdc, UINT first, UINT last, const void* out) {
  auto dc = plat::gdi::DcOf(hdc);
  if (!dc) return nullptr;
  if (!out || last < first || last > 0x10FFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return &FontIn(*dc);
}

}  // namespace

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (DWORD err = plat::faults::Check("CreateFontIndirectA")) {
    SetLastError(err);
    return nullptr;
  }
  HFONT font = plat::gdi::Add<HFONT>(std::make_shared<FontObject>(*lf));
  if (!font) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return font;
}

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                         DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                         DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  // A longer name is cut at a whole character when the font object reads it.
  if (faceName) std::memcpy(lf.lfFaceName, faceName, std::min(std::strlen(faceName), sizeof lf.lfFaceName));
  return CreateFontIndirectA(&lf);
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
  return Output(hdc, "TextOutA", x, y, 0, nullptr, text, count, nullptr);
}

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                        const INT* dx) {
  if (count > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return Output(hdc, "ExtTextOutA", x, y, options, rect, text, static_cast<int>(count), dx);
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentExPointA(hdc, text, count, 0, nullptr, nullptr, size);
}

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentPoint32A(hdc, text, count, size);
}

BOOL WINAPI GetTextExtentExPointA(HDC hdc, LPCSTR text, int count, int maxExtent, LPINT fit, LPINT dx,
                                  LPSIZE size) {
  auto dc = plat::gdi::DcOf(hdc);
  if (!dc) return FALSE;
  if (count < 0 || !size || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto& font = FontIn(*dc);
  auto run = plat::text::MeasureRun(font, std::string_view(text ? text : "", count));
  // Counts and partial extents are in bytes, as the narrow API counts; every byte
  // of a character carries the extent up to the end of that character.
  int fitted = 0;
  for (size_t i = 0; i < run.chars.size(); ++i) {
    int end = run.pens[i] + run.advances[i];
    if (fit && (maxExtent < 0 || end <= maxExtent) && fitted == static_cast<int>(run.offsets[i]))
      fitted = static_cast<int>(run.offsets[i] + run.lengths[i]);
    if (dx)
      for (size_t b = 0; b < run.lengths[i]; ++b) dx[run.offsets[i] + b] = end;
  }
  if (fit) *fit = fitted;
  size->cx = run.width;
  size->cy = font.Metrics().height;
  return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA tm) {
  auto dc = plat::gdi::DcOf(hdc);
  if (!dc) return FALSE;
  if (!tm) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *tm = plat::text::ToTextMetric(FontIn(*dc).Metrics());
  return TRUE;
}

int WINAPI GetTextFaceA(HDC hdc, int count, LPSTR face) {
  auto dc = plat::gdi::DcOf(hdc);
  if (!dc) return 0;
  const std::string& name = FontIn(*dc).FaceName();
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t n = plat::text::CutAtBoundary(name, static_cast<size_t>(count - 1));
  std::memcpy(face, name.data(), n);
  face[n] = '\0';
  return static_cast<int>(n) + 1;
}

BOOL WINAPI GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT widths) {
  auto* font = FontForRange(hdc, first, last, widths);
  if (!font) return FALSE;
  for (UINT c = first; c <= last; ++c) widths[c - first] = font->Advance(c);
  return TRUE;
}

BOOL WINAPI GetCharWidthA(HDC hdc, UINT first, UINT last, LPINT widths) {
  return GetCharWidth32A(hdc, first, last, widths);
}

BOOL WINAPI GetCharABCWidthsA(HDC hdc, UINT first, UINT last, LPABC abc) {
  auto* font = FontForRange(hdc, first, last, abc);
  if (!font) return FALSE;
  for (UINT c = first; c <= last; ++c) {
    const auto& g = font->GlyphOf(c);
    ABC& out = abc[c - first];
    // A blank glyph is all advance: B carries it, A and C are zero.
    if (g.width == 0) {
      out = ABC{0, static_cast<UINT>(g.advance), 0};
    } else {
      out.abcA = g.left;
      out.abcB = static_cast<UINT>(g.width);
      out.abcC = g.advance - g.left - g.width;
    }
  }
  return TRUE;
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
  auto dc = plat::gdi::DcOf(hdc);
  if (!dc) return GDI_ERROR;
  UINT old = dc->State().textAlign;
  dc->State().textAlign = align & (TA_UPDATECP | TA_CENTER | TA_BASELINE);
  return old;
}

UINT WINAPI GetTextAlign(HDC hdc) {
  auto dc = plat::gdi::DcOf(hdc);
  return dc ? dc->State().textAlign : GDI_ERROR;
}
