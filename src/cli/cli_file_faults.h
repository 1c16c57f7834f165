#pragma once
// Injected write failures for avelin-rec. AVELIN_FILE_FAULTS, written as
// "step:pattern:error text" (several separated by ";"; steps create, write,
// fsync, close, rename, remove; the pattern matches the file's name with "*"
// and "?"), makes that step of the program's own writes fail with that text, so
// that tests can watch the real program fail at each step of a write. Only
// avelin-rec reads that variable.
#include "platform/file_faults.h"

namespace avelin::cli {

// The faults the variable asks for; none when it is not set. Throws
// UsageError when it is not of that form.
FileFaults CliFileFaults();

} // namespace avelin::cli
