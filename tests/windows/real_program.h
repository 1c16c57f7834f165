#pragma once
// The checks of the real avelin.exe (real_program_test.cpp), and this program
// in the part of the controller's launcher, started from the add-in folder
// under the name call_controller.exe.

namespace avelin::wintest {

inline constexpr char kProgramVariable[] = "AVELIN_WINTEST_PROGRAM";
// Written by the launcher beside itself when it starts.
inline constexpr char kLauncherStarted[] = "launcher-started.txt";

bool IsLauncher(); // this program runs as call_controller.exe
int RunLauncher();

} // namespace avelin::wintest
