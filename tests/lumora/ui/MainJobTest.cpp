// The operator's main job through the menus, the toolbar and the strip, as the commands
// reach the main window: capture, save as JPEG (picture and thumbnail, the strip showing
// it with its comment), open again by File > Open and by a double click on its thumbnail,
// print it, print three ticked pictures in a layout, hand it to a user tool, and delete
// the ticked pictures with their thumbnails.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "FrameRig.h"
#include "PdfPages.h"
#include "controls/SECUserTool.h"
#include "controls/SECUserTools.h"
#include "print/PrinterTarget.h"
#include "ui/VexMainControlView.h"
#include "ui/VexThumbnailView.h"
#include "WinPrintDlg.h"

namespace {

namespace responder = plat::user::responder;

// The step of the job under way, named in a failure.
std::string g_step;

struct HandOverTool : SECUserTool {
  std::string line;
  BOOL RunProcess(LPCSTR, LPSTR lpszCommandLine, int, BOOL) override {
    line = lpszCommandLine;
    return TRUE;
  }
};

class MainJob : public FrameRig {
 protected:
  void SetUp() override {
    FrameRig::SetUp();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntilEnabled(frame));
    view = frame->ThumbnailView();
    folder = std::string(doc->GetSaveFolderPath());
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override {
    if (frame) ClearUserTools(&frame->UserTools());
    FrameRig::TearDown();
  }
  void Command(UINT id) { frame->SendMessage(WM_COMMAND, id); }
  // The answers the next windows get, in order; any further window fails the test.
  static void Answers(const std::vector<responder::Script>& scripts) {
    responder::Reset();
    for (const auto& s : scripts) responder::Push(s);
    for (int i = 0; i < 3; ++i)
      responder::Push([](const responder::Shown& shown) {
        char code[64] = {};
        if (shown.hwnd) ::GetDlgItemTextA(shown.hwnd, 1143, code, sizeof code);
        ADD_FAILURE() << g_step << ": unexpected window: " << shown.caption << " " << shown.text << code;
        if (!shown.messageBox && shown.hwnd) ::EndDialog(shown.hwnd, IDCANCEL);
        return IDCANCEL;
      });
  }
  void Capture() {
    Answers({});
    frame->ControlView()->SendMessage(WM_COMMAND, MAKEWPARAM(1038, BN_CLICKED));
    ASSERT_TRUE(PumpUntil([this] { return frame->ControlView()->IsCaptureRunning() == 0 && !frame->IsCapturing(); }));
    ASSERT_EQ(doc->GetImageState(), 1) << "a capture not saved";
  }
  // A file dialog answered with a typed name.
  static responder::Script FileDialog(const std::string& path) {
    return [path](const responder::Shown& shown) {
      dialogdriver::TypeAndOk(shown.hwnd, path);
      if (dialogdriver::StillOpen(shown.hwnd)) dialogdriver::Press(shown.hwnd, IDCANCEL);
      return 0;
    };
  }
  void SaveAs(const std::string& name) {
    Answers({FileDialog(folder + name), [](const responder::Shown& shown) {  // Jpeg Quality
               ::SendMessageA(shown.hwnd, WM_COMMAND, IDOK, 0);
               return 0;
             }});
    Command(57604);
  }
  static responder::Script PrintDialog() {
    return [](const responder::Shown& shown) {
      HWND d = shown.hwnd;
      auto i = ::SendDlgItemMessageA(d, PRINT_PRINTER, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("Lumora PDF"));
      ::SendDlgItemMessageA(d, PRINT_PRINTER, CB_SETCURSEL, WPARAM(i), 0);
      ::SendMessageA(d, WM_COMMAND, IDOK, 0);
      return 0;
    };
  }
  std::string Title() const {
    CString t;
    frame->GetWindowText(t);
    return std::string(t);
  }
  std::string Label(int id) const {
    char text[256] = {};
    ::GetDlgItemTextA(view->m_hWnd, id, text, sizeof text);
    return text;
  }
  bool Exists(const std::string& path) const { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  CVexThumbnailView* view = nullptr;
  std::string folder;
};

// The strip in the installed fonts: every title and comment shown fits its label whole,
// its lines inside the strip (none cut at the strip's bottom).
TEST_F(MainJob, TheStripShowsTitlesAndCommentsWhole) {
  Set("FONT", "");
  Capture();
  SaveAs("Specimen_a.jpg");
  ASSERT_GE(view->GetCount(), 1);
  CRect strip;
  view->GetClientRect(&strip);
  int shown = 0;
  for (int id : {1134, 1135, 1136, 1137, 1138, 1084, 1085, 1086, 1087, 1095}) {
    const std::string text = Label(id);
    if (text.empty()) continue;
    ++shown;
    CWnd* label = view->GetDlgItem(id);
    CRect place;
    label->GetWindowRect(&place);
    view->ScreenToClient(&place);
    CClientDC dc(label);
    CFont* font = label->GetFont();  // or the one controls draw with when they have none
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), font ? font->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
    CRect need(0, 0, place.Width(), 0);
    dc.DrawText(text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc.GetSafeHdc(), old);
    EXPECT_LE(need.Width(), place.Width()) << id << " " << text;
    EXPECT_LE(need.Height(), place.Height()) << id << " " << text;
    EXPECT_LE(place.top + need.Height(), strip.bottom) << id << " " << text;  // its lines inside the strip
  }
  EXPECT_GE(shown, 2);
  RECT r;
  view->GetWindowRect(&r);
  plat::display::SavePng(testenv::ScratchDir() + "/strip.png", &r);
}

TEST_F(MainJob, CaptureSaveOpenPrintHandOverAndDelete) {
  // Capture and File > Save As: the picture and its thumbnail.
  g_step = "save";
  Capture();
  SaveAs("Specimen.jpg");
  ASSERT_TRUE(Exists(folder + "Specimen.jpg"));
  ASSERT_TRUE(Exists(folder + "s\\Specimenj.jpg"));
  EXPECT_EQ(std::string(doc->GetAuxFilePath()), folder + "Specimen.jpg") << "the saved picture is the one shown";
  // The strip lists it, with its name and the second part of its comment.
  ASSERT_GE(view->GetCount(), 1);
  bool named = false, commented = false;
  for (int id = 1134; id <= 1138; ++id) named = named || Label(id) == "Specimen";
  for (int id : {1084, 1085, 1086, 1087, 1095}) commented = commented || !Label(id).empty();
  EXPECT_TRUE(named);
  EXPECT_TRUE(commented);

  // File > Open shows it with its name in the title.
  g_step = "open";
  Answers({FileDialog(folder + "Specimen.jpg")});
  Command(57601);
  EXPECT_EQ(doc->GetImageState(), 3);
  EXPECT_NE(Title().find("Specimen.jpg"), std::string::npos) << Title();

  // A user tool gets the picture shown.
  g_step = "tool";
  auto* tool = new HandOverTool;
  tool->m_strCommand = "viewer.exe";
  tool->m_strArguments = "%F";
  frame->UserTools().Add(tool);
  Answers({});
  Command(43044);
  EXPECT_EQ(tool->line, "viewer.exe " + folder + "Specimen.jpg");

  // File > Print on the built-in PDF printer: one page.
  g_step = "print";
  Answers({PrintDialog()});
  Command(32808);
  const std::string pdf = plat::print::LastOutput();
  ASSERT_TRUE(std::filesystem::exists(pdf)) << pdf;
  if (printing::HavePoppler()) EXPECT_EQ(printing::PdfPageCount(pdf), 1);

  // Two more pictures, three ticked, Layout Print.
  g_step = "layout";
  for (const char* name : {"Second.jpg", "Third.jpg"}) {
    Capture();
    SaveAs(name);
  }
  ASSERT_GE(view->GetCount(), 3);
  view->SendMessage(WM_COMMAND, 32812);  // Select All
  ASSERT_EQ(doc->CountSelectedImages(), view->GetCount());
  Answers({[](const responder::Shown& shown) {  // the layout dialog
             ::SendMessageA(shown.hwnd, WM_COMMAND, IDOK, 0);
             return 0;
           },
           PrintDialog()});
  Command(32806);
  EXPECT_NE(plat::print::LastOutput(), pdf) << "a second print";
  EXPECT_EQ(frame->GetPrintType(), 3);

  // A double click on a thumbnail opens its picture.
  g_step = "double click";
  const int slot = 4;
  Answers({});
  view->OnDblClickThumbnail(static_cast<UINT>(1424 + slot));
  EXPECT_EQ(doc->GetImageState(), 3);
  EXPECT_NE(Title().find(".jpg"), std::string::npos);

  // File > Delete of the ticked pictures: the files, the thumbnails and the entries go.
  g_step = "delete";
  view->SendMessage(WM_COMMAND, 32812);
  Answers({[](const responder::Shown& shown) {
    ::SendMessageA(::GetDlgItem(shown.hwnd, 1001), BM_CLICK, 0, 0);  // delete them all
    return 0;
  }});
  Command(32804);
  for (const char* name : {"Specimen", "Second", "Third"}) {
    EXPECT_FALSE(Exists(folder + name + ".jpg")) << name;
    EXPECT_FALSE(Exists(folder + "s\\" + name + "j.jpg")) << name;
  }
  EXPECT_LT(view->GetCount(), 1);
  EXPECT_EQ(std::string(frame->StatusBar().GetPaneText(1)), "  0     /   0  Check:  0");
  EXPECT_TRUE(frame->IsWindowEnabled());
}

}  // namespace
