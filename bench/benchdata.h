#pragma once

#include "names/linelist.h"
#include "names/namelist.h"

#include <QString>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tavolin::bench {

inline constexpr std::size_t kMillion = 1000000;

// The bytes of a database of a million made-up names (seed 42), made once.
const std::string& MillionNameBytes();
// Those bytes as a file in a temporary folder that lives as long as the program.
const QString& MillionNameFile();

// A database as the start-up leaves it: raw lines and names.
struct Database {
    LineList lines;
    NameList names;
};
std::unique_ptr<Database> MakeDatabase(std::size_t count, std::uint64_t seed);

// A database of `count` names (seed 42) and a foreign one of as many, whose
// first half are names of the database and whose second half are new.
struct MergeCase {
    std::string target;
    std::string foreign;
    NameList foreignNames;
    std::string result; // the target file after the merge
    std::size_t added = 0;
};
const MergeCase& MergeCaseOf(std::size_t count);

// Hands the memory that is free in the heap back to the system, so that the
// next allocation must fault its pages in again, as in a fresh process.
void ReleaseFreeMemory();

// Whether the name begins with the beginning as a filtered draw compares
// them: bytes a to z as their capitals, every other byte exactly.
bool BeginsWith(std::string_view name, std::string_view beginning);

} // namespace tavolin::bench
