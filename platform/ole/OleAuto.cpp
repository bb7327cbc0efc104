#include "OleAuto.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "text/Utf8.h"

// ---- BSTR: a length prefix in bytes, the characters, a terminating zero ----

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);

uint32_t* PrefixOf(BSTR bstr) { return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(bstr) - kPrefix); }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch) {
  if (cch > (std::numeric_limits<uint32_t>::max() - kPrefix) / sizeof(OLECHAR) - 1) return nullptr;
  char* block = static_cast<char*>(std::malloc(kPrefix + (size_t(cch) + 1) * sizeof(OLECHAR)));
  if (!block) return nullptr;
  uint32_t bytes = uint32_t(cch * sizeof(OLECHAR));
  std::memcpy(block, &bytes, kPrefix);
  BSTR text = reinterpret_cast<BSTR>(block + kPrefix);
  if (pch)
    std::memcpy(text, pch, cch * sizeof(OLECHAR));
  else
    std::memset(text, 0, cch * sizeof(OLECHAR));
  text[cch] = 0;
  return text;
}

BSTR SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  UINT n = 0;
  while (psz[n]) ++n;
  return SysAllocStringLen(psz, n);
}

void SysFreeString(BSTR bstr) {
  if (bstr) std::free(PrefixOf(bstr));
}

UINT SysStringLen(BSTR bstr) { return bstr ? *PrefixOf(bstr) / sizeof(OLECHAR) : 0; }

