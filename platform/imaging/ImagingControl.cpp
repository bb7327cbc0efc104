#include "imaging/ImagingControl.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "Faults.h"
#include "HandleTable.h"
#include "WinGdi.h"
#include "WinSync.h"
#include "imaging/ColorAdjust.h"

namespace plat::imaging {

namespace {

// Sent by a thread that does not own the window to have it repainted now.
constexpr UINT kRepaintMessage = WM_USER + 0x3F01;

struct BadArguments {
  HRESULT code;
};

// The arguments of one call, read as the types the member takes.
class Args {
 public:
  Args(VARIANT* args, UINT count, UINT expected) : args_(args) {
    if (count != expected) throw BadArguments{DISP_E_BADPARAMCOUNT};
  }
  short Short(UINT i) const { return As(i, VT_I2).iVal; }
  LONG Long(UINT i) const { return As(i, VT_I4).lVal; }
  float Float(UINT i) const { return As(i, VT_R4).fltVal; }
  bool Bool(UINT i) const { return As(i, VT_BOOL).boolVal != 0; }
  std::string Text(UINT i) const {
    VARIANT v = As(i, VT_BSTR);
    std::string text = plat::ole::Utf8FromBstr(v.bstrVal);
    VariantClear(&v);
    return text;
  }
  LONG* LongRef(UINT i) const {
    if (args_[i].vt != (VT_I4 | VT_BYREF)) throw BadArguments{DISP_E_TYPEMISMATCH};
    return args_[i].plVal;
  }
  const VARIANT& Raw(UINT i) const { return args_[i]; }

 private:
  VARIANT As(UINT i, VARTYPE vt) const {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, &args_[i], 0, vt))) throw BadArguments{DISP_E_TYPEMISMATCH};
    return v;
  }
  VARIANT* args_;
};

void Answer(VARIANT* result, short v) {
  if (result) result->vt = VT_I2, result->iVal = v;
}
void Answer(VARIANT* result, LONG v) {
  if (result) result->vt = VT_I4, result->lVal = v;
}
void Answer(VARIANT* result, float v) {
  if (result) result->vt = VT_R4, result->fltVal = v;
}
void AnswerBool(VARIANT* result, bool v) {
  if (result) result->vt = VT_BOOL, result->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
}

bool FieldFromVariant(const VARIANT& v, FieldValue* out) {
  switch (v.vt) {
    case VT_EMPTY: *out = std::monostate{}; return true;
    case VT_BSTR: *out = plat::ole::Utf8FromBstr(v.bstrVal); return true;
    case VT_I2: *out = std::vector<int32_t>{v.iVal}; return true;
    case VT_I4: *out = std::vector<int32_t>{v.lVal}; return true;
    case VT_ARRAY | VT_UI1:
    case VT_ARRAY | VT_I4: {
      LONG low = 0, high = -1;
      SafeArrayGetLBound(v.parray, 1, &low);
      SafeArrayGetUBound(v.parray, 1, &high);
      size_t n = high >= low ? size_t(high - low + 1) : 0;
      void* data = nullptr;
      if (FAILED(SafeArrayAccessData(v.parray, &data))) return false;
      if (v.vt == (VT_ARRAY | VT_UI1)) {
        auto* p = static_cast<const uint8_t*>(data);
        *out = std::vector<uint8_t>(p, p + n);
      } else {
        auto* p = static_cast<const int32_t*>(data);
        *out = std::vector<int32_t>(p, p + n);
      }
      SafeArrayUnaccessData(v.parray);
      return true;
    }
    default: return false;
  }
}

