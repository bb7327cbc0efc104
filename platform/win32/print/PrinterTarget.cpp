#include "print/PrinterTarget.h"

#include <cups/cups.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <mutex>

#include "DrivePath.h"
#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "WinGdi.h"
#include "gdi/DeviceContext.h"

namespace plat::print {
namespace {

std::mutex g_mutex;
std::string g_lastOutput;
std::atomic<int> g_nextJob{1};

int Stride(int width) { return ((width * 3) + 3) & ~3; }

// A file name from a document title: no folder separators or characters the shell dislikes.
std::string SafeName(const std::string& title) {
  std::string s;
  for (char c : title) s += (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
                             c == '>' || c == '|' || static_cast<unsigned char>(c) < 0x20)
                                ? '_'
                                : c;
  if (s.empty()) s = "document";
  if (s.size() > 100) s.resize(100);
  return s;
}

}  // namespace

PrinterTarget::PrinterTarget(PrinterInfo printer, int copies) : printer_(std::move(printer)), copies_(copies < 1 ? 1 : copies) {
  page_.assign(static_cast<size_t>(Stride(printer_.pageWidth)) * printer_.pageHeight, 0xFF);
}

plat::gdi::Surface PrinterTarget::Pixels() {
  plat::gdi::Surface s;
  s.bits = page_.data();
  s.width = printer_.pageWidth;
  s.height = printer_.pageHeight;
  s.bpp = 24;
  s.stride = Stride(printer_.pageWidth);
  s.bottomUp = false;
  return s;
}

plat::gdi::Region PrinterTarget::Visible() const {
  return plat::gdi::Region(RECT{0, 0, printer_.pageWidth - 2 * printer_.offsetX, printer_.pageHeight - 2 * printer_.offsetY});
}

bool PrinterTarget::Caps(int index, int& value) const {
  const PrinterInfo& p = printer_;
  switch (index) {
    case TECHNOLOGY: value = DT_RASPRINTER; return true;
    case HORZRES: value = p.pageWidth - 2 * p.offsetX; return true;
    case VERTRES: value = p.pageHeight - 2 * p.offsetY; return true;
    case HORZSIZE: value = (p.pageWidth - 2 * p.offsetX) * 254 / (p.dpi * 10); return true;
    case VERTSIZE: value = (p.pageHeight - 2 * p.offsetY) * 254 / (p.dpi * 10); return true;
    case LOGPIXELSX:
    case LOGPIXELSY: value = p.dpi; return true;
    case PHYSICALWIDTH: value = p.pageWidth; return true;
    case PHYSICALHEIGHT: value = p.pageHeight; return true;
    case PHYSICALOFFSETX: value = p.offsetX; return true;
    case PHYSICALOFFSETY: value = p.offsetY; return true;
    case BITSPIXEL: value = 24; return true;
    case PLANES: value = 1; return true;
    case NUMCOLORS: value = -1; return true;
    case RASTERCAPS: value = RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP | RC_DIBTODEV | RC_BITMAP64 | RC_SCALING; return true;
    default: return false;
  }
}

int PrinterTarget::StartDoc(const std::string& title, const std::string& output) {
  if (inDoc_ || plat::faults::Check("StartDoc")) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  doc_ = std::make_unique<PdfWriter>();
  abandoned_ = false;
  title_ = title;
  output_ = output;
  inDoc_ = true;
  return g_nextJob++;
}

int PrinterTarget::StartPage() {
  if (!inDoc_) return abandoned_ ? SP_APPABORT : SP_ERROR;
  std::fill(page_.begin(), page_.end(), 0xFF);
  inPage_ = true;
  return 1;
}

int PrinterTarget::EndPage(HDC hdc) {
  if (!inDoc_ || !inPage_) return abandoned_ && !inDoc_ ? SP_APPABORT : SP_ERROR;
  inPage_ = false;
  if (abortProc_ && !abortProc_(hdc, 0)) {
    Abort();
    return SP_APPABORT;
  }
  if (plat::faults::Check("EndPage")) {
    Abort();
    return SP_OUTOFDISK;
  }
  // The page's BGR rows become the document's RGB picture.
  int w = printer_.pageWidth, h = printer_.pageHeight, stride = Stride(w);
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = page_.data() + static_cast<size_t>(y) * stride;
    uint8_t* dst = rgb.data() + static_cast<size_t>(y) * w * 3;
    for (int x = 0; x < w; ++x) {
      dst[3 * x] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x];
    }
  }
  if (!doc_->AddPage(rgb.data(), w, h, printer_.dpi)) {
    Abort();
    return SP_ERROR;
  }
  return 1;
}

