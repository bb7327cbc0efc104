// CVexBufferControl: the numbered image slots through which pipeline stages hand
// pictures to each other, and the three hidden imaging controls the slots' pictures
// are made on. A slot holds its picture: the handle stays valid while the slot has it.
#pragma once
#include <afxwin.h>

#include <array>
#include <memory>
#include <vector>

#include "LumoraResource.h"
#include "imaging/ImageHolder.h"
#include "pipeline/VexStageLinks.h"

class CLead;
class CVexDoc;
class CVexErrorControl;

class CVexBufferControl : public CView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexBufferControl)
 public:
  enum : SHORT { kSlots = 8, kBadSlot = -998, kNotCreated = -999 };
  enum { kWindowId = IDW_BUFFER_CONTROL };
  CVexBufferControl();
  ~CVexBufferControl() override;

  BOOL CreateImageControls(const RECT& rect);
  void SetErrorControl(CVexErrorControl* errors) override { m_pErrorControl = errors; }
  SHORT CreateBuffer(SHORT slot, SHORT width, SHORT height, int turned);
  SHORT SetBuffer(SHORT slot, LONG handle);
  // The slot keeps naming its picture but lets go of its hold, for a stage that holds
  // the picture and stores it back (SetBuffer holds again).
  SHORT LendBuffer(SHORT slot);
  LONG GetBuffer(SHORT slot) const;
  SHORT GetShareCount(SHORT slot) const;
  SHORT AddRef(SHORT slot);
  SHORT Release(SHORT slot);
  SHORT CopySlot(SHORT to, SHORT from);
  SHORT SwapSlots(SHORT a, SHORT b);

  SHORT AllocRawBuffer(SHORT slot, SHORT width, SHORT height, int turned);
  SHORT SetRawBuffer(SHORT slot, const BITMAP& description);
  const BITMAP& GetRawBuffer() const { return m_raw; }

  SHORT SetSecondBitmap(LONG handle);
  LONG GetSecondBitmap();
  SHORT SetThirdBitmap(LONG handle);
  LONG GetThirdBitmap();
  SHORT CreateThirdBitmap(SHORT width, SHORT height, int turned);

  CLead* GetMainControl() { return m_main.get(); }
  CVexDoc* GetDocument() const;
  void OnDraw(CDC*) override {}

 private:
  struct ImageSlot {
    LONG handle = 0;
    SHORT count = 0;
    plat::imaging::ImageHolder hold;  // keeps the picture alive while the slot names it
  };
  static bool Valid(SHORT slot) { return slot >= 0 && slot < kSlots; }
  void ClearSlot(SHORT slot);
  static SHORT PutBitmap(CLead* lead, LONG handle);

  std::unique_ptr<CLead> m_main, m_second, m_third;
  CVexErrorControl* m_pErrorControl = nullptr;
  bool m_created[3] = {};
  std::array<ImageSlot, kSlots> m_slots;
  BITMAP m_raw{};
  std::vector<BYTE> m_rawPixels;
};
