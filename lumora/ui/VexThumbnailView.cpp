#include "VexThumbnailView.h"

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CVexThumbnailView, CFormView)

namespace {
// Comment labels under the thumbnails, slot 0 (rightmost) first: their rectangles give
// the columns the thumbnails take.
constexpr int kCommentIds[CVexThumbnailView::kSlots] = {1095, 1087, 1086, 1085, 1084};
constexpr int kTitleIds[CVexThumbnailView::kSlots] = {1138, 1137, 1136, 1135, 1134};
}  // namespace

CVexThumbnailView::CVexThumbnailView() : CFormView(IDD) {}
CVexThumbnailView::~CVexThumbnailView() = default;

CLead* CVexThumbnailView::GetThumbnailControl(int slot) const {
  return slot >= 0 && slot < kSlots ? m_pLead[static_cast<size_t>(slot)].get() : nullptr;
}

int CVexThumbnailView::CreateThumbnailControls() {
  m_pDoc = dynamic_cast<CVexDoc*>(GetDocument());
  for (int slot = 0; slot < kSlots; ++slot) {
    // Each thumbnail fills the room between its title and its comment.
    CRect title, comment;
    CWnd* t = GetDlgItem(kTitleIds[slot]);
    CWnd* c = GetDlgItem(kCommentIds[slot]);
    if (!t || !c) {
      m_bControlsValid = 0;
      return 0;
    }
    t->GetWindowRect(&title);
    c->GetWindowRect(&comment);
    ScreenToClient(&title);
    ScreenToClient(&comment);
    const CRect rect(title.left, title.bottom + 2, title.right, comment.top - 2);
    auto lead = std::make_unique<CLead>();
    if (!lead->CreateControl("", WS_CHILD | WS_VISIBLE, rect, this, static_cast<UINT>(kFirstControl + slot))) {
      m_bControlsValid = 0;
      return 0;
    }
    lead->SetBackColor(static_cast<LONG>(RGB(255, 255, 255)));
    m_pLead[static_cast<size_t>(slot)] = std::move(lead);
  }
  return 1;
}

void CVexThumbnailView::OnSettingsChanged(LONG flag) {
  // Reloading the strip on these bits belongs to the strip's folder handling.
  (void)flag;
}

int CVexThumbnailView::ShowThumbnail(SHORT index, SHORT bufferIndex) {
  if (!m_bControlsValid || !m_pBufferControl) return 0;
  CLead* lead = GetThumbnailControl(index);
  if (!lead) return 0;
  lead->SetValue146(0);
  lead->SetBitmap(m_pBufferControl->GetBuffer(bufferIndex));
  lead->ForceRepaint();
  lead->SetPaintSizeMode(3);
  return 1;
}
