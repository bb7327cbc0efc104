// The annotation commands of the still pane: their update rules, copy, cut, paste and
// delete through the clipboard of clones, select all, the property dialog, the context
// menu by mouse and keyboard, the accelerators, and the move of the whole editing state
// to the other pane.
#include <gtest/gtest.h>

#include <string>

#include "AnnotationRig.h"

namespace {

using annotationrig::AnnotationRig;
using annotationrig::CopyableOnce;
using annotationrig::StateUI;
using annotationrig::Uncopyable;

class DisplayCommands : public AnnotationRig {
 protected:
  enum : UINT { kCopy = 32775, kCut = 32777, kPaste = 32780, kDelete = 32782, kRotate = 32784, kProperty = 32787,
                kReshape = 32791, kSelectAll = 32850 };
  StateUI Update(UINT id) {
    StateUI ui;
    ui.m_nID = id;
    EXPECT_TRUE(pane->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    return ui;
  }
  // The command as the main window's routing carries it out.
  void Command(UINT id) {
    mainFrame->SendMessage(WM_COMMAND, id);
    Idle();
  }
  // `count` rectangles in a row on a 1280 x 1024 picture, left with the palette closed.
  void Rectangles(int count) {
    ShowPicture(1280, 1024);
    Tool(3);
    for (int i = 0; i < count; ++i) Drag({50 + 100 * i, 50}, {120 + 100 * i, 120});
    ClosePalette();
    ASSERT_EQ(pane->GetAnnotationCount(), count);
  }
  void SelectFirst() { Click({50, 80}); }
};

TEST_F(DisplayCommands, UpdateRulesFollowTheEditingState) {
  // Enabled (1) or not (0) for Copy, Cut, Paste, Delete, Rotate, Reshape, Property, Select
  // all, with the Rotate and Reshape marks.
  struct Row {
    const char* state;
    int copy, cut, paste, del, rotate, reshape, property, all, rotateMark, reshapeMark;
  };
  const Row rows[] = {
      {"no objects", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {"two, none selected", 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
      {"one selected", 1, 1, 0, 1, 1, 0, 1, 1, 0, 0},
      {"both selected", 1, 1, 0, 1, 0, 0, 0, 1, 0, 0},
      {"one selected, copied", 1, 1, 1, 1, 1, 0, 1, 1, 0, 0},
      {"turning", 1, 1, 1, 1, 1, 0, 1, 1, 1, 0},
      {"drawing with the palette", 0, 0, 1, 0, 0, 0, 0, 0, 0, 0},
      {"deleted", 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
  };
  auto check = [&](const Row& r) {
    SCOPED_TRACE(r.state);
    EXPECT_EQ(Update(kCopy).enabled, r.copy);
    EXPECT_EQ(Update(kCut).enabled, r.cut);
    EXPECT_EQ(Update(kPaste).enabled, r.paste);
    EXPECT_EQ(Update(kDelete).enabled, r.del);
    EXPECT_EQ(Update(kRotate).enabled, r.rotate);
    EXPECT_EQ(Update(kReshape).enabled, r.reshape) << "rectangles are not reshaped";
    EXPECT_EQ(Update(kProperty).enabled, r.property);
    EXPECT_EQ(Update(kSelectAll).enabled, r.all);
    EXPECT_EQ(Update(kRotate).checked, r.rotateMark);
    EXPECT_EQ(Update(kReshape).checked, r.reshapeMark);
  };
  ShowPicture(1280, 1024);
  check(rows[0]);
  Rectangles(2);
  check(rows[1]);
  SelectFirst();
  check(rows[2]);
  Click({150, 80}, true);
  check(rows[3]);
  Click({150, 80}, true);
  Command(kCopy);
  check(rows[4]);
  Command(kRotate);
  check(rows[5]);
  Command(kRotate);
  // Half-way through drawing a rectangle with the palette's tool.
  Tool(3);
  ButtonDown({400, 400});
  MoveTo({450, 450});
  check(rows[6]);
  ButtonUp();
  ClosePalette();
  Click({150, 80});
  Command(kDelete);
  check(rows[7]);
}

TEST_F(DisplayCommands, ReshapeIsOfferedForOnePolygonOrPolylineAndRotateAsTheObjectAllows) {
  ShowPicture(640, 512);
  Tool(3);
  Drag({20, 20}, {100, 80});
  Tool(5);
  Click({150, 20});
  Click({250, 20});
  DoubleClick({250, 80});
  Tool(6);
  Click({300, 20});
  Click({400, 20});
  DoubleClick({400, 80});
  Tool(7);
  Drag({450, 20}, {550, 80});
  Tool(2);
  Drag({20, 150}, {120, 150});
  Tool(1);
  OnTextDialog("Note");  // in a face that is not turned
  Click({200, 150});
  ClosePalette();
  ASSERT_EQ(pane->GetAnnotationCount(), 6);
  const struct {
    const char* kind;
    CPoint at;
    int reshape, rotate;
  } rows[] = {
      {"rectangle", {20, 50}, 0, 1}, {"polygon", {200, 20}, 1, 1}, {"polyline", {350, 20}, 1, 1},
      {"freehand", {500, 50}, 0, 1}, {"line", {70, 150}, 0, 1},    {"text", {210, 160}, 0, 0},
  };
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(rows[i].kind);
    Click(rows[i].at);
    ASSERT_EQ(pane->GetCurrentIndex(), i);
    ASSERT_EQ(pane->GetSelectionCount(), 1);
    EXPECT_EQ(Update(kReshape).enabled, rows[i].reshape);
    EXPECT_EQ(Update(kRotate).enabled, rows[i].rotate);
  }
  // Two polygons selected are not reshaped.
  Click({200, 20});
  Click({350, 20}, true);
  EXPECT_EQ(Update(kReshape).enabled, 0);
  // A text whose face cannot turn refuses Rotate: the menu and the keys do nothing.
  Click({210, 160});
  Command(kRotate);
  EXPECT_EQ(pane->GetEditMode(), 0);
  // Put into rotate mode all the same (the command itself does not ask), the mark shows it.
  ASSERT_TRUE(pane->OnCmdMsg(kRotate, CN_COMMAND, nullptr, nullptr));
  ASSERT_EQ(pane->GetEditMode(), 2);
  EXPECT_EQ(Update(kRotate).enabled, 0);
  EXPECT_EQ(Update(kRotate).checked, 1);
}

TEST_F(DisplayCommands, ACopyPastedThreeTimesStepsTwentyPixelsOnAWidePicture) {
  Rectangles(1);
  SelectFirst();
  const CPoint source = Object(0)->GetOrigin();
  Command(kCopy);
  EXPECT_EQ(pane->GetClipboardCount(), 1);
  EXPECT_EQ(pane->GetClipboardItem(0).index, -1) << "a copy names no source";
  for (int i = 1; i <= 3; ++i) Command(kPaste);
  ASSERT_EQ(pane->GetAnnotationCount(), 4);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(Object(i)->GetOrigin(), source + CPoint(20 * i, 20 * i)) << i;
  EXPECT_EQ(Object(3)->AreHandlesShown(), 0) << "pasted objects are not selected";
  ExpectCleanPlusObjects();
  // A new copy starts again at 20.
  Command(kCopy);
  Command(kPaste);
  EXPECT_EQ(Object(4)->GetOrigin(), source + CPoint(20, 20));
  // Near the picture's corner a paste stops at its edge.
  pane->ResetAnnotationState();
  Tool(3);
  Drag({560, 440}, {630, 500});
  ClosePalette();
  Click({560, 470});
  Command(kCopy);
  for (int i = 0; i < 20; ++i) Command(kPaste);
  EXPECT_EQ(Object(20)->GetOrigin(), CPoint(1280, 1024));
}

TEST_F(DisplayCommands, ThePasteStepGrowsWithThePictureWidth) {
  const struct {
    int width, step;
  } rows[] = {{500, 10}, {1500, 20}, {2500, 40}, {2600, 60}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.width);
    pane->ResetAnnotationState();
    ShowPicture(r.width, r.width * 4 / 5);
    Tool(3);
    Drag({100, 100}, {200, 200});
    ClosePalette();
    Click({100, 150});
    ASSERT_EQ(pane->GetSelectionCount(), 1);
    const CPoint source = Object(0)->GetOrigin();
    Command(kCopy);
    Command(kPaste);
    Command(kPaste);
    ASSERT_EQ(pane->GetAnnotationCount(), 3);
    EXPECT_EQ(Object(1)->GetOrigin(), source + CPoint(r.step, r.step));
    EXPECT_EQ(Object(2)->GetOrigin(), source + CPoint(2 * r.step, 2 * r.step));
  }
}

TEST_F(DisplayCommands, CutMovesTheSelectionIntoTheClipboardAndDeleteLeavesNothingToPaste) {
  Rectangles(2);
  SelectFirst();
  Command(kCut);
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(pane->GetSelectionCount(), 0);
  EXPECT_EQ(pane->GetClipboardItem(0).operation, 2);
  EXPECT_EQ(Update(kPaste).enabled, 1);
  Command(kPaste);
  EXPECT_EQ(pane->GetAnnotationCount(), 2);
  ExpectCleanPlusObjects();
  // Delete replaces the clipboard by what cannot be pasted (the copy lies 20 pixels on).
  Click({60, 90});
  Command(kDelete);
  EXPECT_EQ(pane->GetAnnotationCount(), 1);
  EXPECT_EQ(pane->GetClipboardCount(), 1);
  EXPECT_EQ(pane->GetClipboardItem(0).pasteable, 0);
  EXPECT_EQ(Update(kPaste).enabled, 0);
  Command(kPaste);
  EXPECT_EQ(pane->GetAnnotationCount(), 1);
  ExpectCleanPlusObjects();
}

TEST_F(DisplayCommands, SelectAllSelectsEveryObjectAndMakesTheLastCurrent) {
  Rectangles(3);
  Command(kSelectAll);
  EXPECT_EQ(pane->GetSelectionCount(), 3);
  EXPECT_EQ(pane->GetCurrentIndex(), 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Object(i)->AreHandlesShown(), 1);
  // All three move together.
  const CPoint before = Object(0)->GetOrigin();
  Drag({250, 80}, {260, 100});
  EXPECT_EQ(Object(0)->GetOrigin(), before + CPoint(20, 40));
  ExpectCleanPlusObjects();
}

TEST_F(DisplayCommands, ThePropertyDialogChangesTheObjectOrReportsThatItCouldNotOpen) {
  Rectangles(1);
  SelectFirst();
  auto* shown = WatchErrors();
  plat::user::responder::Reset();
  plat::user::responder::FailNextDialog();
  WatchErrors();
  Command(kProperty);
  EXPECT_EQ(*shown, std::vector<std::string>{"412:001"});
  EXPECT_EQ(Object(0)->GetInfo().m_penWidth, 3) << "the object is unchanged";
}

TEST_F(DisplayCommands, TheContextMenuOpensByRightClickAndByKeyboard) {
  Rectangles(1);
  SelectFirst();
  // Right click: the first item, Copy.
  RightClick({60, 60});
  Keys(VK_DOWN);
  Keys(VK_RETURN);
  Idle();
  EXPECT_EQ(pane->GetClipboardCount(), 1);
  // The keyboard's menu key over the focused pane: Down to Copy, Down to Cut.
  pane->SetFocus();
  Keys(VK_APPS);
  Keys(VK_DOWN);
  Keys(VK_DOWN);
  Keys(VK_RETURN);
  Idle();
  EXPECT_EQ(pane->GetAnnotationCount(), 0) << "cut";
  EXPECT_EQ(pane->GetClipboardItem(0).operation, 2);
  // The menu's texts as they stand.
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(144));
  CMenu* popup = menu.GetSubMenu(0);
  ASSERT_NE(popup, nullptr);
  const char* texts[] = {"Copy        Ctrl+C", "Cut          Ctrl+X", "Paste       Ctrl+V", "Delete          Del", "",
                         "Rotate      Ctrl+T", "Reshape", "", "Property"};
  ASSERT_EQ(popup->GetMenuItemCount(), 9);
  for (int i = 0; i < 9; ++i) {
    CString text;
    popup->GetMenuString(i, text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text), texts[i]) << i;
  }
}

TEST_F(DisplayCommands, AcceleratorsReachTheStillPaneAndDisabledOnesDoNothing) {
  Rectangles(2);
  pane->SetFocus();
  Keys('C', plat::user::driver::kControl);
  Idle();
  EXPECT_EQ(pane->GetClipboardCount(), 0) << "nothing is selected to copy";
  Keys('A', plat::user::driver::kControl);
  Idle();
  EXPECT_EQ(pane->GetSelectionCount(), 2);
  Keys('C', plat::user::driver::kControl);
  Idle();
  EXPECT_EQ(pane->GetClipboardCount(), 2);
  Keys('V', plat::user::driver::kControl);
  Idle();
  EXPECT_EQ(pane->GetAnnotationCount(), 4);
  Keys('A', plat::user::driver::kControl);
  Keys(VK_DELETE);
  Idle();
  EXPECT_EQ(pane->GetAnnotationCount(), 0);
  Rectangles(1);
  SelectFirst();
  Keys('X', plat::user::driver::kControl);
  Idle();
  EXPECT_EQ(pane->GetAnnotationCount(), 0);
}

TEST_F(DisplayCommands, AClipboardCopyThatCannotBeMadeIsReported) {
  ShowPicture(640, 512);
  CopyableOnce once;
  pane->AddAnnotationCopy(&once);  // an object whose own copies fail
  ASSERT_EQ(pane->GetAnnotationCount(), 1);
  pane->AddSelection(0);
  pane->SetSelectionCount(1);
  pane->SetCurrentIndex(0);
  auto* shown = WatchErrors();
  Command(kCopy);
  EXPECT_EQ(*shown, std::vector<std::string>{"410:002"});
  EXPECT_EQ(pane->GetClipboardCount(), 0);
  Command(kCut);
  EXPECT_EQ(pane->GetAnnotationCount(), 1) << "a failed cut keeps the object";
  EXPECT_EQ(pane->GetSelectionCount(), 1) << "and the selection";
}

// ---- the move to the other pane ---------------------------------------------------------

class DisplayTransfer : public DisplayCommands {};

TEST_F(DisplayTransfer, ObjectsSelectionAndClipboardMoveToTheOtherPaneUnchanged) {
  Rectangles(3);
  SelectFirst();
  Click({250, 80}, true);
  Command(kCopy);
  const int count = pane->GetAnnotationCount();
  std::vector<CAnnObj::CAnnObjInfo> states;
  for (int i = 0; i < count; ++i) states.push_back(Object(i)->GetInfo());
  CMainFrame::MoveAnnotationState(*pane, *paneR);
  ASSERT_EQ(paneR->GetAnnotationCount(), count);
  for (int i = 0; i < count; ++i) {
    const auto& s = paneR->GetAnnotation(i)->GetInfo();
    EXPECT_EQ(s.m_points, states[size_t(i)].m_points);
    EXPECT_EQ(s.m_origin, states[size_t(i)].m_origin);
    EXPECT_EQ(s.m_penColor, states[size_t(i)].m_penColor);
  }
  EXPECT_EQ(paneR->GetSelectionCount(), 2);
  EXPECT_EQ(paneR->GetSelectedIndex(0), 0);
  EXPECT_EQ(paneR->GetSelectedIndex(1), 2);
  EXPECT_EQ(paneR->GetAnnotation(2)->AreHandlesShown(), 1);
  EXPECT_EQ(paneR->GetClipboardCount(), 2);
  EXPECT_EQ(paneR->GetClipboardItem(1).object->GetOrigin(), states[2].m_origin);
  EXPECT_NE(paneR->GetClipboardEntry().object, nullptr);
  EXPECT_EQ(paneR->GetCurrentIndex(), 2);
  // The old pane is left empty.
  EXPECT_EQ(pane->GetAnnotationCount(), 0);
  EXPECT_EQ(pane->GetClipboardCount(), 0);
  EXPECT_EQ(pane->GetSelectionCount(), 0);
  EXPECT_EQ(pane->GetClipboardEntry().object, nullptr);
}

TEST_F(DisplayTransfer, AnObjectThatCannotBeCopiedIsReportedAndLeftOut) {
  ShowPicture(640, 512);
  Tool(3);
  Drag({100, 100}, {200, 200});
  ClosePalette();
  CopyableOnce once;
  pane->AddAnnotationCopy(&once);
  Tool(3);
  Drag({300, 100}, {400, 200});
  ClosePalette();
  ASSERT_EQ(pane->GetAnnotationCount(), 3);
  auto* shown = WatchErrors();
  CMainFrame::MoveAnnotationState(*pane, *paneR);
  EXPECT_EQ(*shown, std::vector<std::string>{"410:002"});
  ASSERT_EQ(paneR->GetAnnotationCount(), 2);
  EXPECT_EQ(paneR->GetAnnotation(1)->GetOrigin(), CPoint(350, 150));
  Uncopyable none;
  paneR->AddAnnotationCopy(nullptr);
  paneR->AddClipboardItem(&none, 0, 2, 1, 1);
  EXPECT_EQ(paneR->GetClipboardCount(), 0);
}

TEST_F(DisplayTransfer, SwappingThePanesTakesTheEditingStateAlong) {
  Rectangles(2);
  SelectFirst();
  CMainFrame::LiveStages live;
  live.liveDisplay = paneR;
  mainFrame->SetLiveStages(live);
  mainFrame->SwapDisplays();
  EXPECT_EQ(mainFrame->GetStillDisplay(), paneR);
  EXPECT_EQ(paneR->GetAnnotationCount(), 2);
  EXPECT_EQ(paneR->GetSelectionCount(), 1);
  EXPECT_EQ(pane->GetAnnotationCount(), 0);
  // Commands now go to the new still pane.
  Command(kCopy);
  EXPECT_EQ(paneR->GetClipboardCount(), 1);
}

}  // namespace
