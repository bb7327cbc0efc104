#include "COleVariant.h"

#include <cstdio>

COleVariant::COleVariant(const VARIANT& src) {
  VariantInit(this);
  if (HRESULT hr = VariantCopy(this, &src); FAILED(hr)) AfxThrowOleException(hr);
}

COleVariant::COleVariant(const COleVariant& src) : COleVariant(static_cast<const VARIANT&>(src)) {}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc) {
  VariantInit(this);
  if (vtSrc == VT_BOOL) {
    vt = VT_BOOL;
    boolVal = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
  } else {
    vt = VT_I2;
    iVal = nSrc;
  }
}

COleVariant::COleVariant(LONG lSrc, VARTYPE vtSrc) {
  VariantInit(this);
  if (vtSrc == VT_BOOL) {
    vt = VT_BOOL;
    boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (vtSrc == VT_ERROR) {
    vt = VT_ERROR;
    scode = lSrc;
  } else {
    vt = VT_I4;
    lVal = lSrc;
  }
}

COleVariant::COleVariant(float fltSrc) {
  VariantInit(this);
  vt = VT_R4;
  fltVal = fltSrc;
}

COleVariant::COleVariant(double dblSrc) {
  VariantInit(this);
  vt = VT_R8;
  dblVal = dblSrc;
}

COleVariant::COleVariant(LPCTSTR lpszSrc) {
  VariantInit(this);
  vt = VT_BSTR;
  bstrVal = plat::ole::BstrFromUtf8(lpszSrc ? lpszSrc : "");
  if (!bstrVal) AfxThrowMemoryException();
}

COleVariant::COleVariant(const CString& strSrc) : COleVariant(static_cast<LPCTSTR>(strSrc)) {}

COleVariant& COleVariant::operator=(const VARIANT& src) {
  if (HRESULT hr = VariantCopy(this, &src); FAILED(hr)) AfxThrowOleException(hr);
  return *this;
}

COleVariant& COleVariant::operator=(const COleVariant& src) { return *this = static_cast<const VARIANT&>(src); }

void COleVariant::ChangeType(VARTYPE vartype, LPVARIANT pSrc) {
  if (!pSrc) pSrc = this;
  if (pSrc == this && vartype == vt) return;
  if (HRESULT hr = VariantChangeType(this, pSrc, 0, vartype); FAILED(hr)) AfxThrowOleException(hr);
}

VARIANT COleVariant::Detach() {
  VARIANT held = *this;
  VariantInit(this);
  return held;
}

IMPLEMENT_DYNAMIC(COleException, CException)

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  if (!lpszError || nMaxError == 0) return FALSE;
  std::snprintf(lpszError, nMaxError, "OLE error 0x%08X", unsigned(m_sc));
  return TRUE;
}

void AfxThrowOleException(HRESULT sc) { THROW(std::make_unique<COleException>(sc).release()); }
