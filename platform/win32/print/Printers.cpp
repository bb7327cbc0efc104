#include "Printers.h"

#include <cups/cups.h>
#include <strings.h>

#include <filesystem>

#include "Config.h"
#include "DrivePath.h"

namespace plat::print {

const char* const kBuiltInPrinter = "Lumora PDF";

std::vector<PrinterInfo> Printers() {
  std::vector<PrinterInfo> list;
  list.push_back(PrinterInfo{kBuiltInPrinter, ""});
  // CUPS is asked only when wanted: tests and machines without a server skip it.
  if (plat::config::GetInt("PRINT_CUPS", 1) != 0) {
    cups_dest_t* dests = nullptr;
    int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < n; ++i) {
      PrinterInfo p;
      p.name = dests[i].name;
      p.cupsName = dests[i].name;
      list.push_back(p);
    }
    cupsFreeDests(n, dests);
  }
  return list;
}

std::string DefaultPrinterName() { return plat::config::Get("PRINTER", kBuiltInPrinter); }

std::optional<PrinterInfo> FindPrinter(const std::string& name) {
  std::string wanted = name.empty() ? DefaultPrinterName() : name;
  for (auto& p : Printers())
    if (strcasecmp(p.name.c_str(), wanted.c_str()) == 0) return p;
  return std::nullopt;
}

std::string PdfFolder() {
  std::string folder = plat::config::Get("PRINT_DIR", "");
  if (folder.empty()) {
    auto native = plat::path::ToNative("C:\\Lumora\\Printed");
    folder = native ? *native : "/tmp";
  }
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder;
}

}  // namespace plat::print
