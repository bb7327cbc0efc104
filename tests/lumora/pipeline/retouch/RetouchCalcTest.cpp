// The retouch operations on the real imaging control: ranges, the values the control is
// given, the plane curves, and the statuses of a failing control.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../StageRig.h"
#include "ControlSpy.h"
#include "Faults.h"
#include "binding/CLead.h"
#include "imaging/ImageStore.h"
#include "pipeline/retouch/VexRetouchCalc.h"

namespace {

using Paint = std::function<void(int x, int y, BYTE* bgr)>;

class RetouchCalc : public ::testing::Test {
 protected:
  void SetUp() override {
    AfxEnableControlContainer();
    controlspy::Install();
    ASSERT_TRUE(frame_.CreateEx(0, nullptr, "frame", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    ASSERT_TRUE(lead_.CreateControl("", 0, CRect(0, 0, 64, 64), &frame_, 0));
  }
  void TearDown() override {
    plat::faults::DisarmAll();
    lead_.DestroyWindow();
    frame_.DestroyWindow();
    controlspy::Remove();
  }

  // The control holds a w x h picture painted by `paint` (B, G, R a pixel).
  void Hold(int w, int h, const Paint& paint) {
    stagerig::PaintPicture(lead_, w, h, paint);
    controlspy::Clear();
  }
  // A ramp: pixel x has all three channels x.
  void HoldRamp() {
    Hold(256, 1, [](int x, int, BYTE* p) { p[0] = p[1] = p[2] = BYTE(x); });
  }
  // The held picture's pixels, rows top first, B, G, R.
  std::vector<BYTE> Pixels() {
    auto dib = plat::imaging::ImageStore::Instance().Find(DWORD(lead_.GetBitmap()));
    std::vector<BYTE> out;
    if (!dib) return out;
    for (int y = 0; y < dib->Height(); ++y) out.insert(out.end(), dib->Row(y), dib->Row(y) + dib->Width() * 3);
    return out;
  }
  std::vector<std::string> Calls(DISPID id) { return controlspy::CallsTo(id, lead_.m_hWnd); }

  CWnd frame_;
  CLead lead_;
  CVexRetouchCalc calc_;
};

using Op = std::function<int(CVexRetouchCalc&, CLead*)>;

// Each value operation with a value at and beyond its range: what it answers and what
// the control is given (nothing for a refusal, which leaves the picture as it was).
TEST_F(RetouchCalc, ValuesAtAndBeyondTheRangesReachTheControlOrAreRefused) {
  const struct {
    const char* name;
    Op op;
    int result;
    DISPID id;
    std::string given;  // empty: the control is not called
  } cases[] = {
      {"turn 360", [](auto& c, CLead* l) { return c.Rotate(l, 360, 1, 0xFFFFFF); }, 0, 305, "I4:36000 I2:1 I4:16777215"},
      {"turn -360", [](auto& c, CLead* l) { return c.Rotate(l, -360, 1, 0); }, 0, 305, "I4:-36000 I2:1 I4:0"},
      {"turn 361", [](auto& c, CLead* l) { return c.Rotate(l, 361, 1, 0); }, -1, 305, ""},
      {"turn -361", [](auto& c, CLead* l) { return c.Rotate(l, -361, 1, 0); }, -1, 305, ""},
      {"brightness 1000", [](auto& c, CLead* l) { return c.Brightness(l, 1000); }, 0, 290, "I2:1000"},
      {"brightness 1001", [](auto& c, CLead* l) { return c.Brightness(l, 1001); }, -1, 290, ""},
      {"brightness -1001", [](auto& c, CLead* l) { return c.Brightness(l, -1001); }, -1, 290, ""},
      {"contrast -1000", [](auto& c, CLead* l) { return c.Contrast(l, -1000); }, 0, 284, "I2:-1000"},
      {"contrast 1001", [](auto& c, CLead* l) { return c.Contrast(l, 1001); }, -1, 284, ""},
      {"sharpen -1001", [](auto& c, CLead* l) { return c.Sharpen(l, -1001); }, -1, 294, ""},
      {"saturation 1001", [](auto& c, CLead* l) { return c.Saturation(l, 1001); }, -1, 295, ""},
      {"hue 200", [](auto& c, CLead* l) { return c.Hue(l, 200); }, 0, 289, "I2:200"},
      {"gamma 300", [](auto& c, CLead* l) { return c.Gamma(l, 300); }, 0, 312, "I2:300"},
      {"preview gamma 4", [](auto& c, CLead* l) { return c.PreviewGamma(l, 4); }, -1, 173, ""},
      {"preview gamma 5", [](auto& c, CLead* l) { return c.PreviewGamma(l, 5); }, 0, 173, "I2:5"},
      {"preview gamma 2000", [](auto& c, CLead* l) { return c.PreviewGamma(l, 2000); }, 0, 173, "I2:2000"},
      {"preview gamma 2001", [](auto& c, CLead* l) { return c.PreviewGamma(l, 2001); }, -1, 173, ""},
      {"preview brightness -1000", [](auto& c, CLead* l) { return c.PreviewBrightness(l, -1000); }, 0, 174, "I2:-1000"},
      {"preview contrast 1001", [](auto& c, CLead* l) { return c.PreviewContrast(l, 1001); }, -1, 172, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Hold(8, 8, [](int x, int y, BYTE* p) { p[0] = BYTE(x * 20), p[1] = BYTE(y * 20), p[2] = 90; });
    const std::vector<BYTE> before = Pixels();
    EXPECT_EQ(c.op(calc_, &lead_), c.result);
    const auto given = Calls(c.id);
    if (c.given.empty()) {
      EXPECT_TRUE(given.empty());
      EXPECT_EQ(Pixels(), before);
    } else {
      EXPECT_EQ(given, std::vector<std::string>{c.given});
    }
  }
}

TEST_F(RetouchCalc, NoControlIsRefused) {
  const Op ops[] = {
      [](auto& c, CLead* l) { return c.Rotate(l, 90, 1, 0); },
      [](auto& c, CLead* l) { return c.FlipHorizontal(l); },
      [](auto& c, CLead* l) { return c.Grayscale(l, 8); },
      [](auto& c, CLead* l) { return c.Hue(l, 10); },
      [](auto& c, CLead* l) { return c.SetViewRect(l, 0, 0, 1, 1); },
      [](auto& c, CLead* l) { return c.OffsetPlane(l, 2, 5); },
      [](auto& c, CLead* l) { return c.WhiteBalance(l, 1, 2, 3); },
      [](auto& c, CLead* l) { return c.BlackBalance(l, 1, 2, 3); },
      [](auto& c, CLead* l) { return c.CurveBalance(l, 1, 2, 3); },
      [](auto& c, CLead* l) { return c.Crop(l, 0, 0, 1, 1); },
      [](auto& c, CLead* l) { return c.Resize(l, 0.5f); },
  };
  for (const Op& op : ops) EXPECT_EQ(op(calc_, nullptr), -1);
}

// Neutral balances split and merge the picture without a plane passing the table.
TEST_F(RetouchCalc, NeutralBalancesLeaveThePixelsAsTheyWere) {
  const struct {
    const char* name;
    Op op;
  } cases[] = {
      {"white at 255", [](auto& c, CLead* l) { return c.WhiteBalance(l, 255, 255, 255); }},
      {"black at 0", [](auto& c, CLead* l) { return c.BlackBalance(l, 0, 0, 0); }},
      {"curves at 0", [](auto& c, CLead* l) { return c.CurveBalance(l, 0, 0, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Hold(16, 4, [](int x, int y, BYTE* p) { p[0] = BYTE(x * 13), p[1] = BYTE(y * 50 + 3), p[2] = BYTE(255 - x * 9); });
    const std::vector<BYTE> before = Pixels();
    EXPECT_EQ(c.op(calc_, &lead_), 0);
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(Calls(331).size(), 1u);
    EXPECT_EQ(Calls(332).size(), 1u);
    EXPECT_TRUE(Calls(327).empty());
    for (short slot = 0; slot < 3; ++slot) EXPECT_EQ(lead_.GetImageSlot(slot), 0);
  }
}

// Slot 2 of the colour split is red, 1 green, 0 blue; a plane's own level decides it.
TEST_F(RetouchCalc, ExtremeLevelsFillTheirPlane) {
  const struct {
    const char* name;
    Op op;
    BYTE b, g, r;
  } cases[] = {
      {"white 0 on red", [](auto& c, CLead* l) { return c.WhiteBalance(l, 0, 255, 255); }, 40, 120, 255},
      {"white 0 on blue", [](auto& c, CLead* l) { return c.WhiteBalance(l, 255, 255, 0); }, 255, 120, 200},
      {"black 255 on green", [](auto& c, CLead* l) { return c.BlackBalance(l, 0, 255, 0); }, 40, 0, 200},
      {"black 255 on all", [](auto& c, CLead* l) { return c.BlackBalance(l, 255, 255, 255); }, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Hold(4, 4, [](int, int, BYTE* p) { p[0] = 40, p[1] = 120, p[2] = 200; });
    EXPECT_EQ(c.op(calc_, &lead_), 0);
    const std::vector<BYTE> px = Pixels();
    ASSERT_EQ(px.size(), 48u);
    for (size_t i = 0; i < px.size(); i += 3) {
      EXPECT_EQ(px[i], c.b);
      EXPECT_EQ(px[i + 1], c.g);
      EXPECT_EQ(px[i + 2], c.r);
    }
  }
}

// The curves, and the balance tables at every level, against their formulas on a ramp.
TEST_F(RetouchCalc, CurvesAndBalanceTablesFollowTheirFormulas) {
  using Formula = std::function<int(int i)>;
  const struct {
    const char* name;
    Op op;
    Formula blue, green, red;
  } cases[] = {
      {"curve +100", [](auto& c, CLead* l) { return c.CurveBalance(l, 100, 100, 100); },
       [](int i) { return int(2 * i - i * i / 255.0); }, [](int i) { return int(2 * i - i * i / 255.0); },
       [](int i) { return int(2 * i - i * i / 255.0); }},
      {"curve -100", [](auto& c, CLead* l) { return c.CurveBalance(l, -100, -100, -100); },
       [](int i) { return int(i * i / 255.0); }, [](int i) { return int(i * i / 255.0); },
       [](int i) { return int(i * i / 255.0); }},
      {"curve on red only", [](auto& c, CLead* l) { return c.CurveBalance(l, 50, 0, 0); }, [](int i) { return i; },
       [](int i) { return i; }, [](int i) { return int(i + (i - i * i / 255.0) * 0.5); }},
      {"white 200/180/150", [](auto& c, CLead* l) { return c.WhiteBalance(l, 200, 180, 150); },
       [](int i) { return std::min(255, i * 255 / 150); }, [](int i) { return std::min(255, i * 255 / 180); },
       [](int i) { return std::min(255, i * 255 / 200); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HoldRamp();
    EXPECT_EQ(c.op(calc_, &lead_), 0);
    const std::vector<BYTE> px = Pixels();
    ASSERT_EQ(px.size(), 768u);
    for (int i = 0; i < 256; ++i) {
      EXPECT_EQ(px[size_t(i) * 3], c.blue(i)) << "level " << i;
      EXPECT_EQ(px[size_t(i) * 3 + 1], c.green(i)) << "level " << i;
      EXPECT_EQ(px[size_t(i) * 3 + 2], c.red(i)) << "level " << i;
    }
  }
}

// Every white and black level, the edge ones included, gives its table without a fault:
// the level itself goes to 255 (white) or 0 (black).
TEST_F(RetouchCalc, EveryBalanceLevelMapsItselfToTheEnd) {
  for (int level = 0; level < 256; level += 1) {
    SCOPED_TRACE(level);
    HoldRamp();
    EXPECT_EQ(calc_.WhiteBalance(&lead_, level, 255, 255), 0);
    std::vector<BYTE> px = Pixels();
    EXPECT_EQ(px[size_t(level) * 3 + 2], 255);
    EXPECT_EQ(px[255 * 3 + 2], 255);
    HoldRamp();
    EXPECT_EQ(calc_.BlackBalance(&lead_, 255, 255, level), 0);
    px = Pixels();
    EXPECT_EQ(px[size_t(level) * 3], 0);
    if (level < 255) {
      EXPECT_GE(px[255 * 3], 254);  // the top stays at (about) the top
    }
    if (level > 0) {
      EXPECT_EQ(px[0], 0);
    }
  }
}

// The intensity plane of the intensity split moves all three channels by the offset.
TEST_F(RetouchCalc, IntensityOffsetMovesEveryChannel) {
  for (int offset : {10, -20}) {
    SCOPED_TRACE(offset);
    Hold(12, 6, [](int x, int y, BYTE* p) { p[0] = BYTE(60 + x * 5), p[1] = BYTE(80 + y * 7), p[2] = BYTE(100 + x + y); });
    const std::vector<BYTE> before = Pixels();
    EXPECT_EQ(calc_.OffsetPlane(&lead_, 2, offset), 0);
    const std::vector<BYTE> after = Pixels();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) EXPECT_EQ(int(after[i]), int(before[i]) + offset) << i;
    EXPECT_EQ(Calls(331), std::vector<std::string>{"I4:2"});
    EXPECT_EQ(Calls(332), std::vector<std::string>{"I4:2"});
  }
}

// A failing split, table or merge is answered with its status; the balances that look at
// no status answer 0 all the same.
TEST_F(RetouchCalc, AFailingPlaneStepAnswersItsStatus) {
  const struct {
    const char* name;
    const char* point;
    Op op;
    int result;
  } cases[] = {
      {"offset split", "imaging.SplitColorPlanes", [](auto& c, CLead* l) { return c.OffsetPlane(l, 2, 5); }, 20001},
      {"offset table", "imaging.ApplyLookupTable", [](auto& c, CLead* l) { return c.OffsetPlane(l, 2, 5); }, 20001},
      {"offset merge", "imaging.MergeColorPlanes", [](auto& c, CLead* l) { return c.OffsetPlane(l, 2, 5); }, 20001},
      {"curve split", "imaging.SplitColorPlanes", [](auto& c, CLead* l) { return c.CurveBalance(l, 9, 9, 9); }, 20001},
      {"curve table", "imaging.ApplyLookupTable", [](auto& c, CLead* l) { return c.CurveBalance(l, 9, 9, 9); }, 20001},
      {"curve merge", "imaging.MergeColorPlanes", [](auto& c, CLead* l) { return c.CurveBalance(l, 9, 9, 9); }, 20001},
      {"white table", "imaging.ApplyLookupTable", [](auto& c, CLead* l) { return c.WhiteBalance(l, 9, 9, 9); }, 0},
      {"black merge", "imaging.MergeColorPlanes", [](auto& c, CLead* l) { return c.BlackBalance(l, 9, 9, 9); }, 0},
      {"turn", "imaging.Rotate", [](auto& c, CLead* l) { return c.Rotate(l, 90, 1, 0); }, 20001},
      {"crop", "imaging.CropImage", [](auto& c, CLead* l) { return c.Crop(l, 0, 0, 2, 2); }, 0},
      {"resize", "imaging.ResizeImage", [](auto& c, CLead* l) { return c.Resize(l, 0.5f); }, 20001},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Hold(8, 8, [](int x, int, BYTE* p) { p[0] = p[1] = p[2] = BYTE(x * 30); });
    plat::faults::Scope fault(c.point, 20001, 0, 1);
    EXPECT_EQ(c.op(calc_, &lead_), c.result);
  }
}

TEST_F(RetouchCalc, CropAndResizeChangeTheSize) {
  Hold(40, 30, [](int, int, BYTE* p) { p[0] = p[1] = p[2] = 77; });
  EXPECT_EQ(calc_.Resize(&lead_, 0.5f), 0);
  EXPECT_EQ(lead_.GetImageWidth(), 20.0f);
  EXPECT_EQ(lead_.GetImageHeight(), 15.0f);
  EXPECT_EQ(Calls(319), std::vector<std::string>{"R4:20 R4:15 I2:2"});
  EXPECT_EQ(calc_.Crop(&lead_, 2, 3, 10, 5), 0);
  EXPECT_EQ(lead_.GetImageWidth(), 10.0f);
  EXPECT_EQ(lead_.GetImageHeight(), 5.0f);
}

}  // namespace
