#include "fileio/common_unix.h"
#include "fileio/file_error.h"
#include "fileio/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tavolin {

FilePath::FilePath(const QString& path) : native_(QFile::encodeName(path)) {}

FilePath JoinPath(const FilePath& dir, const QString& fileName) {
    return FilePath::FromNative(dir.Native() + '/' + QFile::encodeName(fileName));
}

FilePath DirectoryOf(const FilePath& filePath) {
    const QByteArray& native = filePath.Native();
    const qsizetype cut = native.lastIndexOf('/');
    if (cut < 0)
        return {};
    return FilePath::FromNative(native.left(cut == 0 ? 1 : cut)); // the root keeps its separator
}

FilePath ExecutableFilePath() {
    // QCoreApplication::applicationFilePath() decodes the path to a QString,
    // which loses every byte of a folder name that is no UTF-8.
    if (std::optional<QByteArray> path = LinkTarget("/proc/self/exe"))
        return FilePath::FromNative(*std::move(path));
    return {QCoreApplication::applicationFilePath()};
}

FilePath CanonicalPath(const FilePath& path) {
    const QByteArray target = FollowLinks(path.Native());
    const auto [folder, name] = SplitPath(target);
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.constData(), nullptr), &std::free);
    if (!real)
        return FilePath::FromNative(target);
    QByteArray resolved(real.get());
    if (!resolved.endsWith('/'))
        resolved += '/';
    return FilePath::FromNative(resolved + name);
}

void MakeFolders(const FilePath& folder) {
    const QByteArray& native = folder.Native();
    for (qsizetype cut = native.indexOf('/', 1);; cut = native.indexOf('/', cut + 1)) {
        const QByteArray part = cut < 0 ? native : native.left(cut);
        if (!part.isEmpty() && ::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            throw FileError(CreateErrorText(folder));
        if (cut < 0)
            break;
    }
    struct stat info {};
    if (::stat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw FileError(CreateErrorText(folder));
}

bool PathInUse(const FilePath& path) {
    struct stat info {};
    return ::lstat(path.CStr(), &info) == 0;
}

void RemoveFile(const FilePath& path) {
    if (::unlink(path.CStr()) != 0 && errno != ENOENT)
        throw FileError(CreateErrorText(path));
}

} // namespace tavolin
