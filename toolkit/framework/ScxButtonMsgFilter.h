// The place-switching caption button: a click toggles the document frame between an MDI
// child and a docked frame; a right click, or holding it 400 ms, opens the caption menu of
// places under it. The MDI child's button hides while the child is maximised; the
// maximised child's button sits in the MDI frame's menu line instead.
#pragma once
#include "SECCaptionControlMsgFilter.h"

namespace nsSysCommandEx {

class ScxButtonMsgFilter : public SECCaptionControlMsgFilter {
  DECLARE_DYNCREATE(ScxButtonMsgFilter)
 public:
  static constexpr int kHoldInterval = 400;
  static constexpr UINT kNoControlID = 5120;

  ScxButtonMsgFilter(CFrameWnd* pFrame, UINT nID);
  SECMsgFilter* Clone() const override;
  LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void Draw() override;
  BOOL IsVisible(BOOL* pDisabled) override;
  void DoAction(int nAction, int x, int y) override;

  // The window the requests are about.
  virtual CFrameWnd* GetTargetFrame() const { return GetFrame(); }
  // The hit code the button answers to.
  virtual UINT GetHitCode() const { return HTCAPTION; }

 protected:
  ScxButtonMsgFilter();
  ScxButtonMsgFilter(const ScxButtonMsgFilter& other) : SECCaptionControlMsgFilter(other) {}
};

class ScxButtonMDIChildMsgFilter : public ScxButtonMsgFilter {
  DECLARE_DYNCREATE(ScxButtonMDIChildMsgFilter)
 public:
  ScxButtonMDIChildMsgFilter(CFrameWnd* pFrame, UINT nID) : ScxButtonMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;
  BOOL IsVisible(BOOL* pDisabled) override;

 protected:
  ScxButtonMDIChildMsgFilter() = default;
  ScxButtonMDIChildMsgFilter(const ScxButtonMDIChildMsgFilter& other) : ScxButtonMsgFilter(other) {}
};

class ScxButtonMDIMaxChildMsgFilter : public ScxButtonMsgFilter {
  DECLARE_DYNCREATE(ScxButtonMDIMaxChildMsgFilter)
 public:
  ScxButtonMDIMaxChildMsgFilter(CFrameWnd* pFrame, UINT nID) : ScxButtonMsgFilter(pFrame, nID) {}
  SECMsgFilter* Clone() const override;
  LRESULT OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL IsVisible(BOOL* pDisabled) override;
  CFrameWnd* GetTargetFrame() const override { return GetActiveMaxChild(); }
  UINT GetHitCode() const override { return HTMENU; }

  // The MDI frame's active child while it is maximised, else null.
  virtual CFrameWnd* GetActiveMaxChild() const;

 protected:
  ScxButtonMDIMaxChildMsgFilter() = default;
  ScxButtonMDIMaxChildMsgFilter(const ScxButtonMDIMaxChildMsgFilter& other) : ScxButtonMsgFilter(other) {}
};

// The MDI frame's active child while it is maximised (null otherwise).
CFrameWnd* ActiveMaxChildOf(const CFrameWnd* pMDIFrame);
// Whether the frame is one of the library's MDI children with its filter `nID` on.
BOOL ChildFilterIsOn(const CFrameWnd* pChild, UINT nID);

}  // namespace nsSysCommandEx
