#include "VexThumbnailView.h"

#include <algorithm>

#include "LumoraResource.h"
#include "MainFrame.h"
#include "UpdateFlags.h"
#include "VexFileInfoDialog.h"
#include "binding/CLead.h"
#include "control/PathParts.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexPathlistControl.h"
#include "pipeline/VexCommentField.h"

IMPLEMENT_DYNCREATE(CVexThumbnailView, CFormView)

namespace {

// Labels by slot, slot 0 (rightmost) first.
constexpr int kTitleIds[CVexThumbnailView::kSlots] = {1138, 1137, 1136, 1135, 1134};
constexpr int kCommentIds[CVexThumbnailView::kSlots] = {1095, 1087, 1086, 1085, 1084};

// The page buttons with their normal and busy pictures.
struct PageButton {
  int id;
  UINT normal;
  UINT busy;
};
constexpr PageButton kPageButtons[4] = {
    {CVexThumbnailView::kNextPage, 224, 220},
    {CVexThumbnailView::kNextLine, 226, 223},
    {CVexThumbnailView::kPrevPage, 227, 222},
    {CVexThumbnailView::kPrevLine, 225, 221},
};

constexpr COLORREF kTicked = 0x0000FF;
constexpr UINT kStatusBarId = 0xE801;
constexpr int kMaxTitleBytes = 15;

CMainFrame* Frame() { return CMainFrame::Get(); }

void EnableMain(BOOL on) {
  if (CMainFrame* frame = Frame()) frame->EnableFrame(on);
}

int FileExists(const CString& path) { return !path.IsEmpty() && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

BEGIN_MESSAGE_MAP(CVexThumbnailView, CFormView)
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_CONTEXTMENU()
ON_COMMAND_RANGE(CVexThumbnailView::kNextPage, CVexThumbnailView::kPrevLine, OnPageButton)
ON_COMMAND(ID_THUMB_SELECT_ALL, OnSelectAll)
ON_COMMAND(ID_THUMB_UNSELECT_ALL, OnUnselectAll)
ON_COMMAND(ID_THUMB_JUMP_TO_TOP, OnJumpToTop)
ON_COMMAND(ID_THUMB_JUMP_TO_END, OnJumpToEnd)
ON_COMMAND(ID_THUMB_PROPERTY, OnProperty)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CVexThumbnailView, CFormView)
ON_EVENT_RANGE(CVexThumbnailView, 1424, 1428, -605, OnMouseDownThumbnail, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
ON_EVENT_RANGE(CVexThumbnailView, 1424, 1428, -601, OnDblClickThumbnail, VTS_NONE)
END_EVENTSINK_MAP()

CVexThumbnailView::CVexThumbnailView() : CFormView(IDD) {}

CVexThumbnailView::~CVexThumbnailView() {
  for (auto& lead : m_pLead)
    if (lead && lead->GetSafeHwnd()) lead->DestroyWindow();
}

CLead* CVexThumbnailView::GetThumbnailControl(int slot) const {
  return slot >= 0 && slot < kSlots ? m_pLead[static_cast<size_t>(slot)].get() : nullptr;
}

void CVexThumbnailView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  for (size_t i = 0; i < m_btnPage.size(); ++i)
    if (!m_btnPage[i].GetSafeHwnd())
      m_btnPage[i].AttachButton(kPageButtons[i].id, SECBitmapButton::Al_Center, kPageButtons[i].normal, this);
}

int CVexThumbnailView::CreateThumbnailControls() {
  for (int slot = 0; slot < kSlots; ++slot) {
    auto lead = std::make_unique<CLead>();
    if (!lead->CreateControl("", WS_CHILD, CRect(0, 0, 1, 1), this, static_cast<UINT>(kFirstControl + slot))) {
      m_bControlsValid = 0;
      break;
    }
    lead->ShowWindow(SW_HIDE);
    lead->SetFlag237(TRUE);
    m_pLead[static_cast<size_t>(slot)] = std::move(lead);
  }
  if (!m_bControlsValid) return 0;
  for (int slot = 0; slot < kSlots; ++slot) {
    CLead* lead = GetThumbnailControl(slot);
    lead->MoveWindow(483 - 106 * slot, 23, 92, 74);
    lead->ShowWindow(SW_SHOW);
    lead->SetBackColor(static_cast<LONG>(RGB(255, 255, 255)));
    lead->SetValue223(1.0f);
    lead->SetValue224(static_cast<LONG>(::GetSysColor(COLOR_BTNFACE)));
  }
  ClearLabels();
  m_pDoc = dynamic_cast<CVexDoc*>(GetDocument());
  EnableToolTips(TRUE);
  return 1;
}

void CVexThumbnailView::ClearLabels() {
  for (int slot = 0; slot < kSlots; ++slot) {
    SetDlgItemText(kTitleIds[slot], "");
    SetDlgItemText(kCommentIds[slot], "");
  }
}

// ---- layout

void CVexThumbnailView::OnPaint() {
  CPaintDC dc(this);
  CRect window;
  GetWindowRect(&window);
  const int h = window.Height();
  // The strip keeps its place under the large display, whatever its splitter says.
  CRect origin = window;
  ScreenToClient(&origin);
  CRect placed = window;
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&placed);
  const CRect wanted(CPoint(2 + origin.left, 521 + origin.top), CSize(640, h));
  if (placed != wanted) MoveWindow(&wanted, TRUE);

