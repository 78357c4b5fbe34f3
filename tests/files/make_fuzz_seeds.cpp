// Writes the sample files into the folder named on the command line.
#include <cstdio>
#include <string>

#include "files/sample_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    for (const auto& sample : lumipad::test::sampleFiles())
        lumipad::test::writeBytes(std::string(argv[1]) + "/" + sample.name, sample.bytes);
    return 0;
}
