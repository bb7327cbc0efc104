// CVexSettingsPages: what the camera control panel asks of the settings sheet embedded
// in its lower half. The maker makes the program's own sheet unless a test puts another
// in its place; without a maker the panel's placeholder stays empty and the panel works
// on its own.
#pragma once
#include <afxwin.h>

#include <memory>

class CPropertySheet;
class CVexMainControlView;
class CVexSettingsPages;

// The program's settings sheet.
std::unique_ptr<CVexSettingsPages> MakeVexPropertySheet();

class CVexSettingsPages {
 public:
  // The five pages, in sheet order.
  enum Page { kPhoto = 0, kSave = 1, kLive = 2, kTimer = 3, kOption = 4 };

  virtual ~CVexSettingsPages() = default;
  // Gives every page the panel and creates the sheet window as a child of the panel.
  virtual BOOL Create(CVexMainControlView* panel) = 0;
  virtual CPropertySheet* GetSheet() = 0;
  // A control of one page, or null.
  virtual CWnd* GetPageItem(Page page, int id) = 0;
  // The Timer page recomputes its totals (after every exposure change).
  virtual void UpdateTotals() = 0;
  // Every page fills its controls again from the panel's getters.
  virtual void RefreshPages() = 0;

  using Maker = std::unique_ptr<CVexSettingsPages> (*)();
  static Maker& SheetMaker() {
    static Maker maker = &MakeVexPropertySheet;
    return maker;
  }
};
