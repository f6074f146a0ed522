#pragma once

#include "fileio/fileio.h"

#include <QString>
#include <string>
#include <string_view>

namespace tavolin::test {

// Whole files as bytes, for checks byte for byte.
void WriteBytes(const QString& path, std::string_view bytes);
std::string ReadBytes(const QString& path);
bool Exists(const QString& path);

} // namespace tavolin::test

#include <ostream>

// Readable QString values and paths in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tavolin {
inline void PrintTo(const FilePath& path, std::ostream* out) {
    *out << '"' << path.Native().toStdString() << '"';
}
} // namespace tavolin
