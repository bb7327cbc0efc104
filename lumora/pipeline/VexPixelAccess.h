// CVexPixelAccess: how the per-pixel stages reach the bits of the picture their control
// holds: the control's image DC attached to a CDC, the BITMAP record of the bitmap it
// draws into, optionally the DC state saved; then everything given back in order.
// Open and Close answer 0 or the step that failed; whatever is still held when the
// object goes is given back.
#pragma once
#include <afxwin.h>

class CLead;

class CVexPixelAccess {
 public:
  enum Step { kOk = 0, kNoImageDC = 1, kAttach = 2, kBitmapRecord = 3, kSaveDC = 4, kRestoreDC = 5, kRelease = 6 };

  explicit CVexPixelAccess(CLead* lead) : m_pLead(lead) {}
  ~CVexPixelAccess();
  CVexPixelAccess(const CVexPixelAccess&) = delete;
  CVexPixelAccess& operator=(const CVexPixelAccess&) = delete;

  // Steps 1 to 3, and 4 when `saveState`; step 3 only when `readBitmap` (a caller that
  // only draws through the DC needs no bitmap record).
  int Open(bool saveState, bool readBitmap = true);
  // The restore (when saved), the detach and the release.
  int Close();

  const BITMAP& Bitmap() const { return m_bitmap; }
  BYTE* Bits() const { return static_cast<BYTE*>(m_bitmap.bmBits); }
  CDC& Dc() { return m_dc; }

 private:
  void GiveBack();

  CLead* m_pLead;
  CDC m_dc;
  BITMAP m_bitmap{};
  bool m_bHaveImageDC = false;
  bool m_bSaved = false;
};
