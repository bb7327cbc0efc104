// Screenshots judged against reviewed reference pictures in tests/data/reference/: the
// pictures a reviewer has looked at and found right. A mismatch writes the picture taken
// and a difference picture (differing pixels red over a faded reference) to
// build/reference-diffs/ and names them in the failure. LUMORA_UPDATE_REFERENCES=1 writes
// the pictures taken as the new references instead, for review before they are committed.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "display/Png.h"

namespace testenv {

// How far a picture may stray from its reference: pixels whose channels all lie within
// `channel` of it match; up to `pixels` others are let pass (anti-aliasing, a caret).
struct Tolerance {
  int channel = 0;
  int pixels = 0;
};

testing::AssertionResult MatchesReference(const plat::display::PixelImage& taken, const std::string& name,
                                          Tolerance tolerance = {});
// The same for a PNG file already written.
testing::AssertionResult MatchesReference(const std::string& pngPath, const std::string& name,
                                          Tolerance tolerance = {});

}  // namespace testenv
