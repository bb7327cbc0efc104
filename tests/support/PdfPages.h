// Reads printed PDF files back with poppler's tools: the page count and page pictures.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "TestEnv.h"

namespace printing {

inline bool HavePoppler() { return std::system("command -v pdfinfo >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") == 0; }

inline std::string Run(const std::string& cmd) {
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  return out;
}

inline int PdfPageCount(const std::string& pdf) {
  std::string info = Run("pdfinfo '" + pdf + "'");
  auto at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

struct PagePicture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  bool Dark(int x, int y) const {
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return p[0] < 60 && p[1] < 60 && p[2] < 60;
  }
};

// Page `page` (1-based) at `dpi` dots per inch.
inline PagePicture RenderPdfPage(const std::string& pdf, int page, int dpi) {
  std::string root = testenv::ScratchDir() + "/page" + std::to_string(page);
  Run("pdftoppm -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " + std::to_string(page) +
      " -singlefile '" + pdf + "' '" + root + "'");
  PagePicture pic;
  std::ifstream ppm(root + ".ppm", std::ios::binary);
  std::string magic;
  int maxval = 0;
  ppm >> magic >> pic.width >> pic.height >> maxval;
  ppm.get();
  if (magic != "P6" || pic.width <= 0 || pic.height <= 0) return PagePicture{};
  pic.rgb.resize(static_cast<size_t>(pic.width) * pic.height * 3);
  ppm.read(reinterpret_cast<char*>(pic.rgb.data()), static_cast<std::streamsize>(pic.rgb.size()));
  return pic;
}

}  // namespace printing
