#include "formats/side_files.h"

#include <gtest/gtest.h>

namespace avelin {
namespace {

TEST(GroupFileText, NamesTheMergeInfoVoteAndTheFileIndex) {
    EXPECT_EQ(GroupFileText(0), "\"MergeInfo.avl\", \"0\"");
    EXPECT_EQ(GroupFileText(9), "\"MergeInfo.avl\", \"9\"");
}

} // namespace
} // namespace avelin
