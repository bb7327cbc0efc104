// CVexThumbnailView: the strip of five thumbnails under the large display. It shows one
// page of the document's folder list (slot 0 the rightmost, holding the page's first
// entry), pages through it, ticks pictures for the later commands, opens a picture on a
// double click and shows a picture's file information. Each slot is an imaging control
// of its own; the flow control hands it the thumbnail pictures it loaded into image
// slots 3 to 7.
#pragma once
#include <afxdisp.h>
#include <afxext.h>
#include <afxwin.h>

#include <array>
#include <memory>

#include "controls/SECBitmapButton.h"
#include "pipeline/VexStageLinks.h"

class CLead;
class CVexBufferControl;
class CVexDoc;
class CVexErrorControl;

class CVexThumbnailView : public CFormView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexThumbnailView)
 public:
  enum { IDD = 130, kSlots = 5, kFirstControl = 1424 };
  enum { kNextPage = 1117, kNextLine = 1118, kPrevPage = 1119, kPrevLine = 1120 };
  CVexThumbnailView();
  ~CVexThumbnailView() override;

  // Creates the five thumbnail controls and takes the document; on a failure the view
  // marks itself inert.
  int CreateThumbnailControls();
  int SetBufferControl(CVexBufferControl* buffers) override {
    m_pBufferControl = buffers;
    return 1;
  }
  void SetErrorControl(CVexErrorControl* errors) override { m_pErrorControl = errors; }
  // The update broadcast's thumbnail bits (0x20000 ... 0x100000), one at a time.
  virtual void OnSettingsChanged(LONG flag);
  // Shows image slot `bufferIndex` in thumbnail slot `index` (0-4); 0 when inert.
  virtual int ShowThumbnail(SHORT index, SHORT bufferIndex);
  int AreControlsValid() const { return m_bControlsValid; }
  CLead* GetThumbnailControl(int slot) const;
  int GetCount() const { return m_nCount; }
  int GetTop() const { return m_nTop; }
  int GetAnchor() const { return m_nAnchor; }

  // The list again from the folder (rebuild 1) or a rescan (0).
  void ReloadList(int rebuild);
  // Fills the five slots from the page; 0 when a thumbnail has vanished or failed.
  int Refresh();
  void UpdateStatus();
  // The picture a thumbnail stands for: its full path, or its name alone; empty when
  // the thumbnail's letter names no format or no such picture exists.
  static CString ResolveImagePath(const CString& thumbnail, BOOL fullPath);
  // The title (field 36) stored in a thumbnail file, read through a slot's control.
  CString ReadComment(int slot, const CString& path);
  // The text between the second "[" and the "]" after it.
  static CString ExtractBracketed(const CString& comment);
  // A title cut to the last 15 bytes that hold whole characters.
  static CString CutTitle(const CString& name);
  // Slots first..4 are filled; the rest are blank.
  void GetSlotRange(int& first, int& last) const;

  // Handlers of the controls' events (public: the event map and tests call them).
  void OnMouseDownThumbnail(UINT id, short button, short shift, LONG x, LONG y);
  void OnDblClickThumbnail(UINT id);

 protected:
  void OnInitialUpdate() override;
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnPageButton(UINT id);
  afx_msg void OnSelectAll();
  afx_msg void OnUnselectAll();
  afx_msg void OnJumpToTop();
  afx_msg void OnJumpToEnd();
  afx_msg void OnProperty();
  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

 private:
  void SetHighlight(int slot, BOOL on);
  void CenterPicture(CLead* lead);
  void UpdatePageButtons();
  void UpdateHighlights();
  void TickAll(int tick);
  void Jump(int toEnd);
  void ClearLabels();
  // An empty slot: no picture, no highlight.
  void Blank(int slot);
  // The thumbnail shown in a slot, or empty for a blank slot.
  CString SlotPath(int slot) const;

  CVexBufferControl* m_pBufferControl = nullptr;
  int m_bControlsValid = 1;
  int m_nAnchor = -1;
  int m_nTop = 0;
  int m_nSlots = kSlots;
  CVexDoc* m_pDoc = nullptr;
  std::array<std::unique_ptr<CLead>, kSlots> m_pLead;
  CString m_strFolder;
  int m_nCount = -1;
  std::array<SECBitmapButton, 4> m_btnPage;
  CVexErrorControl* m_pErrorControl = nullptr;
};
