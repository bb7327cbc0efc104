#include "VexPropertySheet.h"

#include "VexMainControlView.h"
#include "VexSettingsPages.h"

CVexPropertySheet::CVexPropertySheet(CWnd* pParentWnd) : CPropertySheet(kCaption, pParentWnd) {
  AddPage(&m_page1);
  AddPage(&m_page2);
  AddPage(&m_page3);
  AddPage(&m_page4);
  AddPage(&m_page5);
}

void CVexPropertySheet::SetPanel(CVexMainControlView* panel) {
  for (int i = 0; i < GetPageCount(); ++i) Page(i)->SetPanel(panel);
}

CVexPropertyPage* CVexPropertySheet::Page(int index) {
  CVexPropertyPage* const pages[] = {&m_page1, &m_page2, &m_page3, &m_page4, &m_page5};
  return index >= 0 && index < 5 ? pages[index] : nullptr;
}

namespace {

// What the panel asks of its sheet.
class SettingsSheet : public CVexSettingsPages {
 public:
  BOOL Create(CVexMainControlView* panel) override {
    m_sheet.SetPanel(panel);
    return m_sheet.Create(panel, WS_CHILD | WS_VISIBLE);
  }
  CPropertySheet* GetSheet() override { return &m_sheet; }
  CWnd* GetPageItem(Page page, int id) override {
    CVexPropertyPage* p = m_sheet.Page(page);
    return p && p->GetSafeHwnd() ? p->GetDlgItem(id) : nullptr;
  }
  void UpdateTotals() override {
    if (!m_sheet.m_page4.GetSafeHwnd()) return;
    m_sheet.m_page4.UpdateTotals();
    m_sheet.m_page4.UpdateData(FALSE);
  }
  void RefreshPages() override {
    for (int i = 0; i < m_sheet.GetPageCount(); ++i)
      if (CVexPropertyPage* page = m_sheet.Page(i); page && page->GetSafeHwnd()) page->Refresh();
  }

 private:
  CVexPropertySheet m_sheet;
};

}  // namespace

std::unique_ptr<CVexSettingsPages> MakeVexPropertySheet() { return std::make_unique<SettingsSheet>(); }