// Bytes and numbers come back as arrays, text as a string; an unset field is empty.
void VariantFromField(const FieldValue& value, VARIANT* out) {
  VariantInit(out);
  if (auto* text = std::get_if<std::string>(&value)) {
    out->vt = VT_BSTR;
    out->bstrVal = plat::ole::BstrFromUtf8(*text);
    return;
  }
  auto makeArray = [&](VARTYPE vt, const void* data, size_t n, size_t size) {
    SAFEARRAYBOUND bound{ULONG(n), 0};
    SAFEARRAY* array = SafeArrayCreate(vt, 1, &bound);
    if (!array) return;
    void* at = nullptr;
    SafeArrayAccessData(array, &at);
    if (n) std::memcpy(at, data, n * size);
    SafeArrayUnaccessData(array);
    out->vt = VT_ARRAY | vt;
    out->parray = array;
  };
  if (auto* bytes = std::get_if<std::vector<uint8_t>>(&value)) makeArray(VT_UI1, bytes->data(), bytes->size(), 1);
  if (auto* ints = std::get_if<std::vector<int32_t>>(&value)) makeArray(VT_I4, ints->data(), ints->size(), 4);
}

// Properties that callers only set; they are kept and read back as set.
struct Setting {
  DISPID id;
  VARTYPE vt;
};
constexpr Setting kSettings[] = {{5, VT_BOOL},    {6, VT_I2},    {19, VT_I2},   {20, VT_BOOL},
                                 {57, VT_BOOL},   {146, VT_I4},  {237, VT_BOOL}, {272, VT_BOOL},
                                 {275, VT_BOOL},  {-500, VT_BOOL}, {-504, VT_I2}, {-520, VT_I2}};

const Setting* FindSetting(DISPID id) {
  for (const Setting& s : kSettings)
    if (s.id == id) return &s;
  return nullptr;
}

struct Registrar {
  Registrar() { ImagingControl::Register(); }
} registrar;

}  // namespace

const CLSID& ImagingControl::Clsid() {
  static const CLSID clsid = {0x00110000, 0xB1BA, 0x11CE, {0xAB, 0xC6, 0xF5, 0xB2, 0xE7, 0x9D, 0x9E, 0x3F}};
  return clsid;
}

void ImagingControl::Register() {
  plat::ole::ControlRegistry::Register(Clsid(), [] { return std::make_unique<ImagingControl>(); });
}

HRESULT ImagingControl::Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, std::string* error) {
  int after = kNothing;
  HRESULT hr;
  try {
    std::lock_guard<std::mutex> guard(lock_);
    hr = Call(id, flags, args, count, result, &after);
  } catch (const BadArguments& bad) {
    hr = bad.code;
  }
  if (FAILED(hr) && error) *error = "The imaging control refused the call.";
  if (after != kNothing) Repaint(after == kRepaintNow);
  return hr;
}

HRESULT ImagingControl::Call(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, int* after) {
  if (flags & DISPATCH_METHOD) return Method(id, args, count, result, after);
  if (flags & (DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT))
    return Property(id, (flags & DISPATCH_PROPERTYPUT) != 0, args, count, result, after);
  return DISP_E_MEMBERNOTFOUND;
}

void ImagingControl::PictureChanged(bool newPicture) {
  int w = int(core_.ImageWidth()), h = int(core_.ImageHeight());
  if (newPicture || w != lastWidth_ || h != lastHeight_) view_.SetPicture(w, h);
  lastWidth_ = w;
  lastHeight_ = h;
}

