// CVexRetouchDlg: the modal "Retouch Image" dialog (template 139). It edits two imaging
// controls: the stage's working control, which receives every accepted edit, and its own
// preview (1029), which shows that picture or a trial of the page's pending values. The
// menu turns, flips, greys and inverts; a rubber band on the preview chooses a crop or a
// white/black sample; the four pages adjust values. Each accepted edit is also noted in
// the document's retouch list.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>

#include <functional>
#include <memory>

#include "binding/CLead.h"

class CVexDoc;
class CVexErrorControl;
class CVexRetouchCalc;
class CVexRetouchProcess;
class CVexRetouchTab;
class CVexRetouchTabColor;
class CVexRetouchTabEnhance;
class CVexRetouchTabSize;
class CVexRetouchTabWBalance;

class CVexRetouchDlg : public CDialog {
 public:
  enum { IDD = 139 };
  enum : UINT {
    kEnhanceMessage = WM_USER + 300, kColorMessage, kSizeMessage, kWBalanceMessage
  };
  enum Page { kEnhancePage, kColorPage, kSizePage, kWBalancePage };

  CVexRetouchDlg(CVexRetouchProcess* stage, CLead* stageControl, LONG unedited);
  ~CVexRetouchDlg() override;

  void SetDocument(CVexDoc* doc) { m_pDoc = doc; }
  void SetErrorControl(CVexErrorControl* errors) { m_pErrorControl = errors; }
  // IDCANCEL at once when a part could not be built.
  int DoModal() override;

  // Preview pixels per picture pixel of the stage's picture.
  float GetViewScale();
  // The preview shows the stage's picture again, at the crop when one is pending.
  void RefreshPreview();
  void ResolvePendingCrop();
  void ApplyCrop();
  BOOL CheckCropSize();
  // Drops a pending crop and the band; applied edits stay.
  void ClearSelection();
  // The three levels of the W.Balance sample from the preview; -1 each when unknown.
  void TakeSample();

  // Parts, for the pages' owners and for tests.
  BOOL IsBuilt() const { return m_bBuilt; }
  CLead& Preview() { return m_preview; }
  CVexRetouchTabEnhance* EnhancePage() const { return m_pEnhance.get(); }
  CVexRetouchTabColor* ColorPage() const { return m_pColor.get(); }
  CVexRetouchTabSize* SizePage() const { return m_pSize.get(); }
  CVexRetouchTabWBalance* WBalancePage() const { return m_pWBalance.get(); }
  int GetSizeChoice() const { return m_nSizeChoice; }
  int GetCropState() const { return m_nCropState; }
  int GetBandState() const { return m_nBandState; }
  int GetPendingFlag() const { return m_bPending; }
  int GetCursorMode() const { return m_nCursorMode; }
  const int* GetSampleLevels() const { return m_nLevel; }

  // Building a part goes through here, so tests can make one allocation fail (part 1
  // the operations, 2 to 5 the pages); a hook answering true makes that one throw.
  using PartFailHook = bool (*)(int part);
  static void SetPartFailHook(PartFailHook hook);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnRotate90CW();
  afx_msg void OnRotate90CCW();
  afx_msg void OnRotate180();
  afx_msg void OnFlipHorizontal();
  afx_msg void OnFlipVertical();
  afx_msg void OnGrayscale();
  afx_msg void OnNegative();
  afx_msg void OnCrop();
  afx_msg void OnUndo() { ClearSelection(); }
  afx_msg void OnReload();
  afx_msg void OnSelchangeTab(NMHDR* header, LRESULT* result);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg LRESULT OnEnhanceNotify(WPARAM code, LPARAM);
  afx_msg LRESULT OnColorNotify(WPARAM code, LPARAM);
  afx_msg LRESULT OnSizeNotify(WPARAM code, LPARAM);
  afx_msg LRESULT OnWBalanceNotify(WPARAM code, LPARAM);
  void OnMouseDownPreview(short button, short shift, LONG x, LONG y);
  void OnMouseMovePreview(short button, short shift, LONG x, LONG y);
  void OnMouseUpPreview(short button, short shift, LONG x, LONG y);
  void OnRegionDone() { FinishBand(); }
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

 private:
  // While a page's notification is handled: the wait cursor and the preview frozen, and
  // on every way out the preview repainted and live again.
  class PreviewBatch;
  enum class Turn { kCW, kCCW, k180, kFlipH, kFlipV };

  void BuildParts();
  void ReleaseParts();
  // Notes an edit in the document's list; with the list full, asks whether to go on
  // unrecorded. False: the edit is abandoned.
  bool RecordEdit(const std::function<int(CVexDoc&)>& queue);
  int Ask(UINT textId, UINT type);
  // Reports (241, detail) and ends the dialog with IDCANCEL once the handler is done.
  void Fail(int detail);
  void TurnOrFlip(Turn turn);
  void ReadFullView();
  void FinishBand();
  void RemoveBand();
  bool InsidePicture(LONG x, LONG y);
  CString SizeText(int width, int height);
  void ShowNewSize(int width, int height);
  void ShowStageSize();

  LRESULT EnhanceCode(int code);
  LRESULT ColorCode(int code);
  LRESULT SizeCode(int code);
  LRESULT WBalanceCode(int code);
  void ResetEnhance();
  void ResetColor();
  void ResetWBalance();
  void ApplyPendingPage(int page);
  void ResetPendingPage(int page);
  void ApplySize();

  CTabCtrl m_tab;
  CLead m_preview;
  CVexRetouchProcess* m_pStage;
  CVexDoc* m_pDoc = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  CLead* m_pStageControl;
  LONG m_lUnedited;
  std::unique_ptr<CVexRetouchCalc> m_pCalc;
  std::unique_ptr<CVexRetouchTabEnhance> m_pEnhance;
  std::unique_ptr<CVexRetouchTabColor> m_pColor;
  std::unique_ptr<CVexRetouchTabSize> m_pSize;
  std::unique_ptr<CVexRetouchTabWBalance> m_pWBalance;
  int m_bBuilt = 0;
  int m_bPending = 0;
  int m_nPage = kEnhancePage;
  int m_nSizeChoice = 0;
  int m_nCropState = -1;
  int m_nBandState = -1;
  float m_fCropLeft = 0, m_fCropTop = 0, m_fCropWidth = 0, m_fCropHeight = 0;
  float m_fViewWidth = 0, m_fViewHeight = 0, m_fViewLeft = 0, m_fViewTop = 0;
  float m_fBandLeft = 0, m_fBandTop = 0, m_fBandWidth = 0, m_fBandHeight = 0;
  LONG m_nDownX = 0, m_nDownY = 0;
  int m_nCursorMode = 0;
  // W.Balance sampling: 0 off, 1 armed, 2 white or 3 black sample taken; the mode
  // -1 none, 0 white, 1 black; the sample-taken flag -1 or 1; the levels -1 unknown.
  int m_nSampling = 0;
  int m_nBalanceMode = -1;
  int m_nSampleTaken = -1;
  float m_fSampleLeft = 0, m_fSampleTop = 0, m_fSampleWidth = 0, m_fSampleHeight = 0;
  int m_nLevel[3] = {-1, -1, -1};
  bool m_bFailed = false;
};
