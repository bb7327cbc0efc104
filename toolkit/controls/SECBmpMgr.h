// SECBmpMgr: the toolbars' shared images. It maps command ids to images of registered
// toolbar bitmaps, keeps each bitmap in a small and a large image size (the large one
// stretched from the small when no large resource is given), and lives as long as a
// bar or manager holds a reference.
#pragma once
#include <map>
#include <memory>
#include <vector>

#include <afxwin.h>

class SECBmpMgr : public CObject {
  DECLARE_DYNAMIC(SECBmpMgr)
 public:
  // A resource name: a numeric id or a string, kept either way.
  struct ResName {
    ResName() = default;
    explicit ResName(LPCSTR lpszName);
    LPCSTR Get() const { return text.IsEmpty() ? id : static_cast<LPCSTR>(text); }
    bool Empty() const { return !id && text.IsEmpty(); }
    LPCSTR id = nullptr;
    CString text;
  };
  struct BmpInfo {
    ResName smallName;
    ResName largeName;  // may be empty
    HBITMAP hbmSmall = nullptr;
    HBITMAP hbmLarge = nullptr;
    int nImageCount = 0;
    BOOL bMapSysColors = TRUE;
    BOOL bSmallNotOwned = FALSE;
    BOOL bLargeNotOwned = FALSE;
  };
  struct BmpItem {
    int nBmpIndex = 0;  // in the bitmap list
    int nImage = 0;     // in that bitmap
  };

  SECBmpMgr();
  ~SECBmpMgr() override;

  void AddRef() { ++m_nRefCount; }
  // Deletes the manager with its last reference.
  void Release();

  // Registers the images of toolbar resource `lpszName` (a large bitmap of the same
  // name when `lpszLargeName` is given). FALSE when the resource cannot be read or its
  // bitmap cannot be loaded (the bitmap stays registered then).
  BOOL AddToolBar(LPCSTR lpszName, LPCSTR lpszLargeName = nullptr, BOOL bMapSysColors = TRUE);
  // The bitmap and image of a command in the current (or the small) size; FALSE for a
  // command without an image, or one beyond its bitmap's images.
  BOOL GetBitmapInfo(UINT nID, HBITMAP* pBitmap, int* pImage, BOOL bSmall = FALSE) const;
  void SetKeepBothSizes(BOOL bKeep);
  void ReloadAllBitmaps(BOOL bReload);

  virtual BOOL LoadBitmaps(BmpInfo* pInfo, BOOL bReload);
  virtual BOOL LoadSmallBitmap(BmpInfo* pInfo);
  virtual BOOL LoadLargeBitmap(BmpInfo* pInfo);

  CSize GetImageSize() const { return m_bSmallImages ? m_szSmall : m_szLarge; }

  std::map<UINT, BmpItem> m_mapIdToItem;
  std::vector<std::unique_ptr<BmpInfo>> m_bitmaps;
  int m_nRefCount = 1;
  CSize m_szSmall;
  CSize m_szLarge;
  BOOL m_bSmallImages = TRUE;
  BOOL m_bKeepBothSizes = FALSE;
};

namespace sec_toolbar {
// A toolbar resource (type 241): image size and item ids (0 a separator). Empty when
// the resource is missing or holds less than its item count says.
struct ToolBarResource {
  bool valid = false;
  int nImageWidth = 0, nImageHeight = 0;
  std::vector<UINT> items;
};
ToolBarResource ReadToolBarResource(LPCSTR lpszName);
}  // namespace sec_toolbar
