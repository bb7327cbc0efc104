// CVexStageControl: the hidden imaging control a stage owns, and the ways every stage
// moves a picture between it and the image slots. A stage loads a slot before it works
// and stores the control's picture back afterwards, because the control's operations may
// put the picture under a new handle.
#pragma once
#include <windows.h>

#include <memory>

class CLead;
class CVexBufferControl;
class CVexDoc;
class CWnd;

class CVexStageControl {
 public:
  // Stands for the image slots' third bitmap, the newest live frame, where a slot goes.
  static constexpr SHORT kThirdBitmap = -2;

  CVexStageControl();
  ~CVexStageControl();
  CVexStageControl(const CVexStageControl&) = delete;
  CVexStageControl& operator=(const CVexStageControl&) = delete;

  // Creates the control as the hidden child 0 of `stage`; non-zero on success.
  BOOL Create(const RECT* rect, CWnd* stage);
  // Null until Create succeeded: a stage without a control touches no picture.
  CLead* Lead() const;

  // Takes the slot's picture into the control. `flagged` sets the control's flag 272
  // around the change, as the stages that change the picture do.
  void Load(CVexBufferControl* buffers, SHORT slot, bool flagged = true);
  void Store(CVexBufferControl* buffers, SHORT slot);
  // After a load, for a stage that writes the whole picture and stores it back on every
  // path: the slot lends its hold to the control, so a picture held by nobody else is
  // written in place rather than copied first. Store takes it back.
  void TakeForChange(CVexBufferControl* buffers, SHORT slot);
  // A failed step after a load: the slot names the control's picture again and the
  // document's error latch holds (type, detail, 1). Answers 0, the stage's result.
  int StoreAndFail(CVexBufferControl* buffers, SHORT slot, CVexDoc* doc, LONG type, LONG detail);
  // The picture, as the shooting area of a still says (turned with the picture), and
  // its size shown in the document.
  void CropToShootArea(CVexDoc* doc);

 private:
  std::unique_ptr<CLead> m_pLead;
};
