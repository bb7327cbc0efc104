// The printers the stand-in offers: a built-in printer that writes PDF files into a
// folder, and the printers of CUPS when a CUPS server answers.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace plat::print {

struct PrinterInfo {
  std::string name;      // as the program shows and chooses it
  std::string cupsName;  // empty for the built-in printer
  int dpi = 300;
  int pageWidth = 2480;  // A4 at 300 dpi, in device pixels
  int pageHeight = 3508;
  int offsetX = 50;      // the unprintable margin
  int offsetY = 50;
};

extern const char* const kBuiltInPrinter;  // "Lumora PDF"

std::vector<PrinterInfo> Printers();
// By name without regard to case; an empty name is the default printer.
std::optional<PrinterInfo> FindPrinter(const std::string& name);
std::string DefaultPrinterName();
// Native folder the built-in printer writes into (created on demand).
std::string PdfFolder();

}  // namespace plat::print
