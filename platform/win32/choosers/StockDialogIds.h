// Template ids of the stand-in's own dialogs (compiled into the module "StockDialogs").
#pragma once

#define IDD_CHOOSE_COLOR 10
#define IDD_CHOOSE_FONT 1543
#define IDD_PRINT 1538
#define IDD_PRINT_SETUP 1539
#define IDD_PRINT_STATUS 30721   // the framework's printing-status window
#define IDD_PREVIEW_BAR 30722    // the framework's print-preview buttons

#define IDC_PRINT_TITLE 201      // status window: "印刷中"
#define IDC_PRINT_DOCNAME 202    // the document's title
#define IDC_PRINT_PRINTERNAME 203
#define IDC_PRINT_PAGENUM 204

#define IDS_PRINT_PAGE 30730     // "%u ページ"
#define IDS_PREVIEW_PAGE 30731   // "%u / %u ページ"
#define IDS_PAGE_RANGE 30732     // page range outside the document
#define IDS_COPIES_RANGE 30733
#define IDS_PRINT_FAILED 30734
#define IDS_SIZE_RANGE 30735
#define IDS_NO_PRINTER 30736
