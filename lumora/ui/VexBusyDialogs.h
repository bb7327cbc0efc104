// The two busy windows: "saving" while a picture is written, and "computing" while the
// shading tables are built. Each shows one of four spinner texts at a time.
#pragma once
#include <afxwin.h>

class CVexSaveNowDialog : public CDialog {
 public:
  enum { IDD = 232, kText = 1146 };
  CVexSaveNowDialog() : CDialog(IDD) {}
  // Shows frame 0-3 of the indicator (another frame: an empty text) and waits 100 ms.
  virtual void SetSpinnerFrame(SHORT frame);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  CStatic m_text;
};

class CVexShadingNowDialog : public CDialog {
 public:
  enum { IDD = 2002, kText = 1198 };
  CVexShadingNowDialog() : CDialog(IDD) {}
  virtual void SetSpinnerFrame(SHORT frame);
};

namespace busyspinner {
// The string of spinner frame `frame` counted from `first`; 0 outside frames 0-3.
UINT FrameText(UINT first, SHORT frame);
// Shows the frame in control `id` of `dialog`, repaints it and waits 100 ms.
void Show(CDialog& dialog, int id, UINT first, SHORT frame);
}  // namespace busyspinner
