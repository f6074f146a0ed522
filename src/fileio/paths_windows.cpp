#include "fileio/common.h"
#include "fileio/common_windows.h"
#include "fileio/file_error.h"
#include "fileio/paths.h"
#include "fileio/system.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace tavolin {

// Qt hands over paths with slashes; Windows' own form has backslashes, which
// the program's messages show too. UTF-8 holds every name Windows can.
FilePath::FilePath(const QString& path) : native_(QDir::toNativeSeparators(path).toUtf8()) {}

FilePath JoinPath(const FilePath& dir, const QString& fileName) {
    return FilePath::FromNative(dir.Native() + '\\' + QDir::toNativeSeparators(fileName).toUtf8());
}

FilePath DirectoryOf(const FilePath& filePath) {
    const QByteArray& native = filePath.Native();
    const qsizetype cut = std::max(native.lastIndexOf('\\'), native.lastIndexOf('/'));
    if (cut < 0)
        return {};
    if (cut == 0 || (cut == 2 && native.at(1) == ':'))
        return FilePath::FromNative(native.left(cut + 1)); // a root keeps its separator
    return FilePath::FromNative(native.left(cut));
}

FilePath ExecutableFilePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        const DWORD size = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (size == 0)
            break;
        if (size < buffer.size())
            return FilePath::FromNative(Narrow(std::wstring_view(buffer.data(), size)));
        buffer.resize(buffer.size() * 2);
    }
    return {QCoreApplication::applicationFilePath()};
}

FilePath CanonicalPath(const FilePath& path) {
    const QByteArray target = FollowLinks(path.Native());
    const auto [folder, name] = SplitPath(target);
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD size =
            ::GetFullPathNameW(Wide(folder).c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (size == 0)
            return FilePath::FromNative(target);
        if (size < full.size()) {
            const QByteArray resolved = FollowLinks(Narrow(std::wstring_view(full.data(), size)));
            return FilePath::FromNative(resolved + (resolved.endsWith('\\') ? "" : "\\") + name);
        }
        full.resize(size + 1);
    }
    return FilePath::FromNative(target);
}

void MakeFolders(const FilePath& folder) {
    const QByteArray& native = folder.Native();
    // The drive ("C:\") or the share ("\\server\share\") is there or not;
    // the folders below it are made.
    qsizetype start = 1;
    if (native.startsWith("\\\\"))
        start = native.indexOf('\\', native.indexOf('\\', 2) + 1);
    else if (native.size() > 2 && native.at(1) == ':')
        start = 3;
    for (qsizetype cut = start < 0 ? -1 : native.indexOf('\\', start);; cut = native.indexOf('\\', cut + 1)) {
        const QByteArray part = cut < 0 ? native : native.left(cut);
        if (!part.isEmpty() && ::CreateDirectoryW(Wide(part).c_str(), nullptr) == 0) {
            // A folder above that the user may not write to may hold his.
            const DWORD error = ::GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
                throw FileError(CreateErrorText(folder));
        }
        if (cut < 0)
            break;
    }
    const DWORD attributes = ::GetFileAttributesW(Wide(native).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        throw FileError(CreateErrorText(folder));
}

// The user's local application data is his alone by its access list, which
// the folders made in it inherit: there is no owner or mode to look at.
void MakePrivateFolder(const FilePath& folder) {
    MakeFolders(folder);
}

RenameResult RenameWithoutReplacing(const FilePath& from, const FilePath& to) {
    // Without MOVEFILE_REPLACE_EXISTING nothing at `to` is replaced; a link is
    // moved itself.
    if (::MoveFileExW(Wide(from.Native()).c_str(), Wide(to.Native()).c_str(), 0) != 0)
        return RenameResult::Renamed;
    const DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? RenameResult::Taken : RenameResult::Failed;
}

void RemoveLeftoverTemporaries(const FilePath& file, std::chrono::seconds minAge) {
    const auto [folder, name] = SplitPath(FollowLinks(file.Native()));
    const QByteArray prefix = folder + (folder.endsWith('\\') ? "" : "\\");
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(Wide(prefix + '*').c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<QByteArray> leftovers;
    do {
        // A FILETIME counts 100-nanosecond steps since 1601.
        const std::uint64_t ticks =
            (std::uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
        const auto modified = static_cast<std::int64_t>(ticks / 10'000'000) - 11'644'473'600;
        const QByteArray entry = Narrow(found.cFileName);
        const std::optional<std::chrono::seconds> age = LeftoverAge(entry, name, minAge);
        if (age && (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
            OldEnough(modified, *age))
            leftovers.push_back(prefix + entry);
    } while (::FindNextFileW(search, &found) != 0);
    ::FindClose(search);
    for (const QByteArray& leftover : leftovers)
        ::DeleteFileW(Wide(leftover).c_str());
}

bool PathInUse(const FilePath& path) {
    // The attributes of a link are its own, whether its target is there or not.
    return ::GetFileAttributesW(Wide(path.Native()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFile(const FilePath& path) {
    if (::DeleteFileW(Wide(path.Native()).c_str()) == 0 && !NothingThere(::GetLastError()))
        throw FileError(CreateErrorText(path));
}

} // namespace tavolin
