// Caption gestures that move a document frame: a right double click on the caption
// toggles between MDI child and docked (also on the maximised child's menu line), and a
// right click on the caption opens the caption menu of places.
#pragma once
#include "SECCaptionMsgFilter.h"

namespace nsSysCommandEx {

class ScxCaptionNCRDBLClkFilter : public SECCaptionMsgFilter {
  DECLARE_DYNCREATE(ScxCaptionNCRDBLClkFilter)
 public:
  ScxCaptionNCRDBLClkFilter(CFrameWnd* pFrame, UINT nID) : SECCaptionMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;
  LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  ScxCaptionNCRDBLClkFilter() = default;
  ScxCaptionNCRDBLClkFilter(const ScxCaptionNCRDBLClkFilter& other) : SECCaptionMsgFilter(other) {}
};

class ScxNCRDBLClkMDIMaxChildMsgFilter : public SECNcMsgFilter {
  DECLARE_DYNCREATE(ScxNCRDBLClkMDIMaxChildMsgFilter)
 public:
  ScxNCRDBLClkMDIMaxChildMsgFilter(CFrameWnd* pFrame, UINT nID) : SECNcMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;
  LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  ScxNCRDBLClkMDIMaxChildMsgFilter() = default;
  ScxNCRDBLClkMDIMaxChildMsgFilter(const ScxNCRDBLClkMDIMaxChildMsgFilter& other) : SECNcMsgFilter(other) {}
};

class ScxContextMenuFilter : public SECMsgFilter {
  DECLARE_DYNCREATE(ScxContextMenuFilter)
 public:
  ScxContextMenuFilter(CFrameWnd* pFrame, UINT nID) : SECMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;
  LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  ScxContextMenuFilter() = default;
  ScxContextMenuFilter(const ScxContextMenuFilter& other) : SECMsgFilter(other) {}
};

}  // namespace nsSysCommandEx
