// CVexPropertySheet: the tabbed settings sheet in the lower half of the camera control
// panel, holding its five pages in order: Photo, Save, Live, Timer and Option. It has
// no buttons of its own: every change applies at once.
#pragma once
#include <afxdlgs.h>

#include "VexPropertyPage1.h"
#include "VexPropertyPage2.h"
#include "VexPropertyPage3.h"
#include "VexPropertyPage4.h"
#include "VexPropertyPage5.h"

class CVexMainControlView;

class CVexPropertySheet : public CPropertySheet {
 public:
  enum { kCaption = 102 };
  explicit CVexPropertySheet(CWnd* pParentWnd = nullptr);

  // Every page edits the settings through `panel`.
  void SetPanel(CVexMainControlView* panel);
  CVexPropertyPage* Page(int index);

  CVexPropertyPage1 m_page1;
  CVexPropertyPage2 m_page2;
  CVexPropertyPage3 m_page3;
  CVexPropertyPage4 m_page4;
  CVexPropertyPage5 m_page5;
};
