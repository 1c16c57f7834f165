// describe_pptx PRESENTATION.pptx OUTPUT: writes the fake PowerPoint's script
// of a presentation as the file backend's reader reads it, for the Windows
// test's check that the automation backend reads the same. Built and run
// natively by scripts/windows-test, since the reader needs libzip.
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>

#include "platform/pptx_reader.h"
#include "windows/powerpoint_script.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: describe_pptx PRESENTATION.pptx OUTPUT\n");
        return 2;
    }
    try {
        const std::string script = avelin::wintest::WriteScript(avelin::ReadPptx(argv[1]));
        // The texts go over as they are: UTF-8 here, the ANSI code page there.
        for (const unsigned char c : script)
            if (c >= 0x80)
                throw std::runtime_error("a text outside ASCII");
        if (!(std::ofstream(argv[2], std::ios::binary) << script))
            throw std::runtime_error(std::string(argv[2]) + " could not be written");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "describe_pptx: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
