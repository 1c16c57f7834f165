#include "windows/check.h"

#include <cstdio>
#include <exception>
#include <vector>

namespace avelin::wintest {

namespace {

struct Registered {
    const char* name;
    std::function<void()> body;
};

std::vector<Registered>& registry() {
    static std::vector<Registered> cases;
    return cases;
}

int passed = 0;
int failed = 0;
const char* current = "";

} // namespace

TestCase::TestCase(const char* name, std::function<void()> body) {
    registry().push_back({name, std::move(body)});
}

bool record(bool ok, const char* expression, const char* file, int line, const std::string& detail) {
    if (ok) {
        ++passed;
        return true;
    }
    ++failed;
    std::printf("FAILED %s: %s:%d: %s%s%s\n", current, file, line, expression, detail.empty() ? "" : " -- ",
                detail.c_str());
    return false;
}

int runAll() {
    for (const Registered& test : registry()) {
        current = test.name;
        const int failedBefore = failed;
        // An exception ends its test case as one failed check; the others run.
        try {
            test.body();
        } catch (const std::exception& e) {
            record(false, "unexpected exception", test.name, 0, e.what());
        } catch (...) {
            record(false, "unexpected exception", test.name, 0, "");
        }
        std::printf("%s %s\n", failed == failedBefore ? "ok    " : "FAILED", test.name);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed;
}

} // namespace avelin::wintest
