#include "SECBmpMgr.h"

#include <cstring>

#include "LoadBitmapWithSysColors.h"

IMPLEMENT_DYNAMIC(SECBmpMgr, CObject)

namespace sec_toolbar {

ToolBarResource ReadToolBarResource(LPCSTR lpszName) {
  ToolBarResource out;
  HINSTANCE instance = AfxFindResourceHandle(lpszName, RT_TOOLBAR);
  HRSRC resource = ::FindResourceA(instance, lpszName, RT_TOOLBAR);
  if (!resource) return out;
  const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(instance, resource)));
  const DWORD size = ::SizeofResource(instance, resource);
  auto word = [&](DWORD at) { return static_cast<UINT>(data[at] | (data[at + 1] << 8)); };
  // A version, the image size, the count, then one word an item: all of it present.
  if (!data || size < 8) return out;
  const UINT count = word(6);
  if (8 + 2 * static_cast<DWORD>(count) > size) return out;
  out.nImageWidth = static_cast<int>(word(2));
  out.nImageHeight = static_cast<int>(word(4));
  for (UINT i = 0; i < count; ++i) out.items.push_back(word(8 + 2 * i));
  out.valid = true;
  return out;
}

}  // namespace sec_toolbar

SECBmpMgr::ResName::ResName(LPCSTR lpszName) {
  if (IS_INTRESOURCE(lpszName))
    id = lpszName;
  else
    text = lpszName;
}

SECBmpMgr::SECBmpMgr() : m_szSmall(16, 15), m_szLarge(22, 24) {}

SECBmpMgr::~SECBmpMgr() {
  for (auto& info : m_bitmaps) {
    if (info->hbmSmall && !info->bSmallNotOwned) ::DeleteObject(info->hbmSmall);
    if (info->hbmLarge && !info->bLargeNotOwned) ::DeleteObject(info->hbmLarge);
  }
}

void SECBmpMgr::Release() {
  if (--m_nRefCount == 0) delete this;
}

BOOL SECBmpMgr::AddToolBar(LPCSTR lpszName, LPCSTR lpszLargeName, BOOL bMapSysColors) {
  sec_toolbar::ToolBarResource resource = sec_toolbar::ReadToolBarResource(lpszName);
  if (!resource.valid) return FALSE;
  if (m_bitmaps.empty()) {
    // The first toolbar sets the image sizes.
    m_szSmall = CSize(resource.nImageWidth, resource.nImageHeight);
    if (lpszLargeName) {
      sec_toolbar::ToolBarResource large = sec_toolbar::ReadToolBarResource(lpszLargeName);
      if (!large.valid) return FALSE;
      m_szLarge = CSize(large.nImageWidth, large.nImageHeight);
    }
  }
  auto info = std::make_unique<BmpInfo>();
  info->smallName = ResName(lpszName);
  if (lpszLargeName) info->largeName = ResName(lpszLargeName);
  info->bMapSysColors = bMapSysColors;
  const int index = static_cast<int>(m_bitmaps.size());
  int image = 0;
  for (UINT id : resource.items) {
    if (id == 0) continue;  // separators have no image
    m_mapIdToItem.try_emplace(id, BmpItem{index, image});  // the first registration wins
    ++image;
  }
  info->nImageCount = image;
  BmpInfo* added = info.get();
  m_bitmaps.push_back(std::move(info));
  return LoadBitmaps(added, TRUE);
}

BOOL SECBmpMgr::GetBitmapInfo(UINT nID, HBITMAP* pBitmap, int* pImage, BOOL bSmall) const {
  auto it = m_mapIdToItem.find(nID);
  if (it == m_mapIdToItem.end()) return FALSE;
  const BmpItem& item = it->second;
  if (item.nBmpIndex < 0 || item.nBmpIndex >= static_cast<int>(m_bitmaps.size())) return FALSE;
  const BmpInfo& info = *m_bitmaps[static_cast<size_t>(item.nBmpIndex)];
  const bool small = bSmall || m_bSmallImages;
  HBITMAP hbm = small ? info.hbmSmall : info.hbmLarge;
  // An image the bitmap does not hold is no image.
  BITMAP bm{};
  const int width = small ? m_szSmall.cx : m_szLarge.cx;
  if (!hbm || !::GetObjectA(hbm, sizeof bm, &bm) || (item.nImage + 1) * width > bm.bmWidth) return FALSE;
  if (pBitmap) *pBitmap = hbm;
  if (pImage) *pImage = item.nImage;
  return TRUE;
}

