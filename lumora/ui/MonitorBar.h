// CMonitorBar: the focus meter's level bar over a progress control. It fills the bar in
// its colour up to the level and marks the highest level seen with a red line.
#pragma once
#include <afxcmn.h>
#include <afxwin.h>

class CMonitorBar : public CProgressCtrl {
 public:
  CMonitorBar();
  ~CMonitorBar() override;
  CMonitorBar(const CMonitorBar&) = delete;
  CMonitorBar& operator=(const CMonitorBar&) = delete;

  virtual void SetRange(int nLower, int nUpper);
  // Returns the previous position.
  virtual int SetPos(int nPos);
  void SetBarColor(COLORREF color);
  void ClearAll();
  void ClearPos();
  void ClearPeak();

  int GetPos() const { return m_nPos; }
  int GetPeak() const { return m_nPeak; }
  int GetLower() const { return m_nLower; }
  int GetUpper() const { return m_nUpper; }
  COLORREF GetBarColor() const { return m_crBar; }
  // Halves up, towards positive: 2.5 gives 3, 2.49 gives 2.
  static int Round(double x);

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  void Repaint();

  int m_nPos = 0, m_nPeak = 0;
  int m_nLower = 0, m_nUpper = 100;
  COLORREF m_crBar = RGB(0, 255, 0);
  CBrush m_brush;
  CPen m_pen;
};
