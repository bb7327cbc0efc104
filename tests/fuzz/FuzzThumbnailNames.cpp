// Names the thumbnail strip reads from a folder: any bytes as a thumbnail's path and as a
// picture's name. The title cut keeps at most 15 bytes and never starts inside a UTF-8
// character; the picture a thumbnail stands for is empty or one of the five picture
// extensions; the comment's second group lies inside the comment.
#include <cstdint>
#include <cstdlib>

#include <string>

#include "FuzzSeeds.h"
#include "ui/VexThumbnailView.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzseeds::Write("thumbnail", "C:\\Image\\s\\Img_0001j.jpg");
  fuzzseeds::Write("kana", "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xE3\x81\x8Ax");
  fuzzseeds::Write("comment", "[2004/01/01][Sample]");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A CString ends at a NUL, as a name from the file system does.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const CString name(text.c_str());
  const CString cut = CVexThumbnailView::CutTitle(name);
  if (cut.GetLength() > 15 && cut.GetLength() != name.GetLength()) abort();
  if (name.GetLength() > 15 && !cut.IsEmpty() && (static_cast<unsigned char>(cut[0]) & 0xC0) == 0x80) abort();
  if (name.Right(cut.GetLength()) != cut) abort();
  const CString picture = CVexThumbnailView::ResolveImagePath(name, TRUE);
  if (!picture.IsEmpty()) {
    CString lower = picture;
    lower.MakeLower();
    const bool known = lower.Right(4) == ".jpg" || lower.Right(5) == ".jpeg" || lower.Right(4) == ".bmp" ||
                       lower.Right(4) == ".tif" || lower.Right(5) == ".tiff";
    if (!known) abort();
  }
  const CString second = CVexThumbnailView::ExtractBracketed(name);
  if (!second.IsEmpty() && name.Find(second) < 0) abort();
  return 0;
}
