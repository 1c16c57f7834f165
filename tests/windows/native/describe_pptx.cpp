// describe_pptx PRESENTATION.pptx OUTPUT: the fake PowerPoint's script of a
// presentation as the file backend's reader reads it, for the Windows test's
// check that the automation backend reads the same. Built natively by
// scripts/windows-test, since the reader needs libzip.
#include <cstdio>
#include <exception>
#include <fstream>

#include "platform/pptx_reader.h"
#include "windows/powerpoint_script.h"

int main(int argc, char** argv) {
    try {
        if (argc != 3 || !(std::ofstream(argv[2], std::ios::binary)
                           << avelin::wintest::WriteScript(avelin::ReadPptx(argv[1]))))
            throw std::runtime_error("usage: describe_pptx PRESENTATION.pptx OUTPUT");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "describe_pptx: %s\n", e.what());
        return 1;
    }
}
