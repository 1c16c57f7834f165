#pragma once
// A small check harness for the Windows test program, which runs under Wine
// and is cross-compiled without GoogleTest: named test cases, checks that
// record a failure and go on, and a closing line "N passed, M failed".
#include <functional>
#include <sstream>
#include <string>

namespace avelin::wintest {

// Registers a test case; the harness runs them in the order they register.
struct TestCase {
    TestCase(const char* name, std::function<void()> body);
};

// Records one check. `detail` says what was seen when the check fails.
bool record(bool ok, const char* expression, const char* file, int line, const std::string& detail);

// Runs every test case and prints one line per failed check and the summary.
// Returns the number of failed checks.
int runAll();

// Records whether a == b; each side is evaluated once, by the caller.
template <typename A, typename B>
bool checkEqual(const A& a, const B& b, const char* expression, const char* file, int line) {
    if (a == b)
        return record(true, expression, file, line, "");
    std::ostringstream seen;
    seen << a << " vs " << b;
    return record(false, expression, file, line, seen.str());
}

} // namespace avelin::wintest

#define WT_CONCAT2(a, b) a##b
#define WT_CONCAT(a, b) WT_CONCAT2(a, b)
#define TEST(name)                                                                                           \
    static void name();                                                                                      \
    static const ::avelin::wintest::TestCase WT_CONCAT(registration_, name)(#name, name);                    \
    static void name()

#define CHECK(condition)                                                                                     \
    ::avelin::wintest::record(static_cast<bool>(condition), #condition, __FILE__, __LINE__, "")
#define CHECK_EQ(a, b) ::avelin::wintest::checkEqual((a), (b), #a " == " #b, __FILE__, __LINE__)
