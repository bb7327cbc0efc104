#include "VexStageControl.h"

#include <utility>

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"

CVexStageControl::CVexStageControl() : m_pLead(std::make_unique<CLead>()) {}

CVexStageControl::~CVexStageControl() {
  if (m_pLead && m_pLead->m_hWnd) m_pLead->DestroyWindow();
}

BOOL CVexStageControl::Create(const RECT* rect, CWnd* stage) {
  if (!rect || !stage) return FALSE;
  const BOOL created = m_pLead->CreateControl("", 0, *rect, stage, 0, nullptr, FALSE);
  if (!created) return FALSE;
  m_pLead->ShowWindow(SW_HIDE);
  m_pLead->SetFlag20(FALSE);
  return created;
}

CLead* CVexStageControl::Lead() const { return m_pLead->m_hWnd ? m_pLead.get() : nullptr; }

void CVexStageControl::Load(CVexBufferControl* buffers, SHORT slot, bool flagged) {
  CLead* lead = Lead();
  if (!lead || !buffers) return;
  const LONG handle = slot == kThirdBitmap ? buffers->GetThirdBitmap() : buffers->GetBuffer(slot);
  lead->SetValue146(0);
  lead->SetFlag272(flagged ? TRUE : FALSE);
  lead->SetBitmap(handle);
  if (flagged) lead->SetFlag272(FALSE);
}

void CVexStageControl::Store(CVexBufferControl* buffers, SHORT slot) {
  CLead* lead = Lead();
  if (!lead || !buffers) return;
  if (slot == kThirdBitmap) buffers->SetThirdBitmap(lead->GetBitmap());
  else buffers->SetBuffer(slot, lead->GetBitmap());
}

void CVexStageControl::TakeForChange(CVexBufferControl* buffers, SHORT slot) {
  CLead* lead = Lead();
  // Only a picture the control really holds may be lent: else nothing would keep it.
  if (!lead || !buffers || slot == kThirdBitmap) return;
  const LONG handle = buffers->GetBuffer(slot);
  if (handle != 0 && lead->GetBitmap() == handle) buffers->LendBuffer(slot);
}

int CVexStageControl::StoreAndFail(CVexBufferControl* buffers, SHORT slot, CVexDoc* doc, LONG type, LONG detail) {
  Store(buffers, slot);
  doc->SetLastError(type, detail, 1);
  return 0;
}

void CVexStageControl::CropToShootArea(CVexDoc* doc) {
  CLead* lead = Lead();
  if (!lead || !doc) return;
  RECT area = doc->GetShootArea();
  if (doc->GetDir90() == 1) {
    std::swap(area.left, area.top);
    std::swap(area.right, area.bottom);
  }
  lead->CropImage(static_cast<float>(area.left), static_cast<float>(area.top),
                  static_cast<float>(area.right - area.left), static_cast<float>(area.bottom - area.top));
  doc->SetImageSizeText(static_cast<LONG>(lead->GetImageWidth()), static_cast<LONG>(lead->GetImageHeight()));
}
