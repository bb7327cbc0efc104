// The picture title as saved pictures and their thumbnails carry it in comment field 36:
// an 8-byte character-code header ("ASCII" and three NULs), then the text. One reading
// of it serves every stage that takes a title back from a file.
#pragma once
#include <afxwin.h>

namespace vexcomment {

constexpr short kTitleField = 36;

// The text of a field-36 value: the bytes after the 8-byte header up to the first NUL.
// A value that is not a byte array, is shorter than the header, or does not start with
// 'A' gives an empty text.
CString DecodeTitle(const VARIANT& field);

}  // namespace vexcomment
