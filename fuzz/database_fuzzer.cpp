// A database file of any bytes: its split into raw lines and names, its
// rewrite, a name added to it, and its reading as UTF-8.
#include "check.h"
#include "names/database.h"
#include "names/encoding.h"
#include "support/list_strings.h"
#include "support/reference_names.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using tavolin::LineList;
using tavolin::NameList;
using tavolin::test::LinesOf;
using tavolin::test::NamesOf;
using tavolin::test::Strings;

Strings NamesOf(const LineList& lines) {
    NameList names;
    tavolin::ParseNameLines(lines, names);
    return NamesOf(names);
}

// A storable name taken from the input: its first bytes without those that a
// name cannot hold.
std::string NameFrom(std::string_view bytes) {
    std::string name;
    for (const char c : bytes.substr(0, 12))
        if (tavolin::IsStorableName(std::string_view(&c, 1)))
            name += c;
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    LineList lines = LineList::FromFileBytes(bytes);
    NameList names;
    tavolin::ParseNameLines(lines, names);

    // The split equals the rule written out plainly.
    const Strings expectedLines = tavolin::test::ReferenceLines(bytes);
    const auto [expectedNames, trailing] = tavolin::test::ReferenceParse(expectedLines);
    FUZZ_CHECK(LinesOf(lines) == expectedLines);
    FUZZ_CHECK(NamesOf(names) == expectedNames);
    FUZZ_CHECK(tavolin::TrailingText(lines) == trailing);
    for (const std::string& name : expectedNames)
        FUZZ_CHECK(names.contains(name));

    // The rewrite is every line with CR LF, and reads back as the same lines
    // and names.
    const std::string written(lines.FileBytes());
    FUZZ_CHECK(written == tavolin::test::ReferenceFile(expectedLines));
    const LineList reread = LineList::FromFileBytes(written);
    FUZZ_CHECK(LinesOf(reread) == expectedLines);
    FUZZ_CHECK(NamesOf(reread) == expectedNames);

    // An added name comes back whole at the next start, and the names list
    // stays what that start reads; the trailing text becomes a name first.
    const std::string name = NameFrom(bytes);
    const bool stored = tavolin::AppendName(lines, names, name);
    FUZZ_CHECK(stored == (trailing.empty() || trailing != name));
    FUZZ_CHECK(names.contains(name));
    FUZZ_CHECK(NamesOf(names) == NamesOf(LineList::FromFileBytes(lines.FileBytes())));
    Strings grown = expectedNames;
    if (!trailing.empty())
        grown.push_back(trailing);
    if (stored)
        grown.push_back(name);
    FUZZ_CHECK(NamesOf(names) == grown);

    // A file an editor saved as UTF-8 becomes Windows-1252 text, one byte a
    // character at most; any other file stays byte for byte.
    const tavolin::DatabaseText text = tavolin::DatabaseTextOf(bytes);
    FUZZ_CHECK(text.bytes.size() <= bytes.size());
    if (!bytes.starts_with("\xEF\xBB\xBF") && bytes.find("\xC2\xB3") == std::string::npos)
        FUZZ_CHECK(text.bytes == bytes && text.leftOutNames == 0 && !text.leftOutTrailingText);

    // The name added to the file as read, whether the file is then written
    // anew or extended in place in its own encoding and breaks, comes back
    // with every other name at the next start, which reads as the lists say.
    LineList read = LineList::FromFileBytes(text.bytes);
    NameList listed;
    tavolin::ParseNameLines(read, listed);
    const std::size_t first = listed.size();
    tavolin::AppendName(read, listed, name);
    NameList added;
    for (std::size_t i = first; i < listed.size(); ++i)
        added.append(listed[i]);
    const auto nextStart = [](const std::string& file) {
        NameList names;
        tavolin::ParseNameLines(LineList::FromFileBytes(tavolin::DatabaseTextOf(file).bytes), names);
        return NamesOf(names);
    };
    // (Unless the first name begins with "ï»¿": those are the bytes of a
    // byte-order mark, which a reader takes for one.)
    if (!read.FileBytes().starts_with("\xEF\xBB\xBF"))
        FUZZ_CHECK(nextStart(std::string(read.FileBytes())) == NamesOf(listed));
    FUZZ_CHECK(nextStart(bytes + tavolin::AppendixFor(bytes, added)) == NamesOf(listed));
    return 0;
}
