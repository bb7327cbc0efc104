#include "PhotoList.h"

IMPLEMENT_SERIAL(CPhotoList, CObList, 0)

void CPhotoList::Serialize(CArchive& ar) { CObList::Serialize(ar); }
