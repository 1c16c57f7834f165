// Writes the workload of scripts/speed with the benchmarks' own generator:
//   avelin-bench-data meetings FOLDER FILES VOTES KEYPADS
//   avelin-bench-data presentation FOLDER SLIDES
// The same arguments give the same bytes on every machine.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "data_generator.h"

int main(int argc, char** argv) {
    const std::string job = argc > 1 ? argv[1] : "";
    try {
        if (job == "meetings" && argc == 6) {
            avelin::bench::WriteMeetingFiles(argv[2], std::atoi(argv[3]), std::atoi(argv[4]),
                                             std::atoi(argv[5]));
            return 0;
        }
        if (job == "presentation" && argc == 4) {
            std::puts(avelin::bench::WritePresentation(argv[2], std::atoi(argv[3])).c_str());
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "avelin-bench-data: %s\n", e.what());
        return 1;
    }
    std::fputs("usage: avelin-bench-data meetings FOLDER FILES VOTES KEYPADS\n"
               "       avelin-bench-data presentation FOLDER SLIDES\n",
               stderr);
    return 2;
}
