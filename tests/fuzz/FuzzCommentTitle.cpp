// The picture title stored in a saved file's comment field: a byte array of any length
// and content, read back when a picture is opened or printed. Decoding stays inside the
// array and gives text without a NUL; the printed caption's second part lies inside it;
// a title written back reads back the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <string>

#include "FuzzSeeds.h"
#include "pipeline/VexCommentField.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A well-formed title: the 'A' header of eight bytes, then the text.
  fuzzseeds::Write("title", std::string("A\0\0\0\0\0\0\0Kidney section", 22));
  fuzzseeds::Write("caption", std::string("ASCII\0\0\0[a.jpg][Fine 1280x1024][ 12,1,0]", 40));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SAFEARRAYBOUND bound{ULONG(size), 0};
  SAFEARRAY* array = SafeArrayCreate(VT_UI1, 1, &bound);
  if (!array) return 0;
  void* bytes = nullptr;
  if (SUCCEEDED(SafeArrayAccessData(array, &bytes))) {
    if (size) std::memcpy(bytes, data, size);
    SafeArrayUnaccessData(array);
  }
  VARIANT field;
  VariantInit(&field);
  field.vt = VT_ARRAY | VT_UI1;
  field.parray = array;
  CString title = vexcomment::DecodeTitle(field);
  if (std::memchr(static_cast<const char*>(title), '\0', size_t(title.GetLength()))) abort();
  if (size_t(title.GetLength()) + 8 > size && title.GetLength() > 0) abort();
  const CString second = vexcomment::SecondPart(title);
  if (!second.IsEmpty() && (second.GetLength() >= title.GetLength() || title.Find(second) < 0)) abort();
  const COleVariant again = vexcomment::EncodeText(title);
  if (vexcomment::DecodeTitle(again) != title) abort();
  VariantClear(&field);
  return 0;
}
