// What a printer DC draws on: one page of the chosen printer at its resolution, and
// the pages of the job in progress.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "WinPrint.h"
#include "gdi/DrawTarget.h"
#include "print/PdfWriter.h"
#include "print/Printers.h"

namespace plat::print {

class PrinterTarget : public plat::gdi::DrawTarget {
 public:
  explicit PrinterTarget(PrinterInfo printer, int copies = 1);

  plat::gdi::Surface Pixels() override;
  POINT Origin() const override { return {printer_.offsetX, printer_.offsetY}; }
  plat::gdi::Region Visible() const override;
  bool Caps(int index, int& value) const override;

  const PrinterInfo& Printer() const { return printer_; }

  // The job: StartDoc, then StartPage/EndPage per page, then EndDoc (or Abort).
  int StartDoc(const std::string& title, const std::string& output);
  int StartPage();
  int EndPage(HDC hdc);
  int EndDoc();
  int Abort();
  void MarkAbandoned() {
    if (inDoc_) abandoned_ = true;
  }
  void SetAbortProc(ABORTPROC proc) { abortProc_ = proc; }
  bool InDoc() const { return inDoc_; }

 private:
  PrinterInfo printer_;
  int copies_ = 1;  // asked of CUPS; a PDF file is one copy
  std::vector<uint8_t> page_;  // 24-bit BGR, top row first
  std::unique_ptr<PdfWriter> doc_;
  std::string title_, output_;
  bool inDoc_ = false;
  bool inPage_ = false;
  // The program abandoned the job itself (AbortDoc): the page calls that follow answer
  // SP_APPABORT, so the print loop knows the job was ended on purpose.
  bool abandoned_ = false;
  ABORTPROC abortProc_ = nullptr;
};

// A printer DC for the named printer (empty: the default one); null when there is none.
HDC CreatePrinterDc(const char* device, int copies = 1);
// The native path of the last document the built-in printer wrote (for tests).
std::string LastOutput();

}  // namespace plat::print
