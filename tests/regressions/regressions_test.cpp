// Every input kept for a fuzz target (inputs that once broke a reader, and
// the fixtures' and demo's files), fed again through the target's entry
// point: it must keep every promise the target checks, and be read or
// refused with a typed error as its file name says ("...-accepted" or
// "...-refused").
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fuzz_entries.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

namespace fs = std::filesystem;

fuzz::Outcome Feed(const std::string& target, const std::string& data) {
    if (target == "results_file")
        return fuzz::ResultsFile(data);
    if (target == "merge")
        return fuzz::Merge(data);
    if (target == "vote_definition")
        return fuzz::VoteDefinition(data);
    return fuzz::Pptx(data);
}

TEST(FuzzFindings, AreReadOrRefusedAndKeepEveryPromise) {
    int fed = 0;
    for (const char* target : {"results_file", "merge", "vote_definition", "pptx"}) {
        const fs::path folder = fs::path(AVELIN_SOURCE_DIR) / "tests" / "regressions" / target;
        if (!fs::is_directory(folder))
            continue;
        for (const auto& e : fs::directory_iterator(folder)) {
            const std::string name = e.path().filename().string();
            SCOPED_TRACE(e.path().string());
            const bool refused = name.ends_with("-refused");
            ASSERT_TRUE(refused || name.ends_with("-accepted")) << "must end in -accepted or -refused";
            // Typed errors end in Outcome::Refused inside the entry point;
            // anything else (a broken promise, a stray exception) fails here.
            try {
                const bool wasRefused = Feed(target, test::ReadBytes(e.path())) == fuzz::Outcome::Refused;
                EXPECT_EQ(wasRefused, refused);
            } catch (const std::exception& error) {
                ADD_FAILURE() << error.what();
            }
            ++fed;
        }
    }
    EXPECT_GT(fed, 0);
}

} // namespace
} // namespace avelin
