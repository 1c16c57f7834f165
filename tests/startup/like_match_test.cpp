// The wildcard comparison of window titles.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "startup/like_match.h"

namespace avelin {
namespace {

TEST(LikeMatch, WildcardsListsAndExactCharacters) {
    // A pattern, texts it matches and texts it does not match.
    const std::tuple<std::string, std::vector<std::string>, std::vector<std::string>> cases[] = {
        // * matches any run, also an empty one, in the given order.
        {"*MICROSOFT*POWERPOINT*",
         {"MICROSOFT POWERPOINT - [TALK.PPT]"},
         {"POWERPOINT", "POWERPOINT BY MICROSOFT"}},
        {"**", {""}, {}},
        {"*AB?", {"XABYABZ"}, {"XABYABZQ"}}, // the first AB is not the one that matches
        // Without wildcards the whole text must be equal, character for
        // character: upper-casing is the callers' job.
        {"AVELIN_CONTROLLER",
         {"AVELIN_CONTROLLER"},
         {"AVELIN_CONTROLLER - 1", "X AVELIN_CONTROLLER", "AVELIN_CONTROLLE", "avelin_controller"}},
        {"\xE9T\xE9", {"\xE9T\xE9"}, {"\xC9T\xC9"}},
        {"", {""}, {"A"}},
        // ? is any one character, # one digit.
        {"CALL?CONTROLLER", {"CALL_CONTROLLER"}, {"CALLCONTROLLER"}},
        {"?", {"X"}, {""}},
        {"VOTE #", {"VOTE 7"}, {"VOTE X", "VOTE 12"}},
        // Lists, negated lists and ranges; wildcards in a list stand for themselves.
        {"[ABC]", {"B"}, {"D"}},
        {"[!ABC]", {"D"}, {"A"}},
        {"[A-Z]", {"Q"}, {"5"}},
        {"[!A-Z]", {"5"}, {"Q"}},
        {"[-A]", {"-", "A"}, {"B"}},
        {"[*?]", {"*", "?"}, {"X"}},
        {"*[[]1]*", {"TALK [1].PPT"}, {"TALK 1.PPT"}},
        {"*POWERPOINT [0-9]", {"MICROSOFT POWERPOINT 2"}, {"MICROSOFT POWERPOINT X"}},
        // A "[" without its "]" is an ordinary character.
        {"A[B", {"A[B"}, {"AXB"}},
    };
    for (const auto& [pattern, matching, other] : cases) {
        for (const std::string& text : matching)
            EXPECT_TRUE(LikeMatch(text, pattern)) << '"' << text << "\" Like \"" << pattern << '"';
        for (const std::string& text : other)
            EXPECT_FALSE(LikeMatch(text, pattern)) << '"' << text << "\" Like \"" << pattern << '"';
    }
}

} // namespace
} // namespace avelin
