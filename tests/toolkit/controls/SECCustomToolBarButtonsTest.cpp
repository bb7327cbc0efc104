// The toolbar's buttons as a program changes them: removing with the separators that
// would be left over, an emptied user toolbar going away while the program's stays, the
// standard toolbar messages, and the bar record that saves and restores the buttons in
// its archive and profile forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BarFixture.h"
#include "controls/SECCustomToolBarInfoEx.h"
#include "framework/SECControlBarInfo.h"

namespace toolkit_test {
namespace {

std::vector<UINT> Ids(const SECCustomToolBar& bar) {
  std::vector<UINT> ids;
  for (int i = 0; i < bar.GetButtonCount(); ++i) ids.push_back(bar.GetItemID(i));
  return ids;
}

using ButtonList = std::vector<UINT>;
constexpr UINT A = ID_TEST_CMD_A, B = ID_TEST_CMD_B, C = ID_TEST_CMD_C, D = ID_TEST_CMD_D;

class ToolBarButtons : public BarTest {};

TEST_F(ToolBarButtons, RemovingAButtonTakesTheSeparatorsItWouldLeaveOver) {
  SECCustomToolBar* bar = MakeToolBar(0);
  ASSERT_NE(bar, nullptr);
  struct Case {
    ButtonList before;
    int index;
    ButtonList after;
    const char* why;
  } cases[] = {
      {{A, 0, B, 0, C}, 2, {A, 0, C}, "between two separators: the second goes too"},
      {{A, 0, B}, 0, {B}, "the first: a separator now first goes too"},
      {{A, 0, B}, 2, {A}, "the last: a separator now last goes too"},
      {{A, B, C}, 1, {A, C}, "no separators near"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    bar->SetButtons(c.before.data(), static_cast<int>(c.before.size()));
    EXPECT_TRUE(bar->RemoveButton(c.index));
    EXPECT_EQ(Ids(*bar), c.after);
  }
  EXPECT_FALSE(bar->RemoveButton(5));
  EXPECT_FALSE(bar->RemoveButton(-1));
  EXPECT_EQ(Ids(*bar), (ButtonList{A, C}));
}

TEST_F(ToolBarButtons, AnEmptiedUserToolBarGoesAwayAndTheProgramsStays) {
  SECCustomToolBar* program = MakeToolBar(0);
  SECCustomToolBar* user = MakeToolBar(0, CBRS_EX_COOL | CBRS_EX_GRIPPER, 0xE821);
  ASSERT_NE(program, nullptr);
  ASSERT_NE(user, nullptr);
  const UINT one[] = {A};
  program->SetButtons(one, 1);
  user->SetButtons(one, 1);
  EXPECT_FALSE(program->RemoveButton(0));
  EXPECT_NE(program->m_hWnd, nullptr);
  EXPECT_EQ(frame->GetControlBar(0xFFFF), program);
  EXPECT_EQ(frame->GetControlBar(0xE821), user);
  EXPECT_FALSE(user->RemoveButton(0));
  Settle();
  EXPECT_EQ(frame->GetControlBar(0xE821), nullptr);  // gone with its window (auto-deleted)
  EXPECT_EQ(program->GetButtonCount(), 0);
}

TEST_F(ToolBarButtons, TheStandardMessagesAddAndDeleteButtons) {
  SECCustomToolBar* bar = MakeToolBar(0);
  ASSERT_NE(bar, nullptr);
  TBBUTTON records[3] = {};
  records[0].idCommand = static_cast<int>(A);
  records[0].fsState = TBSTATE_ENABLED | TBSTATE_CHECKED;
  records[0].fsStyle = TBSTYLE_CHECK;
  records[1].fsStyle = TBSTYLE_SEP;
  records[2].idCommand = static_cast<int>(B);
  records[2].fsState = 0;  // not enabled
  EXPECT_TRUE(bar->SendMessage(TB_ADDBUTTONS, 3, reinterpret_cast<LPARAM>(records)));
  ASSERT_EQ(Ids(*bar), (ButtonList{A, 0, B}));
  EXPECT_EQ(bar->GetButtonStyle(0) & (TBBS_CHECKED | TBBS_CHECKBOX | TBBS_DISABLED),
            static_cast<UINT>(TBBS_CHECKED | TBBS_CHECKBOX));
  EXPECT_TRUE(bar->GetButtonStyle(1) & TBBS_SEPARATOR);
  EXPECT_TRUE(bar->GetButtonStyle(2) & TBBS_DISABLED);
  // Nothing to add: refused, nothing changes.
  EXPECT_FALSE(bar->SendMessage(TB_ADDBUTTONS, 2, 0));
  EXPECT_FALSE(bar->SendMessage(TB_ADDBUTTONS, 0, reinterpret_cast<LPARAM>(records)));
  EXPECT_EQ(bar->GetButtonCount(), 3);

  EXPECT_FALSE(bar->SendMessage(TB_DELETEBUTTON, 3));
  EXPECT_FALSE(bar->SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(-1)));
  EXPECT_EQ(bar->GetButtonCount(), 3);
  EXPECT_TRUE(bar->SendMessage(TB_DELETEBUTTON, 0));
  EXPECT_EQ(Ids(*bar), (ButtonList{B}));  // the separator now first went too
}

TEST_F(ToolBarButtons, InsertingMovesTheHotButtonAlong) {
  SECCustomToolBar* bar = MakeToolBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(bar, nullptr);
  Idle();
  CPoint c = ButtonOnScreen(*bar, 3).CenterPoint();
  plat::user::input::MouseMove(c.x, c.y);
  Settle();
  ASSERT_EQ(bar->m_nHot, 3);
  bar->InsertButton(1, D);
  EXPECT_EQ(bar->m_nHot, 4);
  EXPECT_EQ(bar->GetItemID(1), D);
  bar->InsertButton(99, 0, TRUE);  // clamped: a separator at the end
  EXPECT_TRUE(bar->GetButtonStyle(bar->GetButtonCount() - 1) & TBBS_SEPARATOR);
}

TEST_F(ToolBarButtons, ABarRecordRestoresTheButtonsAndTheTitle) {
  SECCustomToolBar* bar = MakeToolBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(bar, nullptr);
  const ButtonList original = Ids(*bar);
  SECControlBarInfo info;
  bar->GetBarInfoEx(&info);
  EXPECT_EQ(info.m_nBarID, 0xFFFFu);
  EXPECT_EQ(info.m_dwExStyle & (CBRS_EX_COOL | CBRS_EX_GRIPPER), static_cast<DWORD>(CBRS_EX_COOL | CBRS_EX_GRIPPER));
  auto* extra = dynamic_cast<SECCustomToolBarInfoEx*>(info.m_pBarInfoEx);
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(std::string(extra->m_strTitle), "Tools");
  ASSERT_EQ(extra->m_btnInfo.GetSize(), static_cast<int>(original.size()));
  EXPECT_EQ(extra->m_btnInfo[2]->m_nID, 0u);

  const UINT other[] = {D};
  bar->SetButtons(other, 1);
  bar->SetWindowText("Changed");
  bar->SetBarInfoEx(&info, frame);
  EXPECT_EQ(Ids(*bar), original);
  CString title;
  bar->GetWindowText(title);
  EXPECT_EQ(std::string(title), "Tools");
}

// A record of a title and three buttons, the last with data of its own.
void Fill(SECCustomToolBarInfoEx& info) {
  info.m_strTitle = "Tools";
  for (UINT id : {A, 0u, B}) {
    auto button = std::make_unique<SECBtnInfo>();
    button->m_nID = id;
    if (id == B) button->m_data = {7, 8};
    info.m_btnInfo.Add(std::move(button));
  }
}

std::string ButtonBytes() {
  return Dword(A) + std::string(1, '\0') + Dword(0) + std::string(1, '\0') + Dword(B) + std::string{2, 7, 8};
}

TEST_F(ToolBarButtons, TheRecordsArchiveForm) {
  SECCustomToolBarInfoEx info;
  Fill(info);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    info.Serialize(ar, nullptr);
  }
  std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
  file.SeekToBegin();
  file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
  EXPECT_EQ(bytes, std::string("\x05Tools", 6) + Dword(3) + ButtonBytes());