  for (int q = 0; q < 4; ++q) {
    CPen light(PS_SOLID, 1, RGB(240, 240, 240));
    CPen dark(PS_SOLID, 1, RGB(130, 130, 130));
    CPen* old = dc.SelectObject(&light);
    dc.MoveTo(155 + 110 * q, 10);
    dc.LineTo(155 + 110 * q, h - 10);
    dc.SelectObject(&dark);
    dc.MoveTo(156 + 110 * q, 10);
    dc.LineTo(156 + 110 * q, h - 10);
    dc.SelectObject(old);
  }
  dc.SelectStockObject(BLACK_PEN);

  auto place = [this](int id, int x, int y, int cx, int cy) {
    CWnd* item = GetDlgItem(id);
    if (!item) return;
    CRect now;
    item->GetWindowRect(&now);
    ScreenToClient(&now);
    if (now != CRect(x, y, x + cx, y + cy)) item->MoveWindow(x, y, cx, cy);
  };
  place(kNextPage, 0, 0, 23, h);
  place(kNextLine, 23, 0, 23, h);
  place(kPrevLine, 594, 0, 23, h);
  place(kPrevPage, 617, 0, 23, h);
  const int top = (h - 105) / 2 - 5;
  constexpr int kComments[5] = {1084, 1085, 1086, 1087, 1095};
  for (int q = 0; q < kSlots; ++q) {
    place(1134 + q, 51 + 110 * q, top, 98, 23);
    place(kFirstControl + 4 - q, 54 + 110 * q, top + 23, 92, 74);
    place(kComments[q], 51 + 110 * q, top + 97, 98, 24);
  }
}

void CVexThumbnailView::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ---- the list and the slots

void CVexThumbnailView::GetSlotRange(int& first, int& last) const {
  first = m_nCount < kSlots ? kSlots - std::max(m_nCount, 0) : 0;
  last = kSlots - 1;
}

CString CVexThumbnailView::SlotPath(int slot) const {
  int first = 0, last = 0;
  GetSlotRange(first, last);
  if (!m_pDoc || m_nCount < 1 || slot < first || slot > last) return CString();
  return m_pDoc->GetListPath(slot - first, 0);
}

void CVexThumbnailView::ReloadList(int rebuild) {
  if (!m_pDoc) return;
  m_nCount = rebuild == 1 ? m_pDoc->ScanList() : m_pDoc->RefreshList();
  m_nTop = std::max(m_pDoc->GetListPageStart(), 0);
  m_nAnchor = -1;
}

int CVexThumbnailView::Refresh() {
  if (!m_pDoc) return 0;
  CVexDoc& doc = *m_pDoc;
  const CString loadPath = doc.GetLoadPath();
  const bool timeLapse = doc.IsDirectMode() != 0;
  if (!timeLapse) EnableMain(FALSE);
  struct Restore {
    CVexDoc& doc;
    CString path;
    bool timeLapse;
    ~Restore() {
      doc.SetLoadPath(path);
      doc.SetThumbnailChoice(0);
      if (!timeLapse) EnableMain(TRUE);
    }
  } restore{doc, loadPath, timeLapse};

  ClearLabels();
  UpdatePageButtons();
  if (m_nCount < 1) {
    m_nTop = 0;
    m_nAnchor = -1;
    for (int slot = 0; slot < kSlots; ++slot) Blank(slot);
    return 1;
  }
  int first = 0, last = 0;
  GetSlotRange(first, last);
  for (int slot = 0; slot < first; ++slot) Blank(slot);
  doc.SetThumbnailChoice(1);
  for (int slot = first; slot <= last; ++slot) {
    const CString path = doc.GetListPath(slot - first, 0);
    if (!FileExists(path)) return 0;
    doc.SetLoadPath(path);
    doc.ClearLastError();
    if (CMainFrame* frame = Frame()) frame->MakeThumbnail(slot);
    if (doc.GetLastErrorValue() == 1) {
      if (m_pErrorControl) m_pErrorControl->ReportError(600, 1);
      return 0;
    }
    const CString comment = ReadComment(slot, path);
    SetDlgItemText(kTitleIds[slot], CutTitle(ResolveImagePath(path, FALSE)));
    SetDlgItemText(kCommentIds[slot], ExtractBracketed(comment));
    SetHighlight(slot, doc.GetListSelected(slot - first, 0) == 1);
  }
  UpdateStatus();
  return 1;
}

