#pragma once
// The test program started a second time, by the process tests: it asks for
// the single-copy mutex and shows the answer, with the text that followed
// its program name, in the title of a window that the first copy finds.
#include <string>

namespace avelin::wintest {

// Set in the environment of a second copy: the role and the mutex's name.
inline constexpr char kRoleVariable[] = "AVELIN_WINTEST_ROLE";
inline constexpr char kMutexVariable[] = "AVELIN_WINTEST_MUTEX";
inline constexpr char kSecondCopyRole[] = "second-copy";
// Its window title: this prefix, "first" or "second", "|", the arguments.
inline constexpr char kSecondCopyTitle[] = "avelin second copy: ";

// True when this process was started as a second copy.
bool isSecondCopy();
// Shows the window until it is closed (30 s at most); the process's result.
int runSecondCopy();

} // namespace avelin::wintest
