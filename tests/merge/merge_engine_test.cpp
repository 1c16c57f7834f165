// The merged file from prepared inputs: their blocks side by side in the
// order of the name list, uneven files padded, run markers dropped, the merge
// information line; each input's responses read again from its file.
#include "merge/merge_engine.h"

#include <gtest/gtest.h>

#include "merge/merge_run.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"

namespace avelin {
namespace {

const std::string kStamp = ",\"14:05:09\",\"04/12/2026\"\r\n";

std::string Vote(const std::string& name, int choices, int keypads, const std::string& responses) {
    return "\"C:\\T\\" + name + "\"," + std::to_string(choices) + "," + std::to_string(keypads) + ",\"" +
           responses + "\",\"09:00:00\",\"01/01/2026\"\r\n";
}

// The merged file of the inputs' texts, in the merge order of their names.
std::string Merged(const std::vector<std::string>& texts, const Clock& clock = test::FixedClock()) {
    test::MemoryFileSystem files;
    std::vector<InputFile> inputs;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        files.files["in" + std::to_string(i)] = texts[i];
        inputs.push_back(ReadInputFile(files, "in" + std::to_string(i)));
    }
    const std::vector<std::string> order = MergeOrder(inputs);
    const MergeLayout layout = LayOutMerge(std::move(inputs), order, clock);
    test::StringSink out;
    MergeFiles(layout, order, files, out);
    return out.text;
}

TEST(MergeFiles, PutsTheBlocksSideBySidePadsUnevenFilesAndMarksWhoAnswered) {
    const std::string wide(300000, '1'); // a field longer than a read of the input
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // The choice count is the last file's that holds the vote.
        {{Vote("B", 4, 4, "1;2;3;4;") + Vote("A", 4, 4, "-;-;1;-;") + Vote("C", 2, 4, "1;1;1;1;"),
          Vote("A", 5, 3, "2;2;2;") + Vote("B", 4, 3, "3;-;3;") + Vote("C", 2, 3, "-;-;-;")},
         "\"\\A\",5,7,\"-;-;1;-;2;2;2;\"" + kStamp + "\"\\B\",4,7,\"1;2;3;4;3;-;3;\"" + kStamp +
             "\"\\C\",2,7,\"1;1;1;1;-;-;-;\"" + kStamp + "\"\\MergeInfo.avl\",2,7,\"0;0;0;0;1;1;1;\"" +
             kStamp},
        // Keypad counts 3 and 5: the votes are padded to 5 (an odd length
        // rounds up, so two entries still come); a vote missing from a file
        // takes its whole block.
        {{Vote("A", 1, 3, "1;2;-;") + Vote("B", 1, 5, "1;2;3;-;5;") + Vote("C", 1, 3, "1;2;3"),
          Vote("A", 1, 1, "-;")},
         "\"\\A\",1,6,\"1;2;-;-;-;-;\"" + kStamp + "\"\\B\",1,6,\"1;2;3;-;5;-;\"" + kStamp +
             "\"\\C\",1,6,\"1;2;3-;-;-;\"" + kStamp + "\"\\MergeInfo.avl\",2,6,\"0;0;0;0;0;-;\"" + kStamp},
        // An even file is left as it is; positions a short vote does not
        // reach count as answered.
        {{Vote("A", 1, 3, "1;") + Vote("B", 1, 3, "-;-;-;"), Vote("A", 1, 1, "-;")},
         "\"\\A\",1,4,\"1;-;\"" + kStamp + "\"\\B\",1,4,\"-;-;-;-;\"" + kStamp +
             "\"\\MergeInfo.avl\",2,4,\"0;0;0;-;\"" + kStamp},
        // The run marker is dropped from a name (and from "xxxseq" alone, which
        // leaves a line without a name); a record named "" gives no line but
        // its responses still count.
        {{Vote("Qxxxseq01xxx", 1, 0, "") + Vote("", 1, 1, "1;") + Vote("xxxseq", 1, 0, ""), ""},
         "\"\\Q\",1,1,\"-;\"" + kStamp + "\"\\\",1,1,\"-;\"" + kStamp + "\"\\MergeInfo.avl\",2,1,\"0;\"" +
             kStamp},
        {{"", ""}, "\"\\MergeInfo.avl\",2,0,\"\"" + kStamp},
        {{Vote("W", 1, 1, wide), Vote("W", 1, 1, "-;")},
         "\"\\W\",1,2,\"" + wide + "-;\"" + kStamp + "\"\\MergeInfo.avl\",2,2,\"0;-;\"" + kStamp},
    };
    for (const auto& [texts, merged] : cases)
        EXPECT_EQ(Merged(texts), merged) << texts[0];
}

TEST(MergeFiles, ReadsTheClockAfreshForEveryLine) {
    test::FixedClock clock; // a second later at every reading
    clock.nowStep = 1;
    EXPECT_EQ(Merged({Vote("A", 1, 1, "1;") + Vote("B", 1, 1, "1;"), Vote("A", 1, 1, "1;")}, clock),
              "\"\\A\",1,2,\"1;1;\",\"14:05:09\",\"04/12/2026\"\r\n\"\\B\",1,2,\"1;-;\",\"14:05:10\",\"04/12/"
              "2026\"\r\n"
              "\"\\MergeInfo.avl\",2,2,\"0;1;\",\"14:05:11\",\"04/12/2026\"\r\n");
}

TEST(OutputPath, AppendsRecCaseSensitivelyAndPlacesBareNamesInTheFolder) {
    const std::string sep(1, kPathSeparator);
    const std::string folder = "D:" + sep + "out";
    EXPECT_EQ(OutputPath("merged", folder), folder + sep + "merged.rec");
    EXPECT_EQ(OutputPath("merged.rec", folder), folder + sep + "merged.rec");
    EXPECT_EQ(OutputPath("merged.REC", folder), folder + sep + "merged.REC.rec");
    EXPECT_EQ(OutputPath("E:" + sep + "x" + sep + "m", folder), "E:" + sep + "x" + sep + "m.rec");
}

} // namespace
} // namespace avelin
