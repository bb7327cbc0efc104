// The camera library's image classes as archives hold them: a picture, and a list of
// pictures with their classes.
#include <vector>

#include "FuzzSeeds.h"
#include "Image.h"
#include "PhotoList.h"

namespace {

// The first byte chooses what is read: odd a picture, even a list.
std::vector<uint8_t> Stored(CObject& object, uint8_t kind) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
  }
  std::vector<uint8_t> out(size_t(file.GetLength()) + 1);
  out[0] = kind;
  file.SeekToBegin();
  if (out.size() > 1) file.Read(out.data() + 1, UINT(out.size() - 1));
  return out;
}

CImage* Picture(LONG w, LONG h) {
  auto* image = new CImage;
  image->SetFormat(w, h, 3);
  image->m_Data = CString(' ', int(h * RowStride(w, 3)));
  image->m_Text1 = "first";
  image->m_Text2 = "顕微鏡";
  return image;
}

template <class T>
void Load(const uint8_t* data, size_t size, T& object) {
  CMemFile file(const_cast<BYTE*>(data), UINT(size));
  try {
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
  } catch (CException* e) {
    e->Delete();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CImage* one = Picture(5, 3);
  fuzzseeds::Write("image", Stored(*one, 1));
  CPhotoList list;
  list.AddTail(one);
  list.AddTail(Picture(2, 2));
  fuzzseeds::Write("list", Stored(list, 0));
  while (!list.IsEmpty()) delete list.RemoveHead();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    CImage image;
    Load(data + 1, size - 1, image);
  } else {
    CPhotoList list;
    Load(data + 1, size - 1, list);
    while (!list.IsEmpty()) delete list.RemoveHead();
  }
  return 0;
}