void CVexThumbnailView::Blank(int slot) {
  CLead* lead = GetThumbnailControl(slot);
  lead->SetValue146(0);
  // The picture an earlier page left in the slot goes too.
  lead->SetBitmap(0);
  SetHighlight(slot, FALSE);
}

CString CVexThumbnailView::ResolveImagePath(const CString& thumbnail, BOOL fullPath) {
  // A name that is its letter alone names no picture.
  if (SplitPath(thumbnail).base.GetLength() < 2) return CString();
  const CString picture = CVexPathlistControl::PictureOfThumbnail(thumbnail);
  if (picture.IsEmpty() || fullPath) return picture;
  return SplitPath(picture).base;
}

CString CVexThumbnailView::CutTitle(const CString& name) {
  const int length = name.GetLength();
  if (length <= kMaxTitleBytes) return name;
  int start = length - kMaxTitleBytes;
  // The tail starts on a whole character.
  auto continuation = [&name](int i) { return (static_cast<unsigned char>(name[i]) & 0xC0) == 0x80; };
  while (start < length && continuation(start)) ++start;
  return name.Mid(start);
}

CString CVexThumbnailView::ReadComment(int slot, const CString& path) {
  CLead* lead = GetThumbnailControl(slot);
  if (!lead) return CString();
  COleVariant field;
  try {
    // The control hands the value over: it becomes this object's.
    *static_cast<VARIANT*>(&field) = lead->ReadFileField(path, 0, vexcomment::kTitleField);
  } catch (CException* e) {
    e->Delete();
    return CString();
  }
  return vexcomment::DecodeTitle(field);
}

CString CVexThumbnailView::ExtractBracketed(const CString& comment) { return vexcomment::SecondPart(comment); }

void CVexThumbnailView::SetHighlight(int slot, BOOL on) {
  CLead* lead = GetThumbnailControl(slot);
  if (!lead) return;
  if (on) {
    lead->SetAutoRepaint(FALSE);
    lead->SetValue224(static_cast<LONG>(kTicked));
    lead->SetAutoRepaint(TRUE);
  } else {
    lead->SetValue224(static_cast<LONG>(::GetSysColor(COLOR_BTNFACE)));
  }
  CenterPicture(lead);
}

void CVexThumbnailView::CenterPicture(CLead* lead) {
  lead->SetFlag5(FALSE);
  const float extentWidth = lead->GetValue60();
  const float extentHeight = lead->GetValue61();
  const float w = lead->GetDisplayWidth();
  const float h = lead->GetDisplayHeight();
  const float left = (extentWidth - w) / 2;
  const float top = (extentHeight - h) / 2;
  lead->SetRect335(left, top, w, h);
  lead->SetDisplayRect(left, top, w, h);
}

int CVexThumbnailView::ShowThumbnail(SHORT index, SHORT bufferIndex) {
  if (!m_bControlsValid || !m_pBufferControl) return 0;
  CLead* lead = GetThumbnailControl(index);
  if (!lead) return 0;
  lead->SetValue146(0);
  lead->SetBitmap(m_pBufferControl->GetBuffer(bufferIndex));
  lead->ForceRepaint();
  lead->SetPaintSizeMode(3);
  CenterPicture(lead);
  return 1;
}

void CVexThumbnailView::UpdatePageButtons() {
  bool on[4] = {false, false, false, false};  // 1117, 1118, 1119, 1120
  if (m_nCount > kSlots) {
    if (m_nTop == 0)
      on[0] = on[1] = true;
    else if (m_nTop == m_nCount - kSlots)
      on[2] = on[3] = true;
    else
      on[0] = on[1] = on[2] = on[3] = true;
  }
  for (int i = 0; i < 4; ++i)
    if (CWnd* button = GetDlgItem(kNextPage + i)) button->EnableWindow(on[i] ? TRUE : FALSE);
}

