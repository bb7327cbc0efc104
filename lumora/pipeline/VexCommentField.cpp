#include "VexCommentField.h"

#include <cstring>
#include <string>

#include "binding/CLead.h"

namespace vexcomment {
namespace {

constexpr char kAsciiCode[8] = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};

COleVariant Array(VARTYPE type, const void* data, ULONG count, size_t elementSize) {
  SAFEARRAYBOUND bound{count, 0};
  COleVariant v;
  v.parray = SafeArrayCreate(type, 1, &bound);
  if (!v.parray) return v;  // no memory: the field stays empty
  v.vt = VT_ARRAY | type;
  void* at = nullptr;
  if (SUCCEEDED(SafeArrayAccessData(v.parray, &at))) {
    std::memcpy(at, data, count * elementSize);
    SafeArrayUnaccessData(v.parray);
  }
  return v;
}

}  // namespace

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

CString SecondPart(const CString& title) {
  const int first = title.Find('[');
  const int second = first < 0 ? -1 : title.Find('[', first + 1);
  const int close = second < 0 ? -1 : title.Find(']', second + 1);
  return close < 0 ? CString() : title.Mid(second + 1, close - second - 1);
}

COleVariant EncodeText(const CString& text) {
  const int length = text.GetLength();
  std::string field(kAsciiCode, sizeof kAsciiCode);
  field.append(static_cast<LPCSTR>(text), static_cast<size_t>(length));
  field.push_back('\0');
  return Array(VT_UI1, field.data(), static_cast<ULONG>(field.size()), 1);
}

COleVariant EncodeExposure(LONG numerator, LONG denominator) {
  const LONG values[2] = {numerator, denominator};
  return Array(VT_I4, values, 2, sizeof(LONG));
}

bool SavedFields::Read(CLead& lead, const CString& path, bool stopAtMissing) {
  for (COleVariant& value : m_values) value.Clear();
  bool all = true;
  for (int i = 0; i < 5; ++i) {
    VARIANT value = lead.ReadFileField(path, 0, kIds[i]);
    // The control hands the value over: it becomes this object's.
    *static_cast<VARIANT*>(&m_values[i]) = value;
    if (m_values[i].vt == VT_EMPTY) {
      all = false;
      if (stopAtMissing) break;
    }
  }
  return all;
}

const VARIANT& SavedFields::Get(short id) const {
  for (int i = 0; i < 5; ++i)
    if (kIds[i] == id) return m_values[i];
  return m_empty;
}

}  // namespace vexcomment
