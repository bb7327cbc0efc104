// BitBlt, StretchBlt, PatBlt and the blts from DIB memory.
#include <cstdlib>

#include "gdi/ApiSupport.h"
#include "gdi/Blitter.h"
#include "gdi/DibFormat.h"

using namespace plat::gdi;

namespace {
void Note(DeviceContext& dc, const char* call, int x, int y, int w, int h, DWORD rop) {
  if (!dc.GetJournal()) return;
  JournalEntry e;
  e.call = call;
  e.points = {{x, y}};
  e.rect = {x, y, x + w, y + h};
  e.rop3 = rop;
  dc.Record(std::move(e));
}

BOOL StretchFromDc(HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int xs, int ys, int ws, int hs, DWORD rop,
                   const char* call) {
  auto dst = DcOf(hdcDest);
  if (!dst) return FALSE;
  uint8_t code = RopCode(rop);
  POINT d = dst->ToDevice(x, y);
  Note(*dst, call, x, y, w, h, rop);
  if (!RopUsesSource(code)) {
    Blt(*dst, d.x, d.y, w, h, nullptr, 0, 0, 0, 0, code);
    return TRUE;
  }
  auto src = DcOf(hdcSrc);
  if (!src) return FALSE;
  POINT s = src->ToDevice(xs, ys), so = src->SurfaceOrigin();
  BltSource from{src->Pixels(), src->State().bkColor};
  Blt(*dst, d.x, d.y, w, h, &from, s.x + so.x, s.y + so.y, ws, hs, code);
  return TRUE;
}
}  // namespace

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  if (RopUsesSource(RopCode(rop))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return StretchFromDc(hdc, x, y, w, h, nullptr, 0, 0, 0, 0, rop, "PatBlt");
}

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys, DWORD rop) {
  return StretchFromDc(dest, x, y, w, h, src, xs, ys, w, h, rop, "BitBlt");
}

BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys, int ws, int hs, DWORD rop) {
  return StretchFromDc(dest, x, y, w, h, src, xs, ys, ws, hs, rop, "StretchBlt");
}

int StretchDIBits(HDC hdc, int x, int y, int w, int h, int xs, int ys, int ws, int hs, const void* bits,
                  const BITMAPINFO* bmi, UINT usage, DWORD rop) {
  auto dc = DcOf(hdc);
  if (!dc) return 0;
  auto fmt = ReadDibFormat(bmi, usage, dc->State().palette.get());
  uint8_t code = RopCode(rop);
  if (!fmt || (!bits && RopUsesSource(code))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Note(*dc, "StretchDIBits", x, y, w, h, rop);
  POINT d = dc->ToDevice(x, y);
  // Source rows of a bottom-up DIB count from its last row.
  int top = fmt->bottomUp ? ClampCoord(int64_t(fmt->height) - ys - hs) : ys;
  BltSource from{fmt->View(bits, fmt->height), dc->State().bkColor};
  Blt(*dc, d.x, d.y, w, h, bits ? &from : nullptr, xs, top, ws, hs, code);
  return std::abs(hs);
}

int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD w, DWORD h, int xs, int ys, UINT startScan, UINT lines,
                      const void* bits, const BITMAPINFO* bmi, UINT usage) {
  auto dc = DcOf(hdc);
  if (!dc) return 0;
  auto fmt = ReadDibFormat(bmi, usage, dc->State().palette.get());
  if (!fmt || !bits || lines == 0 || w > 65536 || h > 65536) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Note(*dc, "SetDIBitsToDevice", x, y, int(w), int(h), SRCCOPY);
  int H = fmt->height, n = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(H)));
  // The buffer holds scans startScan .. startScan + lines; in top-down rows of the whole
  // image those are rows [first, first + n).
  int first = fmt->bottomUp ? ClampCoord(int64_t(H) - startScan - n) : ClampCoord(startScan);
  int top = fmt->bottomUp ? ClampCoord(int64_t(H) - ys - h) : ClampCoord(ys);
  Surface view = fmt->View(bits, n);
  BltSource from{view, dc->State().bkColor};
  // Source rectangle in buffer rows; rows the buffer lacks are left alone.
  int sTop = top - first, dTop = 0, hh = static_cast<int>(h);
  if (sTop < 0) dTop = -sTop, hh += sTop, sTop = 0;
  if (sTop + hh > n) hh = n - sTop;
  if (hh <= 0) return n;
  POINT d = dc->ToDevice(x, ClampCoord(int64_t(y) + dTop));
  Blt(*dc, d.x, d.y, static_cast<int>(w), hh, &from, xs, sTop, static_cast<int>(w), hh, RopCode(SRCCOPY));
  return n;
}
