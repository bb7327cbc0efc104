// The retouch stage on the pipeline of StageRig, with an application (for the wait cursor
// and the message boxes' title) and an operator who works the open dialog through the
// messages a user's input makes. Message boxes and error boxes are answered by scripts
// pushed right before the action that shows them.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../StageRig.h"
#include "ControlSpy.h"
#include "pipeline/retouch/VexRetouchDlg.h"
#include "pipeline/retouch/VexRetouchTabColor.h"
#include "pipeline/retouch/VexRetouchTabEnhance.h"
#include "pipeline/retouch/VexRetouchTabSize.h"
#include "pipeline/retouch/VexRetouchTabWBalance.h"
#include "user/Responder.h"

namespace retouchrig {

namespace responder = plat::user::responder;
using stagerig::Picture;

// The error boxes closed so far, as their code lines ("エラーコード: 241:002").
inline std::vector<std::string>& ErrorBoxes() {
  static std::vector<std::string> boxes;
  return boxes;
}

inline std::string ItemText(HWND window, int id) {
  char text[256] = {};
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

class Operator {
 public:
  explicit Operator(HWND dialog) : hwnd_(dialog) {}

  CVexRetouchDlg& Dialog() const { return *dynamic_cast<CVexRetouchDlg*>(CWnd::FromHandlePermanent(hwnd_)); }
  HWND Hwnd() const { return hwnd_; }
  HWND Preview() const { return GetDlgItem(hwnd_, 1029); }
  CLead& PreviewLead() const { return Dialog().Preview(); }
  bool Open() const { return IsWindow(hwnd_) && Dialog().ContinueModal(); }

  void Command(UINT id) const { SendMessageA(hwnd_, WM_COMMAND, id, 0); }
  void Press(int id) const { SendMessageA(GetDlgItem(hwnd_, id), BM_CLICK, 0, 0); }
  static void PressOn(CWnd* page, int id) { SendMessageA(GetDlgItem(page->m_hWnd, id), BM_CLICK, 0, 0); }

  // A click on tab `index` of the tab control.
  void ChooseTab(int index) const {
    HWND tab = GetDlgItem(hwnd_, 1030);
    RECT r{};
    SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    SendMessageA(tab, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  }

  // A left drag on the preview, in preview pixels.
  void Drag(int x0, int y0, int x1, int y1) const {
    SendMessageA(Preview(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    SendMessageA(Preview(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x0 + x1) / 2, (y0 + y1) / 2));
    SendMessageA(Preview(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x1, y1));
    SendMessageA(Preview(), WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
  }
  void Click(int x, int y, bool right = false) const {
    SendMessageA(Preview(), right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(Preview(), right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  // A band drawn and chosen as the crop.
  void Crop(int x0, int y0, int x1, int y1) const {
    Drag(x0, y0, x1, y1);
    Command(32783);
  }

  // A drag of a slider's thumb: a track for each position, then the position and the end.
  static void Slide(CWnd* page, int sliderId, const std::vector<int>& positions) {
    HWND slider = GetDlgItem(page->m_hWnd, sliderId);
    for (int p : positions) {
      SendMessageA(slider, TBM_SETPOS, TRUE, p);
      SendMessageA(page->m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, static_cast<WORD>(p)),
                   reinterpret_cast<LPARAM>(slider));
    }
    const int last = positions.back();
    SendMessageA(page->m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, static_cast<WORD>(last)),
                 reinterpret_cast<LPARAM>(slider));
    SendMessageA(page->m_hWnd, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
  }
  static void Type(CWnd* page, int editId, const char* text) { SetDlgItemTextA(page->m_hWnd, editId, text); }
  static std::string Text(CWnd* page, int id) { return ItemText(page->m_hWnd, id); }
  static int SliderPos(CWnd* page, int id) {
    return static_cast<int>(SendDlgItemMessageA(page->m_hWnd, id, TBM_GETPOS, 0, 0));
  }
  static void ChooseSize(CWnd* page, int index) {
    HWND combo = GetDlgItem(page->m_hWnd, 1020);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(page->m_hWnd, WM_COMMAND, MAKEWPARAM(1020, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }

  // The next message box is answered with `button`.
  static void Answer(int button) {
    responder::Push([button](const responder::Shown&) { return button; });
  }
  // The next modal dialog is an error box: its code line is noted and it is closed.
  static void CloseErrorBox() {
    responder::Push([](const responder::Shown& shown) {
      ErrorBoxes().push_back(ItemText(shown.hwnd, 1143));
      EndDialog(shown.hwnd, IDOK);
      return IDOK;
    });
  }

 private:
  HWND hwnd_;
};

class RetouchRig : public stagerig::StageRig {
 public:
  // With `spied`, every imaging control made from SetUp on notes its calls (ControlSpy.h).
  explicit RetouchRig(bool spied = false) : spied_(spied) {}

 protected:
  static constexpr SHORT kSlot = 2;  // the flows' shooting slot

  void SetUp() override {
    if (spied_) controlspy::Install();
    StageRig::SetUp();
    responder::Reset();
    ErrorBoxes().clear();
    app_ = std::make_unique<CWinApp>("Lumora");
  }
  void TearDown() override {
    responder::Reset();
    CVexRetouchDlg::SetPartFailHook(nullptr);
    app_.reset();
    StageRig::TearDown();
    if (spied_) controlspy::Remove();
  }
  HWND StageControl() const { return retouch->GetImagingControl()->m_hWnd; }

  // A picture as the still picture: in the shooting slot and the image slots' second
  // control, shown with image state `state`.
  LONG ShowStill(int w, int h, std::function<void(int x, int y, BYTE* bgr)> paint, SHORT state = 3) {
    const LONG handle = PutPicture(kSlot, w, h, std::move(paint));
    buffers->SetSecondBitmap(handle);
    doc->UpdateImageStatus(state, 0);
    return handle;
  }
  LONG ShowFlat(int w, int h, BYTE b, BYTE g, BYTE r, SHORT state = 3) {
    return ShowStill(w, h, [=](int, int, BYTE* p) { p[0] = b, p[1] = g, p[2] = r; }, state);
  }
  // A picture whose every pixel differs from its neighbours, so turns and flips show.
  LONG ShowPattern(int w, int h, SHORT state = 3) {
    return ShowStill(w, h, [](int x, int y, BYTE* p) {
      p[0] = BYTE(x * 7 + y), p[1] = BYTE(y * 5 + x * 3), p[2] = BYTE(x ^ y);
    }, state);
  }

  // Runs the retouch stage with `script` working the open dialog; the stage's result.
  int Retouch(std::function<void(Operator&)> script) {
    responder::Push([script](const responder::Shown& shown) {
      Operator op(shown.hwnd);
      script(op);
      return 0;
    });
    return retouch->Process(kSlot, kSlot);
  }

  Picture Still() const { return Read(buffers->GetSecondBitmap()); }
  // Bits per pixel of the picture a handle names (0: none).
  static int BitsOf(LONG handle) {
    auto dib = plat::imaging::ImageStore::Instance().Find(DWORD(handle));
    return dib ? dib->Bits() : 0;
  }
  const tRetouchOpList& List() const { return doc->GetRetouchList(); }
  std::vector<int> ListKinds() const {
    std::vector<int> kinds;
    for (int i = 0; i < List().count; ++i) kinds.push_back(List().ops[i].kind);
    return kinds;
  }
  // The texts of the message boxes shown, in order.
  static std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& s : responder::History())
      if (s.messageBox) texts.push_back(s.text);
    return texts;
  }
  int WaitCursors() const { return app_->m_nWaitCursorCount; }

  std::unique_ptr<CWinApp> app_;
  bool spied_;
};

// Pixels of the picture equal, byte for byte.
inline bool SamePixels(const Picture& a, const Picture& b) {
  return a.width == b.width && a.height == b.height && a.bgr == b.bgr;
}

}  // namespace retouchrig
