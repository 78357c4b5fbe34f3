// Small valid files of every kind we read: the seeds of the fuzzer's corpus and the starting
// points of the mutation sweep.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "files/fixtures.h"

namespace lumipad::test {

struct SampleFile {
    std::string name;
    Bytes bytes;
};

std::vector<SampleFile> sampleFiles();

}  // namespace lumipad::test