HRESULT ImagingControl::Method(DISPID id, VARIANT* a, UINT n, VARIANT* result, int* after) {
  // Picture edits: a status, and the picture shown again.
  auto edit = [&](Status st, bool newPicture = false) {
    Answer(result, st);
    PictureChanged(newPicture);
    *after = kRepaint;
    return S_OK;
  };
  switch (id) {
    case 282: { Args x(a, n, 1); return edit(core_.AverageFilter(x.Short(0))); }
    case 283: { Args x(a, n, 1); return edit(core_.MedianFilter(x.Short(0))); }
    case 284: { Args x(a, n, 1); return edit(core_.ChangeContrast(x.Short(0))); }
    case 286: { Args x(a, n, 0); return edit(core_.FlipVertical()); }
    case 287: { Args x(a, n, 1); return edit(core_.Grayscale(x.Short(0))); }
    case 289: { Args x(a, n, 1); return edit(core_.ChangeHue(x.Short(0))); }
    case 290: { Args x(a, n, 1); return edit(core_.ChangeBrightness(x.Short(0))); }
    case 291: { Args x(a, n, 0); return edit(core_.Negative()); }
    case 294: { Args x(a, n, 1); return edit(core_.Sharpen(x.Short(0))); }
    case 295: { Args x(a, n, 1); return edit(core_.ChangeSaturation(x.Short(0))); }
    case 296: { Args x(a, n, 0); return edit(core_.FlipHorizontal()); }
    case 305: { Args x(a, n, 3); return edit(core_.Rotate(x.Long(0), x.Short(1), x.Long(2))); }
    case 312: { Args x(a, n, 1); return edit(core_.ApplyGamma(x.Short(0))); }
    case 314: { Args x(a, n, 3); return edit(core_.CreateImage(x.Float(0), x.Float(1), x.Short(2)), true); }
    case 319: { Args x(a, n, 3); return edit(core_.ResizeImage(x.Float(0), x.Float(1), x.Short(2))); }
    case 322: {
      Args x(a, n, 4);
      return edit(core_.LoadFile(x.Text(0), x.Short(1), x.Short(2), x.Short(3)), true);
    }
    case 327: { Args x(a, n, 1); return edit(core_.ApplyLookupTable(x.Short(0))); }
    case 331: { Args x(a, n, 1); Answer(result, core_.SplitColorPlanes(x.Long(0))); return S_OK; }
    case 332: { Args x(a, n, 1); return edit(core_.MergeColorPlanes(x.Long(0))); }
    case 339: { Args x(a, n, 4); return edit(core_.CropImage(x.Float(0), x.Float(1), x.Float(2), x.Float(3))); }
    case 297: {
      Args x(a, n, 0);
      Status st = Status(plat::faults::Check("imaging.ForceRepaint"));
      Answer(result, st);
      if (st == 0) *after = kRepaintNow;
      return S_OK;
    }
    case 301: {
      Args x(a, n, 5);
      Answer(result, core_.SaveFile(x.Text(0), x.Short(1), x.Short(2), x.Short(3), x.Short(4)));
      return S_OK;
    }
    case 315: {
      Args x(a, n, 5);
      HDC dc = plat::ToHandle<HDC>(uint32_t(x.Long(0)));
      Answer(result, core_.RenderToDC(dc, x.Float(1), x.Float(2), x.Float(3), x.Float(4)));
      return S_OK;
    }
    case 316: { Args x(a, n, 0); Answer(result, core_.GetImageDC()); return S_OK; }
    case 317: { Args x(a, n, 0); return edit(core_.ReleaseImageDC()); }
    case 335:
    case 336: {
      Args x(a, n, 4);
      Status st = Status(plat::faults::Check(id == 335 ? "imaging.SetDisplaySourceRect" : "imaging.SetDisplayRect"));
      FRect r{x.Float(0), x.Float(1), x.Float(2), x.Float(3)};
      if (st == 0 && (r.width < 0 || r.height < 0)) st = status::kInvalidArgument;
      if (st == 0) {
        if (id == 335)
          view_.SetDisplay(r);
        else
          view_.SetClip(r);
        *after = kRepaint;
      }
      Answer(result, st);
      return S_OK;
    }
    case 341: { Args x(a, n, 2); Answer(result, core_.ReadFileInfo(x.Text(0), x.Short(1))); return S_OK; }
    case 344: {
      Args x(a, n, 4);
      region_ = {x.Float(0), x.Float(1), x.Float(2), x.Float(3)};
      tracking_ = false;
      *after = kRepaint;
      return S_OK;
    }
    case 345: {
      Args x(a, n, 0);
      if (drawDc_ || plat::faults::Check("imaging.GetDrawDC")) {
        Answer(result, LONG(0));
        return S_OK;
      }
      drawDc_ = GetDC(Window());
      Answer(result, LONG(plat::HandleId(drawDc_)));
      return S_OK;
    }
    case 346: {
      Args x(a, n, 0);
      Status st = Status(plat::faults::Check("imaging.ReleaseDrawDC"));
      if (st == 0 && !drawDc_) st = status::kInvalidArgument;
      if (st == 0) {
        ReleaseDC(Window(), drawDc_);
        drawDc_ = nullptr;
      }
      Answer(result, st);
      return S_OK;
    }
    case 368: {
      Args x(a, n, 5);
      Answer(result, core_.SaveToMemory(x.LongRef(0), x.Short(1), x.Short(2), x.Short(3), x.LongRef(4)));
      return S_OK;
    }
    case 425: {
      Args x(a, n, 3);
      FieldValue value;
      Status st = core_.ReadFileField(x.Text(0), x.Short(1), x.Short(2), &value);
      if (result) {
        if (st == 0)
          VariantFromField(value, result);
        else
          VariantInit(result);
      }
      return S_OK;
    }
    default: return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT ImagingControl::Property(DISPID id, bool put, VARIANT* a, UINT n, VARIANT* result, int* after) {
  // Indexed properties first: their index comes before a put's value.
  switch (id) {
    case 479: {
      if (!put) return DISP_E_MEMBERNOTFOUND;
      Args x(a, n, 2);
      core_.SetLutEntry(x.Short(0), x.Short(1));
      return S_OK;
    }
    case 482: {
      if (put) {
        Args x(a, n, 2);
        core_.SetImageSlot(x.Short(0), x.Long(1));
      } else {
        Args x(a, n, 1);
        Answer(result, core_.GetImageSlot(x.Short(0)));
      }
      return S_OK;
    }
    case 490: {
      if (!put) return DISP_E_MEMBERNOTFOUND;
      Args x(a, n, 2);
      FieldValue value;
      if (!FieldFromVariant(x.Raw(1), &value)) return DISP_E_TYPEMISMATCH;
      core_.SetFileField(x.Short(0), std::move(value));
      return S_OK;
    }
    case 491: {
      if (put) return DISP_E_MEMBERNOTFOUND;
      Args x(a, n, 2);
      Answer(result, core_.GetPixel(x.Float(0), x.Float(1)));
      return S_OK;
    }
    default: break;
  }
  Args x(a, n, put ? 1 : 0);
  auto rect = [&](FRect r, int index, bool settable, auto set) -> HRESULT {
    float* field = index == 0 ? &r.left : index == 1 ? &r.top : index == 2 ? &r.width : &r.height;
    if (!put) {
      Answer(result, *field);
      return S_OK;
    }
    if (!settable) return DISP_E_MEMBERNOTFOUND;
    *field = x.Float(0);
    set(r);
    *after = kRepaint;
    return S_OK;
  };
  auto noSet = [](const FRect&) {};
  switch (id) {
    case 1:
      if (put) {
        core_.SetBitmap(x.Long(0));
        PictureChanged(true);
        *after = kRepaint;
      } else {
        Answer(result, core_.GetBitmap());
      }
      return S_OK;
    case 2:
      if (!put) return AnswerBool(result, autoRepaint_), S_OK;
      autoRepaint_ = x.Bool(0);
      if (autoRepaint_) *after = kRepaint;
      return S_OK;
    case -501:
      if (!put) return Answer(result, LONG(backColor_)), S_OK;
      backColor_ = COLORREF(x.Long(0)) & 0xFFFFFF;
      *after = kRepaint;
      return S_OK;
    case 10: if (put) break; Answer(result, core_.ImageWidth()); return S_OK;
    case 11: if (put) break; Answer(result, core_.ImageHeight()); return S_OK;
    case 12: if (put) break; Answer(result, core_.BitsPerPixel()); return S_OK;
    case 21: case 22: case 23: case 24: return rect(view_.Display(), id - 21, false, noSet);
    case 25: case 26: case 27: case 28:
      return rect(view_.Clip(), id - 25, true, [&](const FRect& r) { view_.SetClip(r); });
    case 29: case 30: case 31: case 32: return rect(view_.Source(), id - 29, false, noSet);
    case 40: if (put) break; Answer(result, float(core_.LastFileInfo().width)); return S_OK;
    case 41: if (put) break; Answer(result, float(core_.LastFileInfo().height)); return S_OK;
    case 43: if (put) break; Answer(result, core_.LastFileInfo().format); return S_OK;
    case 44: if (put) break; Answer(result, LONG(core_.LastFileInfo().fileBytes)); return S_OK;
    case 45: {
      if (put) break;
      // A size a LONG cannot hold reads as the largest LONG, never as a wrapped small one.
      const uint64_t bytes = core_.LastFileInfo().imageBytes;
      Answer(result, bytes > 0x7FFFFFFFu ? LONG(0x7FFFFFFF) : LONG(bytes));
      return S_OK;
    }
    case 48:
      if (!put) return AnswerBool(result, regionEnabled_), S_OK;
      regionEnabled_ = x.Bool(0);
      *after = kRepaint;
      return S_OK;
    case 49: case 50: case 51: case 52:
      return rect(region_, id - 49, true, [&](const FRect& r) { region_ = r; });
    case 60: if (put) break; Answer(result, float(view_.ClientWidth())); return S_OK;
    case 61: if (put) break; Answer(result, float(view_.ClientHeight())); return S_OK;
    case 136: if (put) break; Answer(result, view_.Display().left); return S_OK;
    case 137: if (put) break; Answer(result, view_.Display().top); return S_OK;
    case 154:
      if (!put) return Answer(result, view_.Mode()), S_OK;
      view_.SetMode(x.Short(0));
      *after = kRepaint;
      return S_OK;
    case 155:
      if (!put) return Answer(result, view_.Zoom()), S_OK;
      if (!view_.SetZoom(x.Float(0))) return DISP_E_OVERFLOW;
      *after = kRepaint;
      return S_OK;
    case 160:
      if (!put) return AnswerBool(result, mouseTracksRegion_), S_OK;
      mouseTracksRegion_ = x.Bool(0);
      if (!mouseTracksRegion_) tracking_ = false;
      return S_OK;
    case 172: case 173: case 174: {
      short* field = id == 172 ? &paintContrast_ : id == 173 ? &paintGamma_ : &paintBrightness_;
      if (!put) return Answer(result, *field), S_OK;
      *field = x.Short(0);
      *after = kRepaint;
      return S_OK;
    }
    case 223:
      if (!put) return Answer(result, frameWidth_), S_OK;
      frameWidth_ = x.Float(0);
      *after = kRepaint;
      return S_OK;
    case 224:
      if (!put) return Answer(result, LONG(frameColor_)), S_OK;
      frameColor_ = COLORREF(x.Long(0)) & 0xFFFFFF;
      *after = kRepaint;
      return S_OK;
    default:
      if (const Setting* s = FindSetting(id)) {
        if (put) {
          VARIANT v;
          VariantInit(&v);
          if (FAILED(VariantChangeType(&v, &x.Raw(0), 0, VT_R8))) return DISP_E_TYPEMISMATCH;
          settings_[id] = v.dblVal;
          return S_OK;
        }
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_R8;
        v.dblVal = settings_.count(id) ? settings_[id] : 0.0;
        if (result) return VariantChangeType(result, &v, 0, s->vt);
        return S_OK;
      }
      return DISP_E_MEMBERNOTFOUND;
  }
  return DISP_E_MEMBERNOTFOUND;
}

void ImagingControl::Repaint(bool now) {
  HWND hwnd = Window();
  if (!hwnd) return;
  bool automatic;
  {
    std::lock_guard<std::mutex> guard(lock_);
    automatic = autoRepaint_;
  }
  if (!now && !automatic) return;
  // Hidden controls (the pipeline's working controls) have nothing to show, so their
  // worker threads never wait for the window's thread.
  if (!IsWindowVisible(hwnd)) return;
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) {
    // Another thread never waits for the window's thread: it asks, and the window paints
    // when its thread comes to it. Asks made meanwhile come to one paint, so a busy
    // window shows fewer pictures instead of holding up the thread that makes them.
    const int ask = kRepaintAsked | (now ? kRepaintAskedNow : 0);
    if ((repaintAsked_.fetch_or(ask) & kRepaintAsked) == 0) PostMessageA(hwnd, kRepaintMessage, 0, 0);
    return;
  }
  InvalidateRect(hwnd, nullptr, FALSE);
  FireEvent(kEventRepaintNeeded);
  if (now) UpdateWindow(hwnd);
}

LRESULT ImagingControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
    case WM_SIZE: {
      RECT client{};
      GetClientRect(Window(), &client);
      {
        std::lock_guard<std::mutex> guard(lock_);
        view_.SetClient(client.right - client.left, client.bottom - client.top);
      }
      if (message == WM_SIZE) InvalidateRect(Window(), nullptr, FALSE);
      return 0;
    }
    case kRepaintMessage:
      Repaint((repaintAsked_.exchange(0) & kRepaintAskedNow) != 0);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the background itself, without flicker
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Window(), &ps);
      if (dc) Paint(dc);
      EndPaint(Window(), &ps);
      FireEvent(kEventPainted);
      return 0;
    }
    case WM_RBUTTONUP:
      // After its MouseUp event the release goes on, so the host gets its WM_CONTEXTMENU.
      Mouse(message, wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      Mouse(message, wParam, lParam);
      return 0;
    case WM_NCDESTROY: {
      std::lock_guard<std::mutex> guard(lock_);
      if (drawDc_) ReleaseDC(Window(), drawDc_);
      drawDc_ = nullptr;
      break;
    }
    default: break;
  }
  return plat::ole::Control::WindowProc(message, wParam, lParam);
}

