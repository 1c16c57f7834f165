// libFuzzer target: every input through avelin::fuzz::ResultsFile.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    avelin::fuzz::ResultsFile(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
