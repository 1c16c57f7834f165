#include "merge/readiness.h"

#include <gtest/gtest.h>

namespace avelin {
namespace {

TEST(CheckEnabled, CaptionsColoursAndEnabling) {
    const GoButtonState none = CheckEnabled(0, "");
    EXPECT_FALSE(none.enabled);
    EXPECT_EQ(none.colour, 255u);
    EXPECT_EQ(none.caption, "Need 2 files selected. Need output file. ");
    EXPECT_EQ(CheckEnabled(2, "").caption, "Need output file. ");
    EXPECT_EQ(CheckEnabled(1, "x.rec").caption, "Need 2 files selected. ");
    EXPECT_FALSE(CheckEnabled(1, "x.rec").enabled);
    // The name's characters do not matter here.
    const GoButtonState ready = CheckEnabled(2, "a?b");
    EXPECT_TRUE(ready.enabled);
    EXPECT_EQ(ready.colour, 65280u);
    EXPECT_EQ(ready.caption, "GO.");
}

TEST(CompleteExtension, AppendsRecUnlessItEndsInExactlyRec) {
    EXPECT_EQ(CompleteExtension("result"), "result.rec");
    EXPECT_EQ(CompleteExtension("result.rec"), "result.rec");
    EXPECT_EQ(CompleteExtension("result.REC"), "result.REC.rec");
    EXPECT_EQ(CompleteExtension(""), "");
    EXPECT_EQ(CompleteExtension(".rec"), ".rec");
}

} // namespace
} // namespace avelin
