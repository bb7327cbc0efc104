#include "SECCaptionMsgFilter.h"

#include "SECCaptionControlMsgFilter.h"

IMPLEMENT_DYNCREATE(SECCaptionMsgFilter, SECNcMsgFilter)
IMPLEMENT_DYNCREATE(SECCaptionControlListMsgFilter, SECCaptionMsgFilter)
IMPLEMENT_DYNCREATE(SECCapConLstMDIMaxChildMsgFilter, SECCaptionControlListMsgFilter)

SECMsgFilter* SECCaptionMsgFilter::Clone() const { return new SECCaptionMsgFilter(*this); }

// ---- geometry, in the frame's window coordinates

CRect SECCaptionMsgFilter::GetCaptionRect() const {
  CFrameWnd* frame = GetFrame();
  if (!frame || !frame->GetSafeHwnd()) return CRect(0, 0, 0, 0);
  const DWORD style = frame->GetStyle();
  const BOOL tool = (frame->GetExStyle() & WS_EX_TOOLWINDOW) != 0;
  int bx = 0, by = 0;
  if (style & (WS_CAPTION | WS_THICKFRAME)) {
    if ((style & WS_THICKFRAME) && !(style & WS_MINIMIZE)) {
      bx = ::GetSystemMetrics(SM_CXFRAME);
      by = ::GetSystemMetrics(SM_CYFRAME);
    } else if (style & WS_DLGFRAME) {
      bx = ::GetSystemMetrics(SM_CXDLGFRAME);
      by = ::GetSystemMetrics(SM_CYDLGFRAME);
    } else {
      bx = ::GetSystemMetrics(SM_CXBORDER);
      by = ::GetSystemMetrics(SM_CYBORDER);
    }
  }
  int height = 0;
  if ((style & WS_CAPTION) == WS_CAPTION)
    height = ::GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION) - ::GetSystemMetrics(SM_CYBORDER);
  CRect window;
  frame->GetWindowRect(&window);
  return CRect(bx, by, bx + window.Width() - 2 * bx, by + height);
}

CSize SECCaptionMsgFilter::GetButtonSizeFromMetrics(int nXMetric, int nYMetric) const {
  return CSize(::GetSystemMetrics(nXMetric) - 2, ::GetSystemMetrics(nYMetric) - 4);
}

CSize SECCaptionMsgFilter::GetButtonSize() const {
  CFrameWnd* frame = GetFrame();
  const BOOL tool = frame && frame->GetSafeHwnd() && (frame->GetExStyle() & WS_EX_TOOLWINDOW);
  return tool ? GetButtonSizeFromMetrics(SM_CXSMSIZE, SM_CYSMSIZE) : GetButtonSizeFromMetrics(SM_CXSIZE, SM_CYSIZE);
}

CPoint SECCaptionMsgFilter::GetFirstButtonPos(const CRect& caption, CSize button) const {
  return CPoint(caption.right - button.cx - 2, caption.top + 2);
}

// ---- the list

SECCaptionControlListMsgFilter::SECCaptionControlListMsgFilter() { FillTable(); }

SECCaptionControlListMsgFilter::SECCaptionControlListMsgFilter(CFrameWnd* pFrame, UINT nID)
    : SECCaptionMsgFilter(pFrame, nID) {
  FillTable();
}

SECCaptionControlListMsgFilter::SECCaptionControlListMsgFilter(const SECCaptionControlListMsgFilter& other)
    : SECCaptionMsgFilter(other) {
  // The children came with the copy; only the table is made again.
  for (INT_PTR i = 0; i < other.m_descriptors.GetSize(); ++i) {
    const Descriptor* d = other.m_descriptors.GetAt(i);
    m_descriptors.Add(d->m_nID, d->m_nParentID, d->m_pFilterClass, d->m_bFlag);
  }
}

void SECCaptionControlListMsgFilter::FillTable() {
  for (UINT id : {SECCaptionControlMsgFilter::idClose, SECCaptionControlMsgFilter::idMaximize,
                  SECCaptionControlMsgFilter::idRestore, SECCaptionControlMsgFilter::idMinimize,
                  SECCaptionControlMsgFilter::idHelp})
    m_descriptors.Add(id, kNoParent, RUNTIME_CLASS(SECCaptionControlMsgFilter), FALSE);
  ApplyDescriptorsAll(m_descriptors, TRUE);
}

SECMsgFilter* SECCaptionControlListMsgFilter::Clone() const { return new SECCaptionControlListMsgFilter(*this); }

LRESULT SECCaptionControlListMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                        LRESULT* pResult) {
  LayoutControls();
  return FilterChildren(message, wParam, lParam, pResult);
}

void SECCaptionControlListMsgFilter::LayoutControls() {
  CFrameWnd* frame = GetFrame();
  if (!IsEnabled() || !frame || !frame->GetSafeHwnd()) return;
  const CSize size = GetButtonSize();
  CPoint pos = GetFirstButtonPos(GetCaptionRect(), size);
  const BOOL minimised = frame->IsIconic();
  // Every caption control takes its place, on or off, so that the buttons the frame draws
  // itself keep theirs and the library's sit beside them.
  for (INT_PTR i = 0; i < GetChildCount(); ++i) {
    auto* control = dynamic_cast<SECCaptionControlMsgFilter*>(GetChild(i));
    if (!control) continue;
    BOOL disabled = FALSE;
    if (!control->IsVisible(&disabled)) {
      control->m_rectButton.SetRectEmpty();
      continue;
    }
    control->m_rectButton.SetRect(pos.x, pos.y, pos.x + size.cx, pos.y + size.cy);
    if (disabled)
      control->m_nDrawState |= DFCS_INACTIVE;
    else
      control->m_nDrawState &= ~UINT(DFCS_INACTIVE);
    pos.x -= size.cx;
    const UINT id = control->GetID();
    if (id == SECCaptionControlMsgFilter::idClose || id == SECCaptionControlMsgFilter::idMinimize ||
        (id == SECCaptionControlMsgFilter::idRestore && minimised))
      pos.x -= 2;
  }
}

// ---- the maximised MDI child's list, in the MDI frame's menu line

SECMsgFilter* SECCapConLstMDIMaxChildMsgFilter::Clone() const { return new SECCapConLstMDIMaxChildMsgFilter(*this); }

CSize SECCapConLstMDIMaxChildMsgFilter::GetButtonSize() const {
  return GetButtonSizeFromMetrics(SM_CXMENUSIZE, SM_CYMENUSIZE);
}

CPoint SECCapConLstMDIMaxChildMsgFilter::GetFirstButtonPos(const CRect& caption, CSize button) const {
  CPoint pos = SECCaptionControlListMsgFilter::GetFirstButtonPos(caption, button);
  pos.y += ::GetSystemMetrics(SM_CYCAPTION);
  return pos;
}
