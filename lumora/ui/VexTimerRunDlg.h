// CVexTimerRunDlg: runs a time-lapse series modally: a fixed number of still pictures at
// a fixed interval, the first one second after the window opens, with the count taken,
// the state (waiting or shooting) and the time left, and an Abort button.
#pragma once
#include <afxmt.h>
#include <afxwin.h>

class CVexDoc;
class CVexErrorControl;

class CVexTimerRunDlg : public CDialog {
 public:
  enum { IDD = 1123, kTimer = 2, kCountText = 1123, kStatusText = 1124, kBar = 1125, kTimeLeft = 1126, kAbort = 1001 };
  enum { kAborted = -2 };
  explicit CVexTimerRunDlg(CWnd* pParent = nullptr);

  // Setting the total also starts the count of shots taken again.
  void SetShotCount(UINT total) {
    m_nTotalShots = total;
    m_nShots = 0;
  }
  void SetInterval(int hours, int minutes, int seconds) {
    m_nHours = hours;
    m_nMinutes = minutes;
    m_nSeconds = seconds;
  }
  void SetArmed(int armed) { m_bArmed = armed; }
  void SetDocument(CVexDoc* doc) { m_pDoc = doc; }
  void SetErrorControl(CVexErrorControl* errors) { m_pErrorControl = errors; }
  void SetCaptureSeconds(int seconds) { m_nCaptureSeconds = seconds; }
  UINT GetShotsTaken() const { return m_nShots; }

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnAbort();
  DECLARE_MESSAGE_MAP()

 private:
  void StopRun();
  void Finish();
  void FailShot();
  // True when the operator asked to stop (read under the lock).
  bool StopRequested();
  void SetStatus(UINT id);
  void ShowTimeLeft();

  int m_nHours = 0, m_nMinutes = 0, m_nSeconds = 0;
  UINT m_nTotalShots = 0;
  int m_nCaptureSeconds = 0;
  int m_bArmed = 0;
  CVexDoc* m_pDoc = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  int m_bStopRequested = 0;
  int m_bLiveWasRunning = 0;
  CTimeSpan m_interval;
  CTime m_start, m_nextDue;
  CCriticalSection m_lock;
  // Per run: shots taken, and 1 after a shot until the next waiting tick.
  UINT m_nShots = 0;
  int m_bJustShot = 0;
};
