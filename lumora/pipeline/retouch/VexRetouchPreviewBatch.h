// The bracket round a batch of preview changes: the wait cursor on and the preview's
// automatic repaint off; on every way out, repainted once, live again, cursor back.
#pragma once
#include "pipeline/retouch/VexRetouchDlg.h"

class CVexRetouchDlg::PreviewBatch {
 public:
  explicit PreviewBatch(CVexRetouchDlg* dialog) : m_pDialog(dialog) {
    m_pDialog->BeginWaitCursor();
    if (m_pDialog->m_preview.m_hWnd) m_pDialog->m_preview.SetAutoRepaint(FALSE);
  }
  ~PreviewBatch() {
    try {
      if (m_pDialog->m_preview.m_hWnd) {
        m_pDialog->m_preview.ForceRepaint();
        m_pDialog->m_preview.SetAutoRepaint(TRUE);
      }
    } catch (...) {
      // A control that can no longer be called has nothing left to show.
    }
    m_pDialog->EndWaitCursor();
  }
  PreviewBatch(const PreviewBatch&) = delete;
  PreviewBatch& operator=(const PreviewBatch&) = delete;

 private:
  CVexRetouchDlg* m_pDialog;
};
