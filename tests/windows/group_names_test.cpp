// Group names clash in any letter case, as Windows tells file names apart:
// the system folds the letters of its ANSI code page (Windows-1252 here).
#include <windows.h>

#include "merge/collation.h"
#include "windows/harness.h"

namespace avelin::wintest {
namespace {

TEST(GroupNamesClashInEveryLetterOfTheCodePage) {
    CHECK_EQ(GetACP(), 1252u);
    CHECK(SameNameAnyCase("\xC4pfel", "\xE4PFEL")); // Äpfel, äPFEL
    CHECK(SameNameAnyCase("\x8A\xE9", "\x9A\xC9")); // Šé, šÉ
    CHECK(!SameNameAnyCase("\xC4pfel", "Apfel"));   // the accent counts
    CHECK(!SameNameAnyCase("\xD7", "\xF7"));        // × and ÷ are no letters
    CHECK(!SameNameAnyCase("North", "North "));
}

} // namespace
} // namespace avelin::wintest
