#include "VexFullScreenOutput.h"

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "ui/MainFrame.h"

CVexFullScreenOutput::CVexFullScreenOutput(CWnd* pParent) : CDialog(IDD, pParent) {}

CVexFullScreenOutput::~CVexFullScreenOutput() {
  if (m_pLead && m_pLead->m_hWnd) m_pLead->DestroyWindow();
}

CLead* CVexFullScreenOutput::GetImagingControl() const {
  return m_pLead && m_pLead->m_hWnd ? m_pLead.get() : nullptr;
}

void CVexFullScreenOutput::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kPictureFrame, m_pictureFrame);
}

BOOL CVexFullScreenOutput::OnInitDialog() {
  CDialog::OnInitDialog();
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  MoveWindow(0, 0, width, height);
  if (m_pictureFrame.m_hWnd) m_pictureFrame.MoveWindow(0, 0, width, height);
  return TRUE;
}

BOOL CVexFullScreenOutput::CreateImagingControl() {
  if (m_pLead) {
    if (m_pLead->m_hWnd) m_pLead->DestroyWindow();
    m_pLead.reset();
  }
  if (!m_pictureFrame.m_hWnd) return FALSE;
  m_pLead = std::make_unique<CLead>();
  const BOOL created = m_pLead->CreateControl("Test", 0, CRect(0, 0, 0, 0), &m_pictureFrame, 0);
  if (created != TRUE) return created;
  CLead& lead = *m_pLead;
  lead.SetAppearance(0);
  lead.SetBorderStyle(1);
  lead.SetBackColor(RGB(0, 0, 0));
  lead.SetMode6(1);
  lead.SetMode19(0);
  lead.SetAutoRepaint(FALSE);
  lead.SetAutoSize(FALSE);
  lead.SetFlag57(TRUE);
  lead.SetFlag5(FALSE);
  lead.SetPaintSizeMode(3);
  lead.SetFlag275(FALSE);
  lead.SetFlag20(FALSE);
  lead.ShowWindow(SW_SHOW);
  return created;
}

int CVexFullScreenOutput::ShowImage(SHORT slot) {
  CLead* lead = GetImagingControl();
  if (!lead) return 0;
  lead->SetValue146(0);
  lead->SetFlag272(TRUE);
  if (m_pBuffers) lead->SetBitmap(slot == -1 ? m_pBuffers->GetSecondBitmap() : m_pBuffers->GetBuffer(slot));
  CRect window;
  GetWindowRect(&window);
  if (static_cast<int>(lead->GetImageWidth()) == window.Width() &&
      static_cast<int>(lead->GetImageHeight()) == window.Height())
    lead->SetPaintZoom(100.0f);
  else
    lead->SetPaintSizeMode(3);
  lead->ForceRepaint();
  // The picture goes back to whoever held it: the control's operations may rename it.
  if (m_pBuffers) {
    if (slot == -1) m_pBuffers->SetSecondBitmap(lead->GetBitmap());
    else m_pBuffers->SetBuffer(slot, lead->GetBitmap());
  }
  return 1;
}

int CVexFullScreenOutput::FitControl(int width, int height) {
  CLead* lead = GetImagingControl();
  if (width <= 0 || height <= 0 || !lead) return 0;
  CRect window;
  GetWindowRect(&window);
  const int W = window.Width(), H = window.Height();
  if (W <= 0 || H <= 0) return 0;
  if (W < width || H < height) {
    const float rw = static_cast<float>(W) / width, rh = static_cast<float>(H) / height;
    if (rw > rh) {
      width = static_cast<int>(width * rh);
      height = H;
    } else {
      height = static_cast<int>(height * rw);
      width = W;
    }
  }
  lead->MoveWindow((W - width) / 2, (H - height) / 2, width, height);
  return 1;
}

BOOL CVexFullScreenOutput::PreTranslateMessage(MSG* pMsg) {
  bool closes = pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_RBUTTONDOWN;
  if (pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN: case VK_TAB: case VK_ESCAPE: case VK_SPACE: case VK_END: closes = true; break;
      default: break;
    }
  }
  if (closes && m_hWnd && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    Leave();
    return TRUE;
  }
  return CDialog::PreTranslateMessage(pMsg);
}

void CVexFullScreenOutput::Leave() {
  if (CMainFrame* frame = CMainFrame::Get()) frame->ExitFullScreen();
  if (CLead* lead = GetImagingControl()) lead->SetValue146(0);
  ::ReleaseCapture();
}

// Enter and Esc leave full screen; the main frame hides the window, it is not ended.
void CVexFullScreenOutput::OnOK() {
  if (CMainFrame* frame = CMainFrame::Get()) frame->ExitFullScreen();
  ::ReleaseCapture();
  if (CLead* lead = GetImagingControl()) lead->SetValue146(0);
}

void CVexFullScreenOutput::OnCancel() { OnOK(); }