  // Read back whole; cut short anywhere, the read fails and changes nothing.
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    SCOPED_TRACE(cut);
    SECCustomToolBarInfoEx read;
    read.m_strTitle = "before";
    CMemFile in(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(cut));
    CArchive ar(&in, CArchive::load);
    bool failed = false;
    try {
      read.Serialize(ar, nullptr);
    } catch (CArchiveException* e) {
      e->Delete();
      failed = true;
    }
    EXPECT_EQ(failed, cut < bytes.size());
    if (failed) {
      EXPECT_EQ(std::string(read.m_strTitle), "before");
      EXPECT_EQ(read.m_btnInfo.GetSize(), 0);
    } else {
      ASSERT_EQ(read.m_btnInfo.GetSize(), 3);
      EXPECT_EQ(read.m_btnInfo[2]->m_data, (std::vector<BYTE>{7, 8}));
    }
  }
  // A count that promises more buttons than the bytes hold fails before reading them.
  std::string promise = std::string("\x05Tools", 6) + Dword(0x7FFFFFFF) + ButtonBytes();
  CMemFile big(reinterpret_cast<BYTE*>(promise.data()), static_cast<UINT>(promise.size()));
  CArchive ar(&big, CArchive::load);
  SECCustomToolBarInfoEx read;
  bool failed = false;
  try {
    read.Serialize(ar, nullptr);
  } catch (CArchiveException* e) {
    e->Delete();
    failed = true;
  }
  EXPECT_TRUE(failed);
  EXPECT_EQ(read.m_btnInfo.GetSize(), 0);
}

