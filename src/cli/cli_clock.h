#pragma once
// The clock of avelin-rec. AVELIN_FIXED_NOW="yyyy-mm-dd hh:nn:ss" pins it, so
// that what a command writes can be compared byte for byte; only avelin-rec
// reads that variable.
#include <memory>

#include "platform/clock.h"

namespace avelin::cli {

// The pinned clock when AVELIN_FIXED_NOW is set, else the system clock.
// Throws UsageError when the variable is not of that form.
std::unique_ptr<Clock> CliClock();

} // namespace avelin::cli