namespace plat::ole {

BSTR BstrFromUtf8(const std::string& text) {
  std::u16string wide = plat::text::ToUtf16(text);
  return SysAllocStringLen(wide.data(), UINT(wide.size()));
}

std::string Utf8FromBstr(const OLECHAR* bstr) {
  std::string out;
  if (!bstr) return out;
  for (size_t i = 0; bstr[i]; ++i) {
    char32_t c = bstr[i];
    if (c >= 0xD800 && c < 0xDC00 && bstr[i + 1] >= 0xDC00 && bstr[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (bstr[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // an unpaired surrogate
    }
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | (c >> 6)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(char(0xE0 | (c >> 12)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (c >> 18)));
      out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace plat::ole

// ---- SAFEARRAY ----

namespace {

// The array header handed out, with the element block it owns behind it.
struct SafeArrayBlock : SAFEARRAY {
  VARTYPE vt = VT_EMPTY;
  std::vector<unsigned char> data;
};

SafeArrayBlock* BlockOf(SAFEARRAY* psa) { return static_cast<SafeArrayBlock*>(psa); }

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound) {
  ULONG size = vt == VT_UI1 ? 1 : vt == VT_I4 ? 4 : 0;
  if (size == 0 || cDims != 1 || !rgsabound) return nullptr;
  auto block = std::make_unique<SafeArrayBlock>();
  block->cDims = 1;
  block->fFeatures = 0;
  block->cbElements = size;
  block->cLocks = 0;
  block->rgsabound[0] = rgsabound[0];
  block->vt = vt;
  block->data.assign(size_t(rgsabound[0].cElements) * size, 0);
  block->pvData = block->data.data();
  return block.release();
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  if (psa->cLocks) return DISP_E_ARRAYISLOCKED;
  std::unique_ptr<SafeArrayBlock> owned(BlockOf(psa));
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
  if (!psa || !ppvData) return E_INVALIDARG;
  ++psa->cLocks;
  *ppvData = psa->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks == 0) return E_FAIL;
  --psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
  if (!psa || !plUbound) return E_INVALIDARG;
  if (nDim != 1) return DISP_E_BADINDEX;
  *plUbound = psa->rgsabound[0].lLbound + LONG(psa->rgsabound[0].cElements) - 1;
  return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
  if (!psa || !plLbound) return E_INVALIDARG;
  if (nDim != 1) return DISP_E_BADINDEX;
  *plLbound = psa->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
  if (!psa || !pvt) return E_INVALIDARG;
  *pvt = BlockOf(psa)->vt;
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
  if (!ppsaOut) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (!psa) return S_OK;
  SAFEARRAY* copy = SafeArrayCreate(BlockOf(psa)->vt, 1, psa->rgsabound);
  if (!copy) return E_OUTOFMEMORY;
  BlockOf(copy)->data = BlockOf(psa)->data;
  copy->pvData = BlockOf(copy)->data.data();
  *ppsaOut = copy;
  return S_OK;
}

// ---- VARIANT ----

void VariantInit(VARIANT* pvarg) {
  std::memset(pvarg, 0, sizeof(VARIANT));
  pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  if (pvarg->vt == VT_BSTR) SysFreeString(pvarg->bstrVal);
  if ((pvarg->vt & VT_ARRAY) && !(pvarg->vt & VT_BYREF)) {
    if (HRESULT hr = SafeArrayDestroy(pvarg->parray); FAILED(hr)) return hr;
  }
  VariantInit(pvarg);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (pvargDest == pvargSrc) return S_OK;
  VARIANT copy = *pvargSrc;
  if (pvargSrc->vt == VT_BSTR && pvargSrc->bstrVal) {
    copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
    if (!copy.bstrVal) return E_OUTOFMEMORY;
  } else if ((pvargSrc->vt & VT_ARRAY) && !(pvargSrc->vt & VT_BYREF)) {
    if (HRESULT hr = SafeArrayCopy(pvargSrc->parray, &copy.parray); FAILED(hr)) return hr;
  }
  if (HRESULT hr = VariantClear(pvargDest); FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *pvargDest = copy;
  return S_OK;
}

namespace {

// A number read from a VARIANT for conversion; false when it holds none.
bool NumberOf(const VARIANT& v, double* out, HRESULT* error) {
  switch (v.vt) {
    case VT_EMPTY: *out = 0; return true;
    case VT_I2: *out = v.iVal; return true;
    case VT_I4: *out = v.lVal; return true;
    case VT_R4: *out = v.fltVal; return true;
    case VT_R8: *out = v.dblVal; return true;
    case VT_BOOL: *out = v.boolVal ? -1 : 0; return true;
    case VT_UI1: *out = v.bVal; return true;
    case VT_I4 | VT_BYREF: *out = v.plVal ? *v.plVal : 0; return true;
    case VT_BSTR: {
      std::string text = plat::ole::Utf8FromBstr(v.bstrVal);
      char* end = nullptr;
      *out = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0') {
        *error = DISP_E_TYPEMISMATCH;
        return false;
      }
      return true;
    }
    default: *error = DISP_E_TYPEMISMATCH; return false;
  }
}

// Whole numbers round half to even, as automation conversions do.
bool ToInteger(double value, double low, double high, LONG* out) {
  if (std::isnan(value)) return false;
  double rounded = std::nearbyint(value);
  if (rounded < low || rounded > high) return false;
  *out = LONG(rounded);
  return true;
}

}  // namespace

HRESULT VariantChangeType(VARIANT* pvargDest, const VARIANT* pvarSrc, USHORT wFlags, VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  VARIANT result;
  VariantInit(&result);
  result.vt = vt;
  if (vt == pvarSrc->vt) {
    if (HRESULT hr = VariantCopy(&result, pvarSrc); FAILED(hr)) return hr;
  } else if (vt == VT_EMPTY) {
    // Nothing to carry over.
  } else if (vt == VT_BSTR) {
    std::string text;
    double number = 0;
    HRESULT error = S_OK;
    if (pvarSrc->vt == VT_BOOL) {
      text = pvarSrc->boolVal ? "True" : "False";
    } else if (pvarSrc->vt == VT_EMPTY) {
    } else if (NumberOf(*pvarSrc, &number, &error)) {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%.*g", pvarSrc->vt == VT_R4 ? 7 : 15, number);
      text = buffer;
    } else {
      return error;
    }
    result.bstrVal = plat::ole::BstrFromUtf8(text);
    if (!result.bstrVal) return E_OUTOFMEMORY;
  } else {
    double number = 0;
    HRESULT error = S_OK;
    if (!NumberOf(*pvarSrc, &number, &error)) return error;
    LONG whole = 0;
    switch (vt) {
      case VT_I2:
        if (!ToInteger(number, -32768, 32767, &whole)) return DISP_E_OVERFLOW;
        result.iVal = SHORT(whole);
        break;
      case VT_I4:
        if (!ToInteger(number, -2147483648.0, 2147483647.0, &whole)) return DISP_E_OVERFLOW;
        result.lVal = whole;
        break;
      case VT_UI1:
        if (!ToInteger(number, 0, 255, &whole)) return DISP_E_OVERFLOW;
        result.bVal = BYTE(whole);
        break;
      case VT_R4:
        if (std::fabs(number) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
        result.fltVal = float(number);
        break;
      case VT_R8: result.dblVal = number; break;
      case VT_BOOL: result.boolVal = number != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
      default: return DISP_E_BADVARTYPE;
    }
  }
  if (HRESULT hr = VariantClear(pvargDest); FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *pvargDest = result;
  return S_OK;
}
