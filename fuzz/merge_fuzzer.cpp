// A foreign database merged into a database, both of any bytes, against the
// plain one-by-one search of the whole list.
#include "check.h"
#include "names/database.h"
#include "names/merge.h"
#include "support/list_strings.h"
#include "support/reference_names.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

using tavolin::LineList;
using tavolin::NameList;
using tavolin::test::NamesOf;
using tavolin::test::Strings;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string target = provider.ConsumeRandomLengthString(size);
    const std::string foreign = provider.ConsumeRemainingBytesAsString();

    LineList lines = LineList::FromFileBytes(target);
    NameList names;
    tavolin::ParseNameLines(lines, names);
    const LineList mergeLines = LineList::FromFileBytes(foreign);
    NameList mergeNames;
    tavolin::ParseNameLines(mergeLines, mergeNames);
    const Strings foreignNames = NamesOf(mergeNames);

    const tavolin::test::ReferenceMerge expected = tavolin::test::ReferenceMergeOf(target, foreign);
    FUZZ_CHECK(tavolin::AddMissingNames(mergeNames, names, lines) == expected.added);
    FUZZ_CHECK(NamesOf(names) == expected.names);
    FUZZ_CHECK(lines.FileBytes() == expected.file);
    FUZZ_CHECK(NamesOf(mergeNames) == foreignNames);

    // The next start reads what the lists hold, and a second merge finds
    // every name and changes nothing.
    NameList reread;
    tavolin::ParseNameLines(LineList::FromFileBytes(lines.FileBytes()), reread);
    FUZZ_CHECK(NamesOf(reread) == expected.names);
    FUZZ_CHECK(tavolin::AddMissingNames(mergeNames, names, lines) == 0);
    FUZZ_CHECK(NamesOf(names) == expected.names);
    FUZZ_CHECK(lines.FileBytes() == expected.file);
    return 0;
}
