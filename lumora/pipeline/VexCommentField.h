// The comment fields saved pictures and their thumbnails carry, as the file output writes
// them and the inputs and the printer read them back: 22 and 23 the original and the
// digitised date and time (texts), 34 the exposure time (two 32-bit integers), 36 and 37
// the title and the subtitle, each an 8-byte character-code header ("ASCII" and three
// NULs), then the text and a NUL.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>

class CLead;

namespace vexcomment {

constexpr short kOriginalDateField = 22;
constexpr short kDigitizedDateField = 23;
constexpr short kExposureField = 34;
constexpr short kTitleField = 36;
constexpr short kSubtitleField = 37;
// The control keeps fields 0 to 178.
constexpr short kFieldCount = 179;

// The text of a field-36 value: the bytes after the 8-byte header up to the first NUL.
// A value that is not a byte array, is shorter than the header, or does not start with
// 'A' gives an empty text.
CString DecodeTitle(const VARIANT& field);
// The text between the second "[" of a title and the "]" after it; empty when either
// is missing. A printed caption's second line.
CString SecondPart(const CString& title);
// A text as fields 36 and 37 hold it.
COleVariant EncodeText(const CString& text);
// Field 34: numerator and denominator.
COleVariant EncodeExposure(LONG numerator, LONG denominator);

// The five fields of a saved picture, read from its file in the order 22, 23, 34, 36,
// 37. A field the file lacks stays empty.
class SavedFields {
 public:
  static constexpr short kIds[5] = {kOriginalDateField, kDigitizedDateField, kExposureField, kTitleField,
                                    kSubtitleField};
  // True when the file has all five. `stopAtMissing` ends the reading at the first field
  // missing, as a reader that needs all of them does.
  bool Read(CLead& lead, const CString& path, bool stopAtMissing);
  // Empty for a field the file lacks (or an id not among the five).
  const VARIANT& Get(short id) const;
  bool Has(short id) const { return Get(id).vt != VT_EMPTY; }
  CString Title() const { return DecodeTitle(Get(kTitleField)); }

 private:
  COleVariant m_values[5];
  COleVariant m_empty;
};

}  // namespace vexcomment
