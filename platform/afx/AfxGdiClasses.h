// The framework's GDI wrappers as far as the image classes need them: CGdiObject,
// CBitmap and CDC over the stand-in's GDI handles. Each object owns the handle it
// created or attached and releases it when it dies.
#pragma once
#include "CObject.h"
#include "windows.h"

class CGdiObject : public CObject {
 public:
  CGdiObject() = default;
  ~CGdiObject() override;

  HGDIOBJ m_hObject = nullptr;
  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }

  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  BOOL DeleteObject();

  // A wrapper that does not own the handle, kept per thread until the handle is wrapped
  // again or the thread ends; never deleted by the caller.
  static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
};

class CBitmap : public CGdiObject {
 public:
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
  BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
  BOOL CreateCompatibleBitmap(class CDC* pDC, int nWidth, int nHeight);
  int GetBitmap(BITMAP* pBitMap);
  static CBitmap* PASCAL FromHandle(HBITMAP hBitmap);
};

class CDC : public CObject {
 public:
  CDC() = default;
  ~CDC() override;

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;
  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }

  BOOL Attach(HDC hDC);
  HDC Detach();
  BOOL CreateCompatibleDC(CDC* pDC);
  BOOL DeleteDC();

  HGDIOBJ SelectObject(HGDIOBJ hObject);
  CBitmap* SelectObject(CBitmap* pBitmap);
  int GetDeviceCaps(int nIndex) const;
  int SetStretchBltMode(int nStretchMode);
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
  BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                  int nSrcHeight, DWORD dwRop);
};