TEST_F(ToolBarButtons, TheRecordsProfileForm) {
  SECCustomToolBarInfoEx info;
  Fill(info);
  ASSERT_TRUE(info.SaveState("Tools-Bar0"));
  EXPECT_EQ(std::string(app.GetProfileString("Tools-Bar0", "Title")), "Tools");
  LPBYTE data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(app.GetProfileBinary("Tools-Bar0", "Buttons", &data, &size));
  std::string stored(reinterpret_cast<char*>(data), size);
  delete[] data;
  EXPECT_EQ(stored, ButtonBytes());

  SECCustomToolBarInfoEx read;
  ASSERT_TRUE(read.LoadState("Tools-Bar0", nullptr));
  EXPECT_EQ(std::string(read.m_strTitle), "Tools");
  ASSERT_EQ(read.m_btnInfo.GetSize(), 3);
  EXPECT_EQ(read.m_btnInfo[0]->m_nID, A);

  // An untitled record writes no title. Damaged buttons restore nothing.
  const struct {
    std::string bytes;
    const char* why;
  } damaged[] = {
      {ButtonBytes().substr(0, 3), "an id cut short"},
      {Dword(A) + std::string(1, '\x05') + "ab", "data shorter than its length"},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.why);
    std::string bytes = d.bytes;
    app.WriteProfileBinary("Tools-Bar1", "Buttons", reinterpret_cast<BYTE*>(bytes.data()),
                           static_cast<UINT>(bytes.size()));
    SECCustomToolBarInfoEx again;
    again.m_strTitle = "before";
    EXPECT_FALSE(again.LoadState("Tools-Bar1", nullptr));
    EXPECT_EQ(std::string(again.m_strTitle), "before");
    EXPECT_EQ(again.m_btnInfo.GetSize(), 0);
  }
}

TEST_F(ToolBarButtons, DockedAndFloatingToolBarsGoWithTheirFrame) {
  SECCustomToolBar* docked = MakeToolBar(IDR_TEST_TOOLBAR);
  SECCustomToolBar* floating = MakeToolBar(IDR_TEST_TOOLBAR2, CBRS_EX_COOL | CBRS_EX_GRIPPER, 0xE822);
  ASSERT_NE(docked, nullptr);
  ASSERT_NE(floating, nullptr);
  frame->FloatControlBar(floating, InFrame(CPoint(200, 200)));
  Idle();
  ASSERT_TRUE(floating->IsFloating());
  app.m_pMainWnd = nullptr;
  frame->DestroyWindow();  // the bars, their dock contexts and buttons go with it
  frame = nullptr;
  Settle();
  EXPECT_EQ(::FindWindowA(nullptr, "Tools"), nullptr);
}

}  // namespace
}  // namespace toolkit_test
