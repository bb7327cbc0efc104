// CVexPropertyPage2: the Save page: the image folder with its browse button, the file
// name's prefix and body, the example of the first automatic name, and the drive
// information.
#pragma once
#include <afxcmn.h>

#include "StaticFilespec.h"
#include "VexFilterEdits.h"
#include "VexPropertyPage.h"

class CVexPropertyPage2 : public CVexPropertyPage {
 public:
  enum {
    IDD = 105,
    kIcon = 190,
    kFolder = 1015,
    kPrefix = 1017,
    kBody = 1019,
    kExample = 1057,
    kDriveInfo = 1150,
    kDefault = 1001,
    kApply = 1056,
    kTooLong = 62551,
    kFolderTip = 62544,
    kMaxTyped = 200,
  };
  CVexPropertyPage2() : CVexPropertyPage(IDD, kIcon) {}
  void Refresh() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnDefault();
  afx_msg void UpdateExample();
  afx_msg void OnDriveInfo();
  afx_msg void OnEditChange(UINT nID);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowTexts();

  CVexBrowseEdit m_editFolder;
  CVexCheckEdit m_editPrefix, m_editBody;
  CStaticFilespec m_wndExample{DT_NOPREFIX | DT_VCENTER | DT_SINGLELINE};
  CToolTipCtrl m_wndToolTip;
};
