// Every input that once broke a reader, fed again through the entry point of
// the fuzz target that found it: it must keep every promise the fuzz target
// checks, and be read or refused with a typed error as its file name says
// ("...-accepted" or "...-refused").
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz_entries.h"
#include "support/temp_folder.h"

namespace avelin {
namespace {

namespace fs = std::filesystem;

struct Reproducer {
    std::string target; // folder name, also the fuzz target's name
    fs::path file;
};

void PrintTo(const Reproducer& r, std::ostream* os) {
    *os << r.file.string();
}

const char* Described(fuzz::Outcome outcome) {
    return outcome == fuzz::Outcome::Accepted ? "accepted" : "refused";
}

// Test names: letters and digits of the folder and file names.
std::string TestName(const Reproducer& r) {
    std::string name = r.target + "_" + r.file.filename().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

std::vector<Reproducer> AllReproducers() {
    std::vector<Reproducer> all;
    for (const char* target : {"results_file", "merge", "vote_definition", "pptx"}) {
        const fs::path folder = fs::path(AVELIN_SOURCE_DIR) / "tests" / "regressions" / target;
        if (!fs::is_directory(folder))
            continue;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.is_regular_file())
                files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& f : files)
            all.push_back({target, f});
    }
    return all;
}

fuzz::Outcome Feed(const Reproducer& r) {
    const std::string data = test::ReadBytes(r.file);
    if (r.target == "results_file")
        return fuzz::ResultsFile(data);
    if (r.target == "merge")
        return fuzz::Merge(data);
    if (r.target == "vote_definition")
        return fuzz::VoteDefinition(data);
    return fuzz::Pptx(data);
}

class FuzzFinding : public ::testing::TestWithParam<Reproducer> {};

TEST_P(FuzzFinding, IsReadOrRefusedAndKeepsEveryPromise) {
    const std::string name = GetParam().file.filename().string();
    const bool refused = name.ends_with("-refused");
    ASSERT_TRUE(refused || name.ends_with("-accepted")) << name << " must end in -accepted or -refused";
    // Typed errors end in Outcome::Refused inside the entry point; anything
    // else (a broken promise, a stray exception) fails here.
    try {
        EXPECT_STREQ(Described(Feed(GetParam())), refused ? "refused" : "accepted");
    } catch (const std::exception& e) {
        FAIL() << GetParam().file << ": " << e.what();
    }
}

// The folders may hold nothing yet.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FuzzFinding);
INSTANTIATE_TEST_SUITE_P(Kept, FuzzFinding, ::testing::ValuesIn(AllReproducers()),
                         [](const ::testing::TestParamInfo<Reproducer>& info) {
                             return TestName(info.param);
                         });

} // namespace
} // namespace avelin