void ImagingControl::Paint(HDC dc) {
  std::shared_ptr<const Dib> picture;
  FRect display, source, clip;
  COLORREF back, frame;
  float frameWidth;
  short contrast, gamma, brightness;
  int cw, ch;
  {
    std::lock_guard<std::mutex> guard(lock_);
    picture = core_.Picture();
    display = view_.Display();
    source = view_.Source();
    clip = view_.Clip();
    back = backColor_;
    frame = frameColor_;
    frameWidth = frameWidth_;
    contrast = paintContrast_;
    gamma = paintGamma_;
    brightness = paintBrightness_;
    cw = view_.ClientWidth();
    ch = view_.ClientHeight();
  }
  RECT all{0, 0, cw, ch};
  HBRUSH backBrush = CreateSolidBrush(back);
  FillRect(dc, &all, backBrush);
  DeleteObject(backBrush);
  if (picture && display.width > 0 && display.height > 0 && source.width > 0 && source.height > 0) {
    // The display-only adjustments work on a copy; the held picture stays as it is.
    std::shared_ptr<const Dib> shown = picture;
    if (contrast != 0 || gamma != 100 || brightness != 0) {
      auto copy = std::make_shared<Dib>(picture->Clone());
      if (brightness) ChangeBrightness(*copy, brightness);
      if (contrast) ChangeContrast(*copy, contrast);
      if (gamma != 100 && gamma > 0) ApplyGamma(*copy, gamma);
      shown = copy;
    }
    int saved = SaveDC(dc);
    IntersectClipRect(dc, int(std::floor(clip.left)), int(std::floor(clip.top)), int(std::ceil(clip.left + clip.width)),
                      int(std::ceil(clip.top + clip.height)));
    const std::vector<uint8_t> info = shown->BitmapInfo();
    // Source rows are counted from the top; the DIB is bottom-up.
    int sx = int(source.left), sw = int(source.width), sh = int(source.height);
    int sy = shown->Height() - int(source.top) - sh;
    // A shrunk picture shows the average of the pixels each screen pixel covers, so its
    // colours stay true; an enlarged one shows each pixel as a crisp block.
    const bool shrunk = display.width < source.width || display.height < source.height;
    SetStretchBltMode(dc, shrunk ? HALFTONE : COLORONCOLOR);
    StretchDIBits(dc, int(std::lround(display.left)), int(std::lround(display.top)), int(std::lround(display.width)),
                  int(std::lround(display.height)), sx, sy, sw, sh, shown->Bits0(),
                  reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    RestoreDC(dc, saved);
  }
  int width = int(std::lround(frameWidth));
  if (width > 0) {
    HBRUSH frameBrush = CreateSolidBrush(frame);
    for (int i = 0; i < width; ++i) {
      RECT r{i, i, cw - i, ch - i};
      FrameRect(dc, &r, frameBrush);
    }
    DeleteObject(frameBrush);
  }
  DrawBand(dc);
}

void ImagingControl::DrawBand(HDC dc) const {
  FRect r;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (!regionEnabled_) return;
    r = region_;
  }
  // A band dragged up or left has a negative size; it is drawn normalised.
  float l = r.width < 0 ? r.left + r.width : r.left, t = r.height < 0 ? r.top + r.height : r.top;
  RECT band{int(l), int(t), int(l + std::fabs(r.width)), int(t + std::fabs(r.height))};
  if (band.right > band.left && band.bottom > band.top) DrawFocusRect(dc, &band);
}

