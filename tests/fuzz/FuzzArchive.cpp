// Archives of the framework: counts, strings and objects of any serializable class,
// collections among them. A damaged archive throws, and nothing it read is left over.
#include <unordered_set>
#include <vector>

#include "FuzzSeeds.h"
#include "afx.h"

namespace {

// Collections do not own their elements: the driver frees them, each once.
void Free(std::vector<CObject*> pending) {
  std::unordered_set<CObject*> seen;
  while (!pending.empty()) {
    CObject* o = pending.back();
    pending.pop_back();
    if (!o || !seen.insert(o).second) continue;
    plat::afx::CollectedObjects(*o, &pending);
  }
  for (CObject* o : seen) delete o;
}

std::vector<uint8_t> Stored(void (*write)(CArchive&)) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
  }
  std::vector<uint8_t> out(size_t(file.GetLength()));
  file.SeekToBegin();
  if (!out.empty()) file.Read(out.data(), UINT(out.size()));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzseeds::Write("objects", Stored([](CArchive& ar) {
    CObArray outer;
    CObList list;
    CMapStringToOb map;
    CStringArray strings;
    strings.Add("one");
    list.AddTail(&strings);
    map.SetAt("k", &strings);
    outer.Add(&list);
    outer.Add(&map);
    outer.Add(&strings);
    ar << CString("header") << static_cast<CObject*>(&outer);
  }));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CMemFile file(const_cast<BYTE*>(data), UINT(size));
  CObject* first = nullptr;
  CObject* second = nullptr;
  try {
    CArchive ar(&file, CArchive::load);
    CString text;
    ar >> text;
    first = ar.ReadObject(nullptr);
    second = ar.ReadObject(nullptr);
    ar.ReadCount();
  } catch (CException* e) {
    e->Delete();
  }
  Free({first, second});
  return 0;
}
