#pragma once

// What the parts of the file layer share on top of the primitives; nothing
// outside src/fileio includes this.

#include "fileio/paths.h"
#include "fileio/primitives.h"

#include <QByteArray>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// Reads from the file's position to its end into `bytes`, which is sized for
// what is expected and grows where the file has grown; stops early once more
// than `maxSize` bytes are held.
bool ReadAll(SystemFile& file, std::string& bytes, std::uint64_t maxSize);

// Writes the bytes from `offset` on in pieces of at most kSaveChunkSize, so
// that a failure after part of them was written is a failure of its own.
bool WritePieces(SystemFile& file, std::string_view bytes, std::uint64_t offset);

} // namespace tavolin
