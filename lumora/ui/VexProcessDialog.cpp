#include "VexProcessDialog.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "control/VexDoc.h"

namespace {
constexpr UINT kTitleShot = 62468, kTitleBalance = 62469;
constexpr UINT kTextShot = 62459, kTextBuild = 62460, kTextBalance = 62467;
constexpr UINT kTextStopping = 62521, kStopCaption = 62458;
constexpr int kMapSize = 256;

// The exposure half of the bar moves slowly at first and quickly near its end.
std::array<SHORT, kMapSize> BuildMap() {
  std::array<SHORT, kMapSize> map{};
  for (int i = 0; i < kMapSize; ++i) {
    const double v = i <= 100 ? i * 90.0 / 100.0 : i * 10.0 / 156.0 + 83.6;
    map[static_cast<size_t>(i)] = static_cast<SHORT>(std::floor(v + 0.5));
  }
  return map;
}

CString Load(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}
}  // namespace

BEGIN_MESSAGE_MAP(CVexProcessDialog, CDialog)
ON_BN_CLICKED(CVexProcessDialog::kStop, OnStop)
ON_WM_MOUSEMOVE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

CVexProcessDialog::CVexProcessDialog() : CDialog(IDD) {}

SHORT CVexProcessDialog::MapEntry(int a) {
  static const std::array<SHORT, kMapSize> map = BuildMap();
  return map[static_cast<size_t>(std::clamp(a, 0, kMapSize - 1))];
}

CVexProcessDialog::Reading CVexProcessDialog::Compute(SHORT mode, int a, int b, int c) {
  // The progress words come from the camera library; a word outside its range reads
  // as the nearest end, never past the table.
  a = std::clamp(a, 0, kMapSize - 1);
  switch (mode) {
    case 0:
      return {std::min(c, 100), std::min(c, 100), kTextShot};
    case 1:
      if (c == 0) return {std::min(MapEntry(a) / 2, 50), std::min<int>(MapEntry(a), 100), kTextShot};
      return {std::min(c / 2 + 50, 100), std::min(c, 100), kTextBuild};
    case 2:
    case 3:
      if (c == 0) {
        const int p = (b / 11) * 5, q = (b / 11) * 10;
        return {p >= 45 ? 50 : p, q >= 90 ? 100 : q, kTextShot};
      }
      return {std::min(c / 2 + 50, 100), std::min(c, 100), kTextBuild};
    case 4: {
      const int p = a * 10 >= 90 ? 100 : a * 10;
      return {p, p, kTextBalance};
    }
    default:
      return {0, 0, 0};
  }
}

void CVexProcessDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kStop, m_btnStop);
  DDX_Control(pDX, kBar, m_bar);
  DDX_Control(pDX, kStatus, m_status);
}

BOOL CVexProcessDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  if (CWnd* stop = GetDlgItem(kStop)) {
    stop->GetWindowRect(&m_rcStop);
    ScreenToClient(&m_rcStop);
  }
  SetIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(128) : nullptr, TRUE);
  return TRUE;
}

void CVexProcessDialog::Begin(SHORT mode) {
  m_bStopping = 0;
  m_nMode = mode;
  if (!GetSafeHwnd()) return;
  m_bar.SetRange32(0, 100);
  m_bar.SetPos(0);
  CString status;
  if (mode == 4) {
    SetWindowText(Load(kTitleBalance));
    status.Format(Load(kTextBalance), 0);
  } else {
    SetWindowText(Load(kTitleShot));
    status.Format(Load(kTextShot), 0);
  }
  m_status.SetWindowText(status);
  m_btnStop.SetWindowText(Load(kStopCaption));
  m_a = m_b = m_c = 0;
  if (m_pDoc) m_pDoc->SetProgressValues(0, 0, 0);
}

int CVexProcessDialog::UpdateProgress() {
  if (m_bStopping) {
    if (GetSafeHwnd()) {
      m_status.SetWindowText(Load(kTextStopping));
      ::ReleaseCapture();
      SetCapture();
    }
    return 1;
  }
  if (m_pDoc) {
    const CVexDoc::ProgressValues v = m_pDoc->GetProgressValues();
    m_a = v.value[0];
    m_b = v.value[1];
    m_c = v.value[2];
  }
  const Reading r = Compute(m_nMode, m_a, m_b, m_c);
  if (!GetSafeHwnd()) return 0;
  m_bar.SetPos(r.position);
  CString status;
  if (r.text) status.Format(Load(r.text), r.percent);
  m_status.SetWindowText(status);
  RedrawWindow();
  return 0;
}

void CVexProcessDialog::OnStop() {
  m_bStopping = 1;
  ::ReleaseCapture();
  SetCapture();
}

// The window has no close box and holds the keyboard while a capture runs: a close asked
// of it (Alt+F4) is the program's, as the desktop's close is.
void CVexProcessDialog::OnClose() {
  if (CWnd* owner = GetOwner()) owner->PostMessage(WM_CLOSE);
}

void CVexProcessDialog::TakeMouse() {
  if (!GetSafeHwnd()) return;
  SetFocus();
  SetCapture();
}

void CVexProcessDialog::ReleaseMouse(CWnd* next) {
  ::ReleaseCapture();
  if (next && next->GetSafeHwnd()) next->SetFocus();
}

void CVexProcessDialog::OnMouseMove(UINT nFlags, CPoint point) {
  // The bounds of the STOP rectangle count as inside.
  const bool onStop = point.x >= m_rcStop.left && point.x <= m_rcStop.right && point.y >= m_rcStop.top &&
                      point.y <= m_rcStop.bottom;
  if (m_bStopping || !onStop) {
    ::ReleaseCapture();
    SetCapture();
  } else {
    m_btnStop.SetCapture();
  }
  RedrawWindow();
  CDialog::OnMouseMove(nFlags, point);
}
