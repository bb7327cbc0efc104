// What the file output burns into a saved picture from the still pane, as an outside
// decoder (libjpeg-turbo) reads it: nothing, the annotations, the scale bar or both, by the
// overlay code; the pane's still picture stays clean; and saves on a worker thread while
// the operator draws, drags and deletes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "AnnotationRig.h"
#include "FileOutputRig.h"

namespace {

using annotationrig::AnnotationRig;
using fileoutputrig::Decoded;

class DisplayBurn : public AnnotationRig {
 protected:
  void SetUp() override {
    AnnotationRig::SetUp();
    if (HasFatalFailure()) return;
    output = MakeStage<CVexFileOutput>(1131);
    ASSERT_NE(output, nullptr);
    // The live pane is on the left: the still one is the second display.
    output->SetDisplayOutput(1, paneL);
    output->SetDisplayOutput(0, pane);
    AnnShapeAttr shape;
    shape.penWidth = 8;
    shape.penColor = annotationrig::kPen;
    doc->SetAnnRectAttr(shape);
    tScaleInfo p;
    doc->GetSelectedScale(p);
    p.barLength = 600;
    p.thickness = 60;
    p.source = 2;
    p.lengthValue = 100;
    p.penColor = annotationrig::kPen;
    doc->SetSelectedScale(p);
    doc->m_bScaleOnCaptured = 1;
    doc->m_shot.fineMode = 0;
    doc->m_nShootExposureMode = 0;
    ShowPicture(1280, 1024);
    // A rectangle from (200, 200) to (400, 360); the bar 200 x 20 about (228, 912).
    Tool(3);
    Drag({100, 100}, {200, 180});
    ClosePalette();
    ASSERT_EQ(pane->GetAnnotationCount(), 1);
    ASSERT_EQ(pane->GetScalePosition(), CPoint(228, 912));
  }
  // A sample of a decoded picture: a grey picture is saved with one channel.
  static int Sample(const Decoded& d, int x, int y, int c) {
    return d.samples[(size_t(y) * d.width + x) * d.channels + (d.channels == 3 ? c : 0)];
  }
  static bool Red(const Decoded& d, int x, int y) {
    return Sample(d, x, y, 0) > 200 && Sample(d, x, y, 1) < 60 && Sample(d, x, y, 2) < 60;
  }
  static bool Grey(const Decoded& d, int x, int y) {
    for (int c = 0; c < 3; ++c)
      if (std::abs(Sample(d, x, y, c) - annotationrig::kGrey) > 6) return false;
    return true;
  }
  CVexFileOutput* output = nullptr;
};

TEST_F(DisplayBurn, TheOverlayCodeSaysWhatASavedPictureCarries) {
  const struct {
    SHORT code;
    bool annotations, bar;
  } rows[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.code);
    const CString path = CString("C:\\burn\\code") + CString(std::to_string(r.code).c_str()) + ".jpg";
    doc->SetSaveOverlayCode(r.code);
    doc->SetSavePath(path, 98, 24, 2);
    ASSERT_EQ(output->Output(2), 1);
    const Decoded d = fileoutputrig::DecodeJpeg(std::string(path));
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.width, 1280);
    ASSERT_EQ(d.height, 1024);
    EXPECT_EQ(Red(d, 200, 280), r.annotations) << "the rectangle's left edge";
    EXPECT_EQ(Red(d, 228, 912), r.bar) << "the bar's middle";
    EXPECT_TRUE(Grey(d, 700, 600)) << "the picture elsewhere";
    EXPECT_TRUE(Still().bgr == clean.bgr) << "the shown still keeps no drawing";
  }
}

// The save thread burns the objects while the operator keeps editing: each save sees them
// as they stand between two mouse events, never a freed one.
TEST_F(DisplayBurn, SavesOnAWorkerWhileThePaneIsEditedBurnWhatStands) {
  doc->SetSaveOverlayCode(3);
  doc->SetSavePath("C:\\burn\\busy.jpg", 98, 24, 2);
  std::atomic<int> saved{0}, failed{0};
  std::atomic<bool> done{false};
  std::thread saver([&] {
    for (int i = 0; i < 200; ++i) (output->Output(2) == 1 ? saved : failed)++;
    done = true;
  });
  int gestures = 0;
  while (!done || gestures < 3) {
    Tool(3);
    Drag({300, 300}, {360, 380}, 2);
    ClosePalette();
    Click({300, 340});
    Drag({300, 340}, {320, 350}, 2);
    mainFrame->SendMessage(WM_COMMAND, 32782);  // Delete
    Idle();
    ++gestures;
  }
  saver.join();
  EXPECT_EQ(saved, 200);
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(pane->GetAnnotationCount(), 1);
  ExpectCleanPlusObjects();
  const Decoded d = fileoutputrig::DecodeJpeg("C:\\burn\\busy.jpg");
  ASSERT_TRUE(d.ok);
  EXPECT_TRUE(Red(d, 200, 280));
}

}  // namespace
