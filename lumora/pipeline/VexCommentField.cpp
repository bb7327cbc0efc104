#include "VexCommentField.h"

namespace vexcomment {

CString DecodeTitle(const VARIANT& field) {
  constexpr LONG kHeader = 8;
  if (field.vt != (VT_ARRAY | VT_UI1) || !field.parray || field.parray->cDims != 1) return CString();
  LONG low = 0, high = -1;
  if (FAILED(SafeArrayGetLBound(field.parray, 1, &low)) || FAILED(SafeArrayGetUBound(field.parray, 1, &high)))
    return CString();
  const LONG count = high - low + 1;
  if (count < kHeader) return CString();
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(field.parray, &data))) return CString();
  const char* bytes = static_cast<const char*>(data);
  CString text;
  if (bytes[0] == 'A') {
    LONG end = kHeader;
    while (end < count && bytes[end] != '\0') ++end;
    text = CString(bytes + kHeader, static_cast<int>(end - kHeader));
  }
  SafeArrayUnaccessData(field.parray);
  return text;
}

}  // namespace vexcomment
