#include "AfxCollections.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)

namespace plat::afx {
namespace {

template <class Key, class Map>
void MapValues(Map& m, std::vector<CObject*>* out) {
  Key key{};
  CObject* value = nullptr;
  for (POSITION pos = m.GetStartPosition(); pos != nullptr;) {
    m.GetNextAssoc(pos, key, value);
    out->push_back(value);
  }
}

}  // namespace

bool CollectedObjects(CObject& ob, std::vector<CObject*>* out) {
  if (auto* a = dynamic_cast<CObArray*>(&ob)) {
    for (int i = 0; i < a->GetSize(); ++i) out->push_back(a->GetAt(i));
  } else if (auto* l = dynamic_cast<CObList*>(&ob)) {
    for (POSITION pos = l->GetHeadPosition(); pos != nullptr;) out->push_back(l->GetNext(pos));
  } else if (auto* m = dynamic_cast<CMapStringToOb*>(&ob)) {
    MapValues<CString>(*m, out);
  } else if (auto* w = dynamic_cast<CMapWordToOb*>(&ob)) {
    MapValues<WORD>(*w, out);
  } else {
    return false;
  }
  return true;
}

}  // namespace plat::afx
