#include "PdfWriter.h"

#include <zlib.h>

#include <cstdio>
#include <fstream>

namespace plat::print {

bool PdfWriter::AddPage(const uint8_t* rgb, int width, int height, int dpi) {
  if (!rgb || width <= 0 || height <= 0 || dpi <= 0) return false;
  uLong raw = static_cast<uLong>(width) * static_cast<uLong>(height) * 3;
  std::vector<uint8_t> out(compressBound(raw));
  uLongf size = out.size();
  // Level 1: pages are mostly white, and speed matters more than a few kilobytes.
  if (compress2(out.data(), &size, rgb, raw, 1) != Z_OK) return false;
  out.resize(size);
  pages_.push_back(Page{width, height, width * 72.0 / dpi, height * 72.0 / dpi, std::move(out)});
  return true;
}

bool PdfWriter::Save(const std::string& nativePath, const std::string& title) const {
  std::ofstream f(nativePath, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  std::vector<long> offsets;  // byte offset of each object, object n at index n - 1
  long at = 0;
  auto put = [&](const std::string& s) {
    f.write(s.data(), static_cast<std::streamsize>(s.size()));
    at += static_cast<long>(s.size());
  };
  auto object = [&](const std::string& body) {
    offsets.push_back(at);
    put(std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n");
  };
  put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  // Objects: 1 catalog, 2 page tree, 3 info, then per page: page, contents, image.
  const size_t n = pages_.size();
  std::string kids;
  for (size_t i = 0; i < n; ++i) kids += std::to_string(4 + 3 * i) + " 0 R ";
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(n) + " >>");
  // The title as UTF-16 with a byte-order mark, in hex, so any text survives.
  std::string hexTitle = "<FEFF";
  for (size_t i = 0; i < title.size();) {
    unsigned char c = static_cast<unsigned char>(title[i]);
    uint32_t cp = c;
    int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
    if (n > 1) cp = c & (0xFF >> (n + 1));
    for (int k = 1; k < n && i + k < title.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(title[i + k]) & 0x3F);
    i += static_cast<size_t>(n);
    char unit[16];
    if (cp >= 0x10000) {
      cp -= 0x10000;
      std::snprintf(unit, sizeof unit, "%04X%04X", 0xD800 + (cp >> 10), 0xDC00 + (cp & 0x3FF));
    } else {
      std::snprintf(unit, sizeof unit, "%04X", cp);
    }
    hexTitle += unit;
  }
  hexTitle += ">";
  object("<< /Title " + hexTitle + " /Producer (Lumora) >>");
  char buf[256];
  for (size_t i = 0; i < n; ++i) {
    const Page& p = pages_[i];
    size_t page = 4 + 3 * i;
    std::snprintf(buf, sizeof buf,
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %.2f %.2f] /Contents %zu 0 R "
                  "/Resources << /XObject << /Im0 %zu 0 R >> >> >>",
                  p.pointsWide, p.pointsHigh, page + 1, page + 2);
    object(buf);
    std::snprintf(buf, sizeof buf, "q %.2f 0 0 %.2f 0 0 cm /Im0 Do Q", p.pointsWide, p.pointsHigh);
    std::string content = buf;
    object("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream");
    offsets.push_back(at);
    put(std::to_string(offsets.size()) + " 0 obj\n<< /Type /XObject /Subtype /Image /Width " +
        std::to_string(p.width) + " /Height " + std::to_string(p.height) +
        " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " +
        std::to_string(p.deflated.size()) + " >>\nstream\n");
    f.write(reinterpret_cast<const char*>(p.deflated.data()), static_cast<std::streamsize>(p.deflated.size()));
    at += static_cast<long>(p.deflated.size());
    put("\nendstream\nendobj\n");
  }
  long xref = at;
  put("xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n");
  for (long o : offsets) {
    std::snprintf(buf, sizeof buf, "%010ld 00000 n \n", o);
    put(buf);
  }
  put("trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" +
      std::to_string(xref) + "\n%%EOF\n");
  f.flush();
  if (!f) {
    f.close();
    std::remove(nativePath.c_str());
    return false;
  }
  return true;
}

}  // namespace plat::print
