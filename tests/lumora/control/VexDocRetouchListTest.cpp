// The document's list of retouch edits: kinds, values in hundredths, the full list.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "control/VexDoc.h"

namespace {

class VexDocRetouchList : public ::testing::Test {
 protected:
  void SetUp() override { TheSettingSources() = VexSettingSources{}; }
  CVexDoc doc;
};

TEST_F(VexDocRetouchList, EachCallNotesItsKindAndValues) {
  const struct {
    std::function<int(CVexDoc&)> queue;
    int kind;
    std::vector<LONG> values;
  } cases[] = {
      {[](CVexDoc& d) { return d.QueueEnhance(-30, 20, 1.57f, 400); }, 1, {-30, 20, 157, 400, 0, 0}},
      {[](CVexDoc& d) { return d.QueueColorAdjust(200, 100, -5, 1, 2, 3); }, 2, {200, 100, -5, 1, 2, 3}},
      {[](CVexDoc& d) { return d.QueueResize(0.75f); }, 3, {75, 0, 0, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueWhiteBalance(190, 160, 130); }, 4, {190, 160, 130, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueBlackBalance(10, 0, 255); }, 5, {10, 0, 255, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueRotate90CW(); }, 6, {0, 0, 0, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueRotate90CCW(); }, 7, {0, 0, 0, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueRotate180(); }, 8, {0, 0, 0, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueFlipHorizontal(); }, 9, {0, 0, 0, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueFlipVertical(); }, 10, {0, 0, 0, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueGrayscale(); }, 11, {0, 0, 0, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueNegative(); }, 12, {0, 0, 0, 0, 0, 0}},
      {[](CVexDoc& d) { return d.QueueCrop(20.5f, 10.0f, 100.25f, 50.0f); }, 13, {2050, 1000, 10025, 5000, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    ASSERT_EQ(c.queue(doc), 0);
    const tRetouchOp& op = doc.GetRetouchList().ops[doc.GetRetouchList().count - 1];
    EXPECT_EQ(op.kind, c.kind);
    EXPECT_EQ(std::vector<LONG>(op.value, op.value + 6), c.values);
  }
  EXPECT_EQ(doc.GetRetouchList().count, 13);
  doc.ClearRetouchList();
  EXPECT_EQ(doc.GetRetouchList().count, 0);
}

TEST_F(VexDocRetouchList, AFullListRefusesAndStaysAsItWas) {
  for (int i = 0; i < tRetouchOpList::kCapacity; ++i) ASSERT_EQ(doc.QueueRotate180(), 0) << i;
  EXPECT_EQ(doc.QueueCrop(1, 2, 3, 4), -1);
  EXPECT_EQ(doc.QueueEnhance(1, 2, 3, 4), -1);
  EXPECT_EQ(doc.GetRetouchList().count, tRetouchOpList::kCapacity);
  EXPECT_EQ(doc.GetRetouchList().ops[99].kind, 8);
  doc.ClearRetouchList();
  EXPECT_EQ(doc.QueueNegative(), 0);
}

}  // namespace
