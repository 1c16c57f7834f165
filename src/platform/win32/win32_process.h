#pragma once
// Process services of Windows that need no Qt: the single-copy mutex, the
// start of a program in a normal window, and the raw command line.
#include <string>

namespace avelin::win32 {

// Creates (or opens) the named mutex of this program in the user's session
// and keeps it until the process ends. True when this is the first copy.
bool AcquireSingleCopy(const std::string& name);

// Starts the program as a separate process in a normal window that takes the
// focus (SW_SHOWNORMAL); does not wait. Throws FileError with the system's
// error text when it cannot be started.
void StartProgram(const std::string& path);

// The process's command line as the system keeps it (GetCommandLineA).
std::string RawCommandLine();

// The system's text for an error code, without the trailing line end.
std::string SystemErrorText(unsigned long code);

} // namespace avelin::win32