void SECBmpMgr::SetKeepBothSizes(BOOL bKeep) {
  if (m_bKeepBothSizes == bKeep) return;
  m_bKeepBothSizes = bKeep;
  ReloadAllBitmaps(FALSE);
}

void SECBmpMgr::ReloadAllBitmaps(BOOL bReload) {
  for (auto& info : m_bitmaps) LoadBitmaps(info.get(), bReload);
}

namespace {
void Drop(HBITMAP& hbm) {
  if (hbm) ::DeleteObject(hbm);
  hbm = nullptr;
}
}  // namespace

BOOL SECBmpMgr::LoadBitmaps(BmpInfo* pInfo, BOOL bReload) {
  if (!pInfo->bSmallNotOwned && (m_bSmallImages || m_bKeepBothSizes)) {
    if (m_bSmallImages && !m_bKeepBothSizes && !pInfo->bLargeNotOwned) Drop(pInfo->hbmLarge);
    if (bReload) Drop(pInfo->hbmSmall);
    if (!pInfo->hbmSmall && !LoadSmallBitmap(pInfo)) return FALSE;
  }
  if (m_bSmallImages || pInfo->bLargeNotOwned) return TRUE;
  if (!m_bKeepBothSizes && !pInfo->bSmallNotOwned) Drop(pInfo->hbmSmall);
  if (bReload) Drop(pInfo->hbmLarge);
  if (!pInfo->hbmLarge) return LoadLargeBitmap(pInfo);
  return TRUE;
}

namespace {
HBITMAP LoadOne(const SECBmpMgr::ResName& name, BOOL bMapSysColors) {
  if (bMapSysColors) {
    CBitmap bitmap;
    if (!LoadBitmapWithSysColors(bitmap, name.Get())) return nullptr;
    return static_cast<HBITMAP>(bitmap.Detach());
  }
  return ::LoadBitmapA(AfxFindResourceHandle(name.Get(), RT_BITMAP), name.Get());
}
}  // namespace

BOOL SECBmpMgr::LoadSmallBitmap(BmpInfo* pInfo) {
  if (pInfo->bSmallNotOwned) return TRUE;
  pInfo->hbmSmall = LoadOne(pInfo->smallName, pInfo->bMapSysColors);
  return pInfo->hbmSmall != nullptr;
}

BOOL SECBmpMgr::LoadLargeBitmap(BmpInfo* pInfo) {
  if (pInfo->bLargeNotOwned) return TRUE;
  if (!pInfo->largeName.Empty()) {
    pInfo->hbmLarge = LoadOne(pInfo->largeName, pInfo->bMapSysColors);
    return pInfo->hbmLarge != nullptr;
  }
  // Stretched from the small images, one by one.
  bool loadedHere = false;
  if (!pInfo->hbmSmall) {
    if (!LoadSmallBitmap(pInfo) || !pInfo->hbmSmall) return FALSE;
    loadedHere = true;
  }
  BOOL done = FALSE;
  HDC screen = ::GetDC(nullptr);
  HDC source = ::CreateCompatibleDC(screen);
  HDC target = ::CreateCompatibleDC(screen);
  const int count = pInfo->nImageCount;
  HBITMAP large = source && target && count > 0
                      ? ::CreateCompatibleBitmap(screen, m_szLarge.cx * count, m_szLarge.cy)
                      : nullptr;
  if (large) {
    HGDIOBJ oldSource = ::SelectObject(source, pInfo->hbmSmall);
    HGDIOBJ oldTarget = ::SelectObject(target, large);
    for (int i = 0; i < count; ++i)
      ::StretchBlt(target, m_szLarge.cx * i, 0, m_szLarge.cx, m_szLarge.cy, source, m_szSmall.cx * i, 0, m_szSmall.cx,
                   m_szSmall.cy, SRCCOPY);
    ::SelectObject(source, oldSource);
    ::SelectObject(target, oldTarget);
    pInfo->hbmLarge = large;
    done = TRUE;
  }
  if (source) ::DeleteDC(source);
  if (target) ::DeleteDC(target);
  ::ReleaseDC(nullptr, screen);
  if (loadedHere) Drop(pInfo->hbmSmall);
  return done;
}
