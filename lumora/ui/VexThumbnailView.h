// CVexThumbnailView: the strip of five thumbnails under the large display. Each slot is
// an imaging control of its own (slot 0 the rightmost); the flow control hands it the
// thumbnail pictures it loaded into image slots 3 to 7.
#pragma once
#include <afxext.h>
#include <afxwin.h>

#include <array>
#include <memory>

class CLead;
class CVexBufferControl;
class CVexDoc;
class CVexErrorControl;

class CVexThumbnailView : public CFormView {
  DECLARE_DYNCREATE(CVexThumbnailView)
 public:
  enum { IDD = 130, kSlots = 5, kFirstControl = 1424 };
  CVexThumbnailView();
  ~CVexThumbnailView() override;

  // Creates the five thumbnail controls and takes the document; on a failure the view
  // marks itself inert.
  int CreateThumbnailControls();
  int SetBufferControl(CVexBufferControl* buffers) {
    m_pBufferControl = buffers;
    return 1;
  }
  void SetErrorControl(CVexErrorControl* errors) { m_pErrorControl = errors; }
  // The update broadcast's thumbnail bits (0x20000 ... 0x100000).
  virtual void OnSettingsChanged(LONG flag);
  // Shows image slot `bufferIndex` in thumbnail slot `index` (0-4); 0 when inert.
  virtual int ShowThumbnail(SHORT index, SHORT bufferIndex);
  int AreControlsValid() const { return m_bControlsValid; }
  CLead* GetThumbnailControl(int slot) const;

 private:
  CVexBufferControl* m_pBufferControl = nullptr;
  int m_bControlsValid = 1;
  CVexDoc* m_pDoc = nullptr;
  std::array<std::unique_ptr<CLead>, kSlots> m_pLead;
  CVexErrorControl* m_pErrorControl = nullptr;
};
