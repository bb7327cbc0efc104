// The container side of hosted controls: creating them as CWnd windows and calling
// their properties and methods by dispatch id.
#include <cstdarg>
#include <vector>

#include "CWnd.h"
#include "COleDispatchException.h"
#include "COleVariant.h"
#include "Faults.h"
#include "OleControl.h"

using plat::ole::ControlRegistry;

void AfxEnableControlContainer() { ControlRegistry::EnsureWindowClasses(); }

BOOL CWnd::CreateControl(REFCLSID clsid, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID, CFile* pPersist, BOOL bStorage, BSTR bstrLicKey) {
  if (plat::faults::Check("CreateControl") || !ControlRegistry::EnsureWindowClass(clsid)) return FALSE;
  std::string className = ControlRegistry::ClassName(clsid);
  return CreateEx(0, className.c_str(), pszWindowName ? pszWindowName : "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

namespace {

// Owns the VARIANTs of one call.
struct Arguments {
  std::vector<VARIANT> values;
  ~Arguments() {
    for (VARIANT& v : values) VariantClear(&v);
  }
};

void ThrowDispatch(HRESULT hr, const std::string& description) {
  COleDispatchException* e = std::make_unique<COleDispatchException>(
                                 description.empty() ? "The control call failed." : description.c_str(), 0, 0)
                                 .release();
  e->m_scError = hr;
  THROW(e);
}

VARIANT ReadArgument(BYTE code, va_list& ap) {
  VARIANT v;
  VariantInit(&v);
  switch (code) {
    case 0x02: v.vt = VT_I2; v.iVal = SHORT(va_arg(ap, int)); break;
    case 0x03: v.vt = VT_I4; v.lVal = va_arg(ap, LONG); break;
    case 0x04: v.vt = VT_R4; v.fltVal = float(va_arg(ap, double)); break;
    case 0x05: v.vt = VT_R8; v.dblVal = va_arg(ap, double); break;
    case 0x0B: v.vt = VT_BOOL; v.boolVal = va_arg(ap, BOOL) ? VARIANT_TRUE : VARIANT_FALSE; break;
    case 0x0C: {
      const VARIANT* source = va_arg(ap, const VARIANT*);
      if (source && FAILED(VariantCopy(&v, source))) AfxThrowMemoryException();
      break;
    }
    case 0x0E: {
      LPCSTR text = va_arg(ap, LPCSTR);
      v.vt = VT_BSTR;
      v.bstrVal = plat::ole::BstrFromUtf8(text ? text : "");
      if (!v.bstrVal) AfxThrowMemoryException();
      break;
    }
    case 0x11: v.vt = VT_UI1; v.bVal = BYTE(va_arg(ap, int)); break;
    case 0x43: v.vt = VT_I4 | VT_BYREF; v.plVal = va_arg(ap, LONG*); break;
    case 0x42: v.vt = VT_I2 | VT_BYREF; v.byref = va_arg(ap, SHORT*); break;
    case 0x44: v.vt = VT_R4 | VT_BYREF; v.byref = va_arg(ap, float*); break;
    case 0x4C: v.vt = VT_VARIANT | VT_BYREF; v.byref = va_arg(ap, VARIANT*); break;
    default: ThrowDispatch(DISP_E_BADVARTYPE, "Unknown parameter type.");
  }
  return v;
}

// Stores `result` where the caller's `vtRet` says.
void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet) {
  if (vtRet == VT_EMPTY || !pvRet) return;
  if (vtRet == VT_VARIANT) {
    // Handed over as it is; the caller owns it now.
    *static_cast<VARIANT*>(pvRet) = result;
    VariantInit(&result);
    return;
  }
  if (HRESULT hr = VariantChangeType(&result, &result, 0, vtRet); FAILED(hr))
    ThrowDispatch(hr, "The control answered a value of another type.");
  switch (vtRet) {
    case VT_I2: *static_cast<SHORT*>(pvRet) = result.iVal; break;
    case VT_I4: *static_cast<LONG*>(pvRet) = result.lVal; break;
    case VT_R4: *static_cast<float*>(pvRet) = result.fltVal; break;
    case VT_R8: *static_cast<double*>(pvRet) = result.dblVal; break;
    case VT_BOOL: *static_cast<BOOL*>(pvRet) = result.boolVal ? TRUE : FALSE; break;
    case VT_UI1: *static_cast<BYTE*>(pvRet) = result.bVal; break;
    case VT_BSTR: *static_cast<CString*>(pvRet) = plat::ole::Utf8FromBstr(result.bstrVal).c_str(); break;
    default: ThrowDispatch(DISP_E_BADVARTYPE, "Unknown result type.");
  }
}

void Dispatch(HWND hwnd, DISPID id, WORD flags, Arguments& args, VARTYPE vtRet, void* pvRet) {
  plat::ole::Control* control = ControlRegistry::Find(hwnd);
  if (!control) ThrowDispatch(E_FAIL, "The window holds no control.");
  VARIANT result;
  VariantInit(&result);
  std::string error;
  HRESULT hr = control->Invoke(id, flags, args.values.data(), UINT(args.values.size()),
                               (flags & DISPATCH_PROPERTYPUT) ? nullptr : &result, &error);
  if (FAILED(hr)) {
    VariantClear(&result);
    ThrowDispatch(hr, error);
  }
  try {
    StoreResult(result, vtRet, pvRet);
  } catch (...) {
    VariantClear(&result);
    throw;
  }
  VariantClear(&result);
}

}  // namespace

void CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...) {
  Arguments args;
  va_list ap;
  va_start(ap, pbParamInfo);
  try {
    for (const BYTE* code = pbParamInfo; code && *code; ++code) args.values.push_back(ReadArgument(*code, ap));
  } catch (...) {
    va_end(ap);
    throw;
  }
  va_end(ap);
  Dispatch(m_hWnd, dwDispID, wFlags, args, vtRet, pvRet);
}

void CWnd::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const {
  Arguments none;
  Dispatch(m_hWnd, dwDispID, DISPATCH_PROPERTYGET, none, vtProp, pvProp);
}

void CWnd::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...) {
  BYTE code = 0;
  switch (vtProp) {
    case VT_I2: code = 0x02; break;
    case VT_I4: code = 0x03; break;
    case VT_R4: code = 0x04; break;
    case VT_R8: code = 0x05; break;
    case VT_BOOL: code = 0x0B; break;
    case VT_VARIANT: code = 0x0C; break;
    case VT_BSTR: code = 0x0E; break;
    case VT_UI1: code = 0x11; break;
    default: ThrowDispatch(DISP_E_BADVARTYPE, "Unknown property type.");
  }
  Arguments args;
  va_list ap;
  va_start(ap, vtProp);
  try {
    args.values.push_back(ReadArgument(code, ap));
  } catch (...) {
    va_end(ap);
    throw;
  }
  va_end(ap);
  Dispatch(m_hWnd, dwDispID, DISPATCH_PROPERTYPUT, args, VT_EMPTY, nullptr);
}
