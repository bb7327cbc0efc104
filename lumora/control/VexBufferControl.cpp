#include "VexBufferControl.h"

#include <new>

#include "binding/CLead.h"
#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CVexBufferControl, CView)

CVexBufferControl::CVexBufferControl()
    : m_main(std::make_unique<CLead>()), m_second(std::make_unique<CLead>()), m_third(std::make_unique<CLead>()) {
  m_raw.bmPlanes = 1;
  m_raw.bmBitsPixel = 24;
}

CVexBufferControl::~CVexBufferControl() {
  for (auto* lead : {m_main.get(), m_second.get(), m_third.get()})
    if (lead->m_hWnd) lead->DestroyWindow();
}

CVexDoc* CVexBufferControl::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

BOOL CVexBufferControl::CreateImageControls(const RECT& rect) {
  m_created[0] = m_main->CreateControl("", 0, rect, this, 0) != FALSE;
  if (m_created[0]) m_main->ShowWindow(SW_HIDE);
  m_created[1] = m_second->CreateControl("", 0, rect, this, 0) != FALSE;
  m_created[2] = m_third->CreateControl("", 0, rect, this, 0) != FALSE;
  for (int i = 1; i < 3; ++i) {
    CLead* lead = i == 1 ? m_second.get() : m_third.get();
    if (!m_created[i]) continue;
    lead->SetAutoSize(FALSE);
    lead->ShowWindow(SW_HIDE);
  }
  for (int i = 0; i < 3; ++i) {
    CLead* lead = i == 0 ? m_main.get() : i == 1 ? m_second.get() : m_third.get();
    if (m_created[i]) lead->SetFlag20(FALSE);
  }
  return m_created[0] ? TRUE : FALSE;
}

SHORT CVexBufferControl::CreateBuffer(SHORT slot, SHORT width, SHORT height, int turned) {
  if (!Valid(slot) || !m_created[0]) return kNotCreated;
  const float w = turned ? height : width, h = turned ? width : height;
  if (m_main->CreateImage(w, h, 24) != 0) return kNotCreated;
  const LONG handle = m_main->GetBitmap();
  ImageSlot& s = m_slots[slot];
  const bool held = s.hold.Hold(static_cast<DWORD>(handle));
  // The control only makes pictures: the slot alone keeps this one, so a stage that
  // fills it later is its only other holder and writes it in place.
  m_main->SetBitmap(0);
  if (!held) return kNotCreated;
  s.handle = handle;
  return slot;
}

SHORT CVexBufferControl::SetBuffer(SHORT slot, LONG handle) {
  if (!Valid(slot) || handle == 0) return 0;
  // A handle that names no picture is refused rather than kept to fail later.
  if (!m_slots[slot].hold.Hold(static_cast<DWORD>(handle))) return 0;
  m_slots[slot].handle = handle;
  return 1;
}

SHORT CVexBufferControl::LendBuffer(SHORT slot) {
  if (!Valid(slot)) return kBadSlot;
  m_slots[slot].hold.Clear();
  return 0;
}

LONG CVexBufferControl::GetBuffer(SHORT slot) const { return Valid(slot) ? m_slots[slot].handle : kBadSlot; }

SHORT CVexBufferControl::GetShareCount(SHORT slot) const { return Valid(slot) ? m_slots[slot].count : static_cast<SHORT>(kBadSlot); }

SHORT CVexBufferControl::AddRef(SHORT slot) {
  if (!Valid(slot)) return kBadSlot;
  ++m_slots[slot].count;
  return 0;
}

SHORT CVexBufferControl::Release(SHORT slot) {
  if (!Valid(slot)) return kBadSlot;
  if (m_slots[slot].count == 0) ClearSlot(slot);
  else --m_slots[slot].count;
  return 0;
}

void CVexBufferControl::ClearSlot(SHORT slot) {
  m_slots[slot].handle = 0;
  m_slots[slot].count = 0;
  m_slots[slot].hold.Clear();
}

SHORT CVexBufferControl::CopySlot(SHORT to, SHORT from) {
  if (!Valid(to) || !Valid(from)) return kBadSlot;
  if (to == from) return 0;
  ImageSlot& d = m_slots[to];
  const ImageSlot& s = m_slots[from];
  d.hold.Hold(static_cast<DWORD>(s.handle));
  d.handle = s.handle;
  d.count = s.count;
  return 0;
}

SHORT CVexBufferControl::SwapSlots(SHORT a, SHORT b) {
  if (!Valid(a) || !Valid(b)) return kBadSlot;
  std::swap(m_slots[a], m_slots[b]);
  return 0;
}

SHORT CVexBufferControl::AllocRawBuffer(SHORT slot, SHORT width, SHORT height, int turned) {
  if (!Valid(slot)) return kNotCreated;
  m_rawPixels = {};
  m_raw.bmBits = nullptr;
  m_raw.bmType = 0;
  m_raw.bmWidth = turned ? height : width;
  m_raw.bmHeight = turned ? width : height;
  m_raw.bmWidthBytes = m_raw.bmWidth * 3;
  m_raw.bmPlanes = 1;
  m_raw.bmBitsPixel = 24;
  const long long bytes = static_cast<long long>(width) * height * 3;
  try {
    if (bytes < 0) throw std::bad_alloc();
    m_rawPixels.resize(static_cast<size_t>(bytes));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  m_raw.bmBits = m_rawPixels.data();
  return slot;
}

SHORT CVexBufferControl::SetRawBuffer(SHORT slot, const BITMAP& description) {
  if (!Valid(slot)) return 0;
  m_rawPixels = {};
  m_raw = description;
  m_raw.bmBits = nullptr;
  return 1;
}

SHORT CVexBufferControl::PutBitmap(CLead* lead, LONG handle) {
  lead->SetValue146(0);
  lead->SetFlag272(FALSE);
  lead->SetBitmap(handle);
  return 1;
}

SHORT CVexBufferControl::SetSecondBitmap(LONG handle) { return m_created[1] ? PutBitmap(m_second.get(), handle) : 0; }
LONG CVexBufferControl::GetSecondBitmap() { return m_created[1] ? m_second->GetBitmap() : 0; }
SHORT CVexBufferControl::SetThirdBitmap(LONG handle) { return m_created[2] ? PutBitmap(m_third.get(), handle) : 0; }
LONG CVexBufferControl::GetThirdBitmap() { return m_created[2] ? m_third->GetBitmap() : 0; }

SHORT CVexBufferControl::CreateThirdBitmap(SHORT width, SHORT height, int turned) {
  if (!m_created[2]) return kNotCreated;
  const float w = turned ? height : width, h = turned ? width : height;
  return m_third->CreateImage(w, h, 24) == 0 ? 0 : kNotCreated;
}
