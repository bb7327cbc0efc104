// COleVariant: a VARIANT that owns what it holds.
#pragma once
#include "OleAuto.h"
#include "afx.h"

class COleVariant : public tagVARIANT {
 public:
  COleVariant() { VariantInit(this); }
  COleVariant(const VARIANT& src);
  COleVariant(const COleVariant& src);
  COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);
  COleVariant(LONG lSrc, VARTYPE vtSrc = VT_I4);
  COleVariant(float fltSrc);
  COleVariant(double dblSrc);
  COleVariant(LPCTSTR lpszSrc);
  COleVariant(const CString& strSrc);
  ~COleVariant() { VariantClear(this); }

  COleVariant& operator=(const VARIANT& src);
  COleVariant& operator=(const COleVariant& src);

  void Clear() { VariantClear(this); }
  // Converts in place; a failed conversion throws the framework's OLE exception.
  void ChangeType(VARTYPE vartype, LPVARIANT pSrc = nullptr);
  // Gives up ownership of the held value.
  VARIANT Detach();

  operator LPVARIANT() { return this; }
  operator const VARIANT*() const { return this; }
};

// The failure code of an automation call that went wrong.
class COleException : public CException {
  DECLARE_DYNAMIC(COleException)

 public:
  explicit COleException(HRESULT sc) : m_sc(sc) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) override;
  HRESULT m_sc;
};

[[noreturn]] void AfxThrowOleException(HRESULT sc);
