// The title field of a picture file as the inputs and the printer read it: any bytes as
// the field's byte array. The title never runs past the field nor holds a NUL, and the
// printed caption's second line is a part of it.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "pipeline/VexCommentField.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  SAFEARRAYBOUND bound{ULONG(size), 0};
  COleVariant field;
  field.parray = SafeArrayCreate(VT_UI1, 1, &bound);
  if (!field.parray) return 0;
  field.vt = VT_ARRAY | VT_UI1;
  void* at = nullptr;
  if (FAILED(SafeArrayAccessData(field.parray, &at))) abort();
  if (size) std::memcpy(at, data, size);
  SafeArrayUnaccessData(field.parray);

  const CString title = vexcomment::DecodeTitle(field);
  if (size_t(title.GetLength()) + 8 > size && title.GetLength() > 0) abort();
  if (std::strlen(title) != size_t(title.GetLength())) abort();
  const CString second = vexcomment::SecondPart(title);
  if (second.GetLength() >= title.GetLength() && !second.IsEmpty()) abort();
  if (!second.IsEmpty() && title.Find(second) < 0) abort();
  // What is encoded reads back as it was.
  const COleVariant again = vexcomment::EncodeText(title);
  if (vexcomment::DecodeTitle(again) != title) abort();
  return 0;
}
