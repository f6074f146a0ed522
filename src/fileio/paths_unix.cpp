#include "fileio/common.h"
#include "fileio/common_unix.h"
#include "fileio/file_error.h"
#include "fileio/paths.h"
#include "fileio/system.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

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
    if (std::optional<QByteArray> path = OwnProgramPath())
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

void MakePrivateFolder(const FilePath& folder) {
    if (!PathInUse(folder))
        MakeFolders(folder);
    // The folder itself: no link (O_NOFOLLOW), no file (O_DIRECTORY). Its
    // mode is set through the same descriptor, so that nothing can be swapped
    // in between.
    const Descriptor opened(::open(folder.CStr(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!opened.Valid() || ::fstat(opened.Get(), &info) != 0 || info.st_uid != ::geteuid() ||
        ((info.st_mode & 077) != 0 && ::fchmod(opened.Get(), 0700) != 0))
        throw NotPrivateError(NotPrivateErrorText(folder));
}

RenameResult RenameWithoutReplacing(const FilePath& from, const FilePath& to) {
    if (RenameNoReplace(from.CStr(), to.CStr()) == 0)
        return RenameResult::Renamed;
    // EINVAL, ENOSYS: a file system or kernel that cannot promise it, where
    // a look first has to do.
    if (errno != EINVAL && errno != ENOSYS)
        return errno == EEXIST ? RenameResult::Taken : RenameResult::Failed;
    if (PathInUse(to))
        return RenameResult::Taken;
    return ::rename(from.CStr(), to.CStr()) == 0 ? RenameResult::Renamed : RenameResult::Failed;
}

void RemoveLeftoverTemporaries(const FilePath& file, std::chrono::seconds minAge) {
    // Beside the file that saves write, where a link points; the entries by
    // their bytes, which need not be UTF-8.
    const auto [folderPath, name] = SplitPath(FollowLinks(file.Native()));
    const auto close = [](DIR* listing) { ::closedir(listing); };
    const std::unique_ptr<DIR, decltype(close)> folder(::opendir(folderPath.constData()), close);
    if (!folder)
        return;
    std::vector<std::pair<QByteArray, std::chrono::seconds>> candidates;
    while (const dirent* entry = ::readdir(folder.get())) {
        if (const std::optional<std::chrono::seconds> age = LeftoverAge(entry->d_name, name, minAge))
            candidates.emplace_back(entry->d_name, *age);
    }
    for (const auto& [entry, age] : candidates) {
        struct stat info {};
        if (::fstatat(::dirfd(folder.get()), entry.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && OldEnough(IdentityFrom(info).modifiedSeconds, age))
            ::unlinkat(::dirfd(folder.get()), entry.constData(), 0);
    }
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
