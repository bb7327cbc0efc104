#include "CGdiObject.h"

#include <cstdlib>

#include "CDC.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace plat::afx {
std::unique_ptr<CGdiObject> GdiTraits::MakeTemporary(HGDIOBJ h) {
  switch (::GetObjectType(h)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return std::make_unique<CPen>();
    case OBJ_BRUSH: return std::make_unique<CBrush>();
    case OBJ_FONT: return std::make_unique<CFont>();
    case OBJ_BITMAP: return std::make_unique<CBitmap>();
    case OBJ_PAL: return std::make_unique<CPalette>();
    case OBJ_REGION: return std::make_unique<CRgn>();
    default: return std::make_unique<CGdiObject>();
  }
}
void GdiTraits::Set(CGdiObject& o, HGDIOBJ h) { o.m_hObject = h; }
void GdiTraits::Clear(CGdiObject& o) { o.m_hObject = nullptr; }
}  // namespace plat::afx

using plat::afx::Thread;

CGdiObject::~CGdiObject() { DeleteObject(); }

HGDIOBJ CGdiObject::GetSafeHandle() const {
  const CGdiObject* self = plat::afx::Unassumed(this);
  return self ? self->m_hObject : nullptr;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return Thread().gdiObjects.FromHandle(hObject); }
void CGdiObject::DeleteTempMap() { Thread().gdiObjects.DeleteTemp(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject) return FALSE;
  Thread().gdiObjects.SetPermanent(hObject, this);
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  Thread().gdiObjects.Forget(h, this);
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) { return Attach(::CreatePatternBrush(*pBitmap)); }

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename) {
  return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                              nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
  LOGFONT lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = nPointSize;
  snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", lpszFaceName ? lpszFaceName : "");
  return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
  // The height comes in tenths of a point; turn it into logical units of the device.
  HDC hdc = pDC ? pDC->m_hAttribDC : ::GetDC(nullptr);
  LOGFONT lf = *lpLogFont;
  LONG dpi = ::GetDeviceCaps(hdc, LOGPIXELSY);
  POINT pt{0, static_cast<LONG>((static_cast<long long>(dpi) * lf.lfHeight + 360) / 720)};
  ::DPtoLP(hdc, &pt, 1);
  POINT origin{0, 0};
  ::DPtoLP(hdc, &origin, 1);
  lf.lfHeight = -std::abs(pt.y - origin.y);
  if (!pDC) ::ReleaseDC(nullptr, hdc);
  return CreateFontIndirect(&lf);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC) { return Attach(::CreateHalftonePalette(CDC::SafeHdcOf(pDC))); }

int CPalette::GetEntryCount() {
  WORD n = 0;
  return GetObject(sizeof n, &n) ? n : 0;
}
