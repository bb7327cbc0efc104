// Caption filters: SECCaptionMsgFilter knows where the frame's caption and its buttons lie
// (window coordinates); SECCaptionControlListMsgFilter lays its caption-button children out
// from right to left, leaving the places of the frame's own buttons; the maximised MDI
// child's list does the same in the MDI frame's menu line.
#pragma once
#include "SECMsgFilter.h"

class SECCaptionMsgFilter : public SECNcMsgFilter {
  DECLARE_DYNCREATE(SECCaptionMsgFilter)
 public:
  SECCaptionMsgFilter(CFrameWnd* pFrame, UINT nID) : SECNcMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;

  virtual CRect GetCaptionRect() const;
  virtual CSize GetButtonSizeFromMetrics(int nXMetric, int nYMetric) const;
  virtual CSize GetButtonSize() const;
  virtual CPoint GetFirstButtonPos(const CRect& caption, CSize button) const;

 protected:
  SECCaptionMsgFilter() = default;
  SECCaptionMsgFilter(const SECCaptionMsgFilter& other) : SECNcMsgFilter(other) {}
};

class SECCaptionControlListMsgFilter : public SECCaptionMsgFilter {
  DECLARE_DYNCREATE(SECCaptionControlListMsgFilter)
 public:
  SECCaptionControlListMsgFilter(CFrameWnd* pFrame, UINT nID);
  SECMsgFilter* Clone() const override;
  LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  virtual void LayoutControls();

  // The frame's own five buttons: ids 0, 2, 3, 1, 4, all on at first.
  SECMsgFilter::DescriptorTable m_descriptors;

 protected:
  SECCaptionControlListMsgFilter();
  SECCaptionControlListMsgFilter(const SECCaptionControlListMsgFilter& other);

 private:
  void FillTable();
};

class SECCapConLstMDIMaxChildMsgFilter : public SECCaptionControlListMsgFilter {
  DECLARE_DYNCREATE(SECCapConLstMDIMaxChildMsgFilter)
 public:
  SECCapConLstMDIMaxChildMsgFilter(CFrameWnd* pFrame, UINT nID) : SECCaptionControlListMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;
  CSize GetButtonSize() const override;
  CPoint GetFirstButtonPos(const CRect& caption, CSize button) const override;

 protected:
  SECCapConLstMDIMaxChildMsgFilter() = default;
  SECCapConLstMDIMaxChildMsgFilter(const SECCapConLstMDIMaxChildMsgFilter& other)
      : SECCaptionControlListMsgFilter(other) {}
};
