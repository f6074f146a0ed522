#pragma once

#include "fileio/fileio.h"

#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace tavolin::test {

// Whole files as bytes, for checks byte for byte.
void WriteBytes(const QString& path, std::string_view bytes);
std::string ReadBytes(const QString& path);
bool Exists(const QString& path);
// Whether the lock file beside the file (FileLock's) names this process as
// its holder: QLockFile writes the holder's number first.
bool LockFileHeldHere(const FilePath& file);

// Whether the tests run in CI (CI=true), where scripts/test has installed
// everything they need and runs them as root.
bool InCi();

} // namespace tavolin::test

// Skips a test that cannot run on this machine, with the reason streamed after
// it; in CI such a test fails instead, so that nothing is left untested there.
#define TAVOLIN_SKIP()                                                                                                 \
    return GTEST_MESSAGE_(::tavolin::test::InCi() ? "cannot run here, and in CI every test must" : "",                 \
                          ::tavolin::test::InCi() ? ::testing::TestPartResult::kFatalFailure                           \
                                                  : ::testing::TestPartResult::kSkip)

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
