#include "PhotoList.h"

#include <unordered_set>

#include "Header.h"

IMPLEMENT_SERIAL(CPhotoList, CObList, 0)

void CPhotoList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    CObList::Serialize(ar);
    return;
  }
  // The list's own form, read entry by entry so that each is checked before it joins.
  CObject::Serialize(ar);
  DWORD count = ar.ReadCount();
  ar.CheckRemaining(count);
  std::unordered_set<CObject*> named;
  while (count-- > 0) {
    CObject* picture = ar.ReadObject(RUNTIME_CLASS(CHeader));
    if (picture && !named.insert(picture).second) AfxThrowArchiveException(CArchiveException::badIndex);
    AddTail(picture);
  }
}
