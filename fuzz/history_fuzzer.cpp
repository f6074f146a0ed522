// Histories of three copies of a database, other programs and failures,
// taken from the input (five bytes a step, the first byte of all: whether
// the file is large), checked against the model of support/history.h.

#include "check.h"
#include "support/history.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto steps = tavolin::test::StepsFromBytes(data + 1, size - 1);
    const std::optional<std::string> broken = tavolin::test::RunHistory(steps, (data[0] & 0x0F) == 0);
    if (broken)
        std::fprintf(stderr, "%s\n%s", broken->c_str(), tavolin::test::Describe(steps).c_str());
    FUZZ_CHECK(!broken);
    return 0;
}
