#pragma once

// What the implementations for both systems share (common.cpp), and what
// the shared parts ask of each system's own; nothing outside src/fileio
// includes this.

#include "fileio/identity.h"
#include "fileio/paths.h"
#include "fileio/read_file.h"

#include <QByteArray>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tavolin {

// The name a save gives its new file in the folder of the file `name`: the
// file's own name in it, so that what a killed save left behind is known by
// file, and a random part, so that two saves never meet.
QByteArray TemporaryName(const QByteArray& name);

// How old the folder entry `entry` beside the file `name` has to be before it
// goes as a killed save's new file; nothing where no save gives that name.
std::optional<std::chrono::seconds> LeftoverAge(const QByteArray& entry, const QByteArray& name,
                                                std::chrono::seconds minAge);

// Whether a file last changed at `modifiedSeconds` (since 1970) is `age` old.
bool OldEnough(std::int64_t modifiedSeconds, std::chrono::seconds age);

// Renames what is at `from`, never over anything at `to`; each system has its
// own way.
enum class RenameResult { Renamed, Taken, Failed };
RenameResult RenameWithoutReplacing(const FilePath& from, const FilePath& to);

// Reads a whole file that `identity` describes through `readAll` (the
// system's ReadAll with `maxSize`), into one buffer sized for it. Throws
// FileTooLargeError beyond `maxSize`, FileError when a read fails.
FileContents ReadWhole(const FilePath& path, const FileIdentity& identity, std::uint64_t maxSize,
                       const std::function<bool(std::string& bytes)>& readAll);

} // namespace tavolin