int PrinterTarget::EndDoc() {
  if (!inDoc_) return SP_ERROR;
  if (inPage_) inPage_ = false;
  inDoc_ = false;
  std::unique_ptr<PdfWriter> doc = std::move(doc_);
  if (plat::faults::Check("EndDoc")) return SP_ERROR;
  std::string path;
  bool temporary = false;
  if (!output_.empty()) {
    auto native = plat::path::ToNative(output_);
    if (!native) return SP_ERROR;
    path = *native;
  } else if (printer_.cupsName.empty()) {
    // Each document gets its own file: the title, then a number that makes it new.
    std::string base = PdfFolder() + "/" + SafeName(title_);
    path = base + ".pdf";
    for (int n = 2; std::filesystem::exists(path) && n < 10000; ++n) path = base + "-" + std::to_string(n) + ".pdf";
  } else {
    path = (std::filesystem::temp_directory_path() / ("lumora-print-" + std::to_string(::getpid()) + ".pdf")).string();
    temporary = true;
  }
  if (!doc->Save(path, title_)) return SP_OUTOFDISK;
  if (temporary) {
    cups_option_t* options = nullptr;
    int count = cupsAddOption("copies", std::to_string(copies_).c_str(), 0, &options);
    int job = cupsPrintFile(printer_.cupsName.c_str(), path.c_str(), title_.c_str(), count, options);
    cupsFreeOptions(count, options);
    std::filesystem::remove(path);
    if (job == 0) return SP_ERROR;
  } else {
    std::lock_guard lock(g_mutex);
    g_lastOutput = path;
  }
  return 1;
}

int PrinterTarget::Abort() {
  inDoc_ = inPage_ = false;
  doc_.reset();
  return 1;
}

HDC CreatePrinterDc(const char* device, int copies) {
  auto printer = FindPrinter(device ? device : "");
  if (!printer) {
    ::SetLastError(ERROR_INVALID_PRINTER_NAME);
    return nullptr;
  }
  return plat::gdi::CreateDcOn(std::make_shared<PrinterTarget>(*printer, copies));
}

std::string LastOutput() {
  std::lock_guard lock(g_mutex);
  return g_lastOutput;
}

}  // namespace plat::print

using plat::print::PrinterTarget;

namespace {
PrinterTarget* TargetOf(HDC hdc) {
  auto dc = plat::gdi::FindDc(hdc);
  return dc ? dynamic_cast<PrinterTarget*>(dc->Target()) : nullptr;
}
}  // namespace

int StartDocA(HDC hdc, const DOCINFOA* info) {
  PrinterTarget* t = TargetOf(hdc);
  if (!t || !info) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return SP_ERROR;
  }
  return t->StartDoc(info->lpszDocName ? info->lpszDocName : "", info->lpszOutput ? info->lpszOutput : "");
}

int StartPage(HDC hdc) {
  PrinterTarget* t = TargetOf(hdc);
  return t ? t->StartPage() : SP_ERROR;
}

int EndPage(HDC hdc) {
  PrinterTarget* t = TargetOf(hdc);
  return t ? t->EndPage(hdc) : SP_ERROR;
}

int EndDoc(HDC hdc) {
  PrinterTarget* t = TargetOf(hdc);
  return t ? t->EndDoc() : SP_ERROR;
}

int AbortDoc(HDC hdc) {
  PrinterTarget* t = TargetOf(hdc);
  if (!t) return SP_ERROR;
  t->MarkAbandoned();
  return t->Abort();
}

int SetAbortProc(HDC hdc, ABORTPROC proc) {
  PrinterTarget* t = TargetOf(hdc);
  if (!t) return SP_ERROR;
  t->SetAbortProc(proc);
  return 1;
}