void CVexThumbnailView::UpdateHighlights() {
  int first = 0, last = 0;
  GetSlotRange(first, last);
  for (int slot = 0; slot < kSlots; ++slot)
    SetHighlight(slot, m_pDoc && m_nCount > 0 && slot >= first && m_pDoc->GetListSelected(slot - first, 0) == 1);
}

void CVexThumbnailView::UpdateStatus() {
  const int n = std::max(m_nCount, 0);
  const int t = m_nTop;
  const int c = m_pDoc ? m_pDoc->CountSelectedImages() : 0;
  CString text;
  if (n <= 1)
    text.Format("%3d     / %3d  Check:%3d", n > 0 ? t + 1 : 0, n, c);
  else if (n < kSlots)
    text.Format("%3d-%3d / %3d  Check:%3d", t + 1, t + n, n, c);
  else
    text.Format("%3d-%3d / %3d  Check:%3d", n - (t + 4), n - t, n, c);
  // The main window's status bar (its descendant 0xE801), pane 1.
  CMainFrame* frame = Frame();
  if (frame && frame->StatusBar().GetSafeHwnd() && frame->StatusBar().GetDlgCtrlID() == static_cast<int>(kStatusBarId))
    frame->StatusBar().SetPaneText(1, text);
}

// ---- page buttons, jumps and ticks

void CVexThumbnailView::OnPageButton(UINT id) {
  const PageButton& info = kPageButtons[id - kNextPage];
  SECBitmapButton& button = m_btnPage[id - kNextPage];
  EnableMain(FALSE);
  CWaitCursor wait;
  const bool attached = button.GetSafeHwnd() != nullptr;
  if (attached) {
    button.SetBitmapResource(info.busy);
    button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  if (m_bControlsValid && m_pDoc) {
    switch (id) {
      case kNextPage: m_nTop = m_pDoc->NextListPage(); break;
      case kNextLine: m_nTop = m_pDoc->NextListLine(); break;
      case kPrevPage: m_nTop = m_pDoc->PrevListPage(); break;
      default: m_nTop = m_pDoc->PrevListLine(); break;
    }
    m_nTop = std::max(m_nTop, 0);
    if (!Refresh()) {
      ReloadList(1);
      Refresh();
    }
  }
  if (attached) button.SetBitmapResource(info.normal);
  EnableMain(TRUE);
}

void CVexThumbnailView::Jump(int toEnd) {
  if (!m_bControlsValid || !m_pDoc) return;
  m_nTop = std::max(toEnd ? m_pDoc->ListLastPage() : m_pDoc->ListFirstPage(), 0);
  if (!Refresh()) {
    ReloadList(1);
    Refresh();
  }
  UpdateStatus();
}

// "Jump to TOP" shows the last page (the newest pictures' far end), "Jump to END" the first.
void CVexThumbnailView::OnJumpToTop() { Jump(1); }
void CVexThumbnailView::OnJumpToEnd() { Jump(0); }

void CVexThumbnailView::TickAll(int tick) {
  if (!m_bControlsValid || !m_pDoc) return;
  for (int i = 0; i < m_nCount; ++i) m_pDoc->SetListSelected(tick, i, 1);
  UpdateHighlights();
  UpdateStatus();
}

void CVexThumbnailView::OnSelectAll() { TickAll(1); }
void CVexThumbnailView::OnUnselectAll() { TickAll(0); }

void CVexThumbnailView::OnMouseDownThumbnail(UINT id, short button, short shift, LONG, LONG) {
  if (!m_bControlsValid || !m_pDoc) return;
  const int slot = static_cast<int>(id) - kFirstControl;
  int first = 0, last = 0;
  GetSlotRange(first, last);
  const bool blank = m_nCount < 1 || slot < first || slot > last;
  if (button == 2) {
    // The context menu that follows works on this picture.
    m_pDoc->SetLoadPath(blank ? CString() : ResolveImagePath(SlotPath(slot), TRUE));
    return;
  }
  EnableMain(FALSE);
  CWaitCursor wait;
  if (!blank) {
    const int e = slot - first;
    const int a = m_nTop + e;
    if (m_pDoc->GetListSelected(e, 0) != 1) {
      m_pDoc->SetListSelected(1, e, 0);
      SetHighlight(slot, TRUE);
      if (shift == 0 || m_nAnchor == -1) {
        m_nAnchor = a;
      } else {
        for (int i = std::min(m_nAnchor, a); i <= std::max(m_nAnchor, a); ++i) {
          m_pDoc->SetListSelected(1, i, 1);
          const int on = i - m_nTop + first;
          if (on >= 0 && on < kSlots) SetHighlight(on, TRUE);
        }
      }
    } else {
      m_pDoc->SetListSelected(0, e, 0);
      SetHighlight(slot, FALSE);
    }
    UpdateStatus();
  }
  EnableMain(TRUE);
  ::ReleaseCapture();
}

void CVexThumbnailView::OnDblClickThumbnail(UINT id) {
  if (!m_bControlsValid || !m_pDoc) return;
  CMainFrame* frame = Frame();
  const int slot = static_cast<int>(id) - kFirstControl;
  if (frame) frame->SetBusy(TRUE);
  EnableMain(FALSE);
  CWaitCursor wait;
  int first = 0, last = 0;
  GetSlotRange(first, last);
  const CString picture = ResolveImagePath(SlotPath(slot), TRUE);
  if (m_nCount >= 1 && slot >= first && slot <= last && !picture.IsEmpty()) {
    const int e = slot - first;
    const int ticked = m_pDoc->GetListSelected(e, 0) == 1;
    m_pDoc->SetListSelected(ticked ? 0 : 1, e, 0);
    SetHighlight(slot, ticked ? FALSE : TRUE);
    UpdateStatus();
    m_pDoc->SetLoadPath(picture);
    m_pDoc->ClearLastError();
    const int live = frame && frame->IsLiveRunning() == 1;
    if (live) frame->StopLive();
    if (frame) frame->RedisplayImage();
    if (m_pDoc->GetLastErrorValue() == 1 && m_pErrorControl)
      m_pErrorControl->ReportError(static_cast<int>(m_pDoc->GetLastErrorType()), static_cast<int>(m_pDoc->GetLastErrorDetail()));
    if (live) frame->StartLive();
    ::ReleaseCapture();
  }
  EnableMain(TRUE);
  if (frame) frame->SetBusy(FALSE);
}

// ---- context menu and file information

void CVexThumbnailView::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    point = CPoint(5, 5);
    ClientToScreen(&point);
  }
  CMenu menu;
  if (!menu.LoadMenu(IDR_THUMBNAIL_MENU)) return;
  CMenu* popup = menu.GetSubMenu(0);
  CWnd* owner = AfxGetMainWnd();
  if (!popup || !owner) return;
  // The strip is the frame's active view while its menu is open, as after a click on it,
  // so the menu's commands come back here through the frame.
  if (auto* frame = dynamic_cast<CFrameWnd*>(owner); frame && frame->GetActiveView() != this) frame->SetActiveView(this);
  popup->TrackPopupMenu(0, point.x, point.y, owner);
}