void ImagingControl::Mouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const LONG x = LONG(SHORT(LOWORD(lParam))), y = LONG(SHORT(HIWORD(lParam)));
  const short shift = short(((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0));
  short button = 0;
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK) button = 1;
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK) button = 2;
  if (message == WM_MOUSEMOVE) button = short(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0));
  VARIANT args[4];
  for (VARIANT& v : args) VariantInit(&v);
  args[0].vt = VT_I2, args[0].iVal = button;
  args[1].vt = VT_I2, args[1].iVal = shift;
  args[2].vt = VT_I4, args[2].lVal = x;
  args[3].vt = VT_I4, args[3].lVal = y;

  bool bandEnded = false, bandMoved = false;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (message == WM_LBUTTONDOWN && regionEnabled_ && mouseTracksRegion_) {
      tracking_ = true;
      region_ = {float(x), float(y), 0, 0};
      bandMoved = true;
    } else if (tracking_ && message == WM_MOUSEMOVE) {
      region_.width = float(x) - region_.left;
      region_.height = float(y) - region_.top;
      bandMoved = true;
    } else if (tracking_ && message == WM_LBUTTONUP) {
      region_.width = float(x) - region_.left;
      region_.height = float(y) - region_.top;
      tracking_ = false;
      bandEnded = true;
    }
  }
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) SetCapture(Window());
  if ((message == WM_LBUTTONUP || message == WM_RBUTTONUP) && GetCapture() == Window()) ReleaseCapture();
  if (bandMoved || bandEnded) InvalidateRect(Window(), nullptr, FALSE);

  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: FireEvent(DISPID_MOUSEDOWN, args, 4); break;
    case WM_MOUSEMOVE: FireEvent(DISPID_MOUSEMOVE, args, 4); break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: FireEvent(DISPID_MOUSEUP, args, 4); break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: FireEvent(DISPID_DBLCLICK); break;
    default: break;
  }
  if (bandEnded) FireEvent(kEventRegionDone);
}

}  // namespace plat::imaging
