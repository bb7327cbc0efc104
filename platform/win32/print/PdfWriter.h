// A small PDF writer: one picture per page, each filling its page.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace plat::print {

class PdfWriter {
 public:
  // Adds a page of `width` x `height` RGB pixels (top row first, 3 bytes a pixel) shown at
  // `dpi`; the pixels are compressed at once, so pages do not pile up in memory.
  bool AddPage(const uint8_t* rgb, int width, int height, int dpi);
  size_t PageCount() const { return pages_.size(); }
  // Writes the document; false when the file cannot be written (the file is then removed).
  bool Save(const std::string& nativePath, const std::string& title) const;

 private:
  struct Page {
    int width, height;
    double pointsWide, pointsHigh;
    std::vector<uint8_t> deflated;
  };
  std::vector<Page> pages_;
};

}  // namespace plat::print