void CVexThumbnailView::OnProperty() {
  if (!m_pDoc) return;
  const CString path = m_pDoc->GetLoadPath();
  if (path.IsEmpty()) return;
  CVexFileInfoDialog dlg(nullptr);
  dlg.SetPath(path);
  if (dlg.DoModal() == -1 && m_pErrorControl) m_pErrorControl->ReportError(802, 1);
}

// ---- the update broadcast

void CVexThumbnailView::OnSettingsChanged(LONG flag) {
  if (!m_bControlsValid || !m_pDoc) return;
  switch (static_cast<unsigned long>(flag)) {
    case kUpdThumbFolder: {
      const CString folder = m_pDoc->GetThumbnailFolder();
      if (folder != m_strFolder) {
        m_strFolder = folder;
        if (folder.IsEmpty()) return;
        m_pDoc->SetListFolder(folder);
        m_pDoc->SetListExtension("jpg");
        ReloadList(1);
      } else {
        if (folder.IsEmpty()) return;
        ReloadList(0);
      }
      Refresh();
      UpdateStatus();
      break;
    }
    case kUpdThumbNewFile:
      m_nCount = m_pDoc->AddSavedFile();
      m_nTop = std::max(m_pDoc->GetListPageStart(), 0);
      Refresh();
      UpdateStatus();
      break;
    case kUpdThumbOverwrite:
      m_nTop = std::max(m_pDoc->GetListPageStart(), 0);
      Refresh();
      UpdateStatus();
      break;
    case kUpdThumbDeleted:
      m_nCount = m_pDoc->DropMarkedFromList();
      m_pDoc->ClearListMarks();
      Jump(0);
      break;
    default:
      break;
  }
}
