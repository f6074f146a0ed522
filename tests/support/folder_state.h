#pragma once

#include <QString>
#include <map>
#include <string>

namespace tavolin::test {

// What a folder holds: each entry (hidden ones too) by name, with the SHA-256
// of a file's bytes, or "folder", "fifo" or "other" for what is no plain file.
// Two equal states mean that nothing in the folder was created, removed or
// changed; a state is small even for files of many megabytes.
using FolderState = std::map<std::string, std::string>;
FolderState StateOf(const QString& folder);

} // namespace tavolin::test
