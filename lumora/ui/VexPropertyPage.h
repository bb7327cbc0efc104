// CVexPropertyPage: what the five settings pages share: the control panel they edit
// through (each page holds it; a page publishes it as the process-wide panel pointer
// when its window is made), the icon on the page's tab, and the refresh that fills the
// page again from the panel after a setting file was loaded.
#pragma once
#include <afxdlgs.h>

class CVexMainControlView;

class CVexPropertyPage : public CPropertyPage {
 public:
  CVexPropertyPage(UINT nIDTemplate, UINT nIDIcon);
  ~CVexPropertyPage() override;

  void SetPanel(CVexMainControlView* panel) { m_pPanel = panel; }
  // The process-wide panel pointer through which the page handlers reach the panel.
  static CVexMainControlView* Panel();
  // Fills the controls again from the panel's getters and repaints.
  virtual void Refresh() = 0;

 protected:
  void PublishPanel();
  // Handlers ignore the notifications that the page's own filling causes.
  static bool Initialising();
  // An empty numeric edit is refilled with `value`; answers whether it was empty.
  bool RefillEmpty(int id, int value);

  CVexMainControlView* m_pPanel = nullptr;
};
