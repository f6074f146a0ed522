#include "fileio/common_windows.h"

#include "fileio/paths.h"
#include "fileio/system.h"

#include <QString>
#include <algorithm>

namespace tavolin {

std::wstring Wide(const QByteArray& path) {
    std::wstring wide = QString::fromUtf8(path).toStdWString();
    if (wide.size() < MAX_PATH - 12)
        return wide;
    // Only an absolute path without "." or ".." can take the long form.
    if (wide.starts_with(LR"(\\)") && !wide.starts_with(LR"(\\?\)"))
        return LR"(\\?\UNC\)" + wide.substr(2);
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\')
        return LR"(\\?\)" + wide;
    return wide;
}

QByteArray Narrow(std::wstring_view path) {
    if (path.starts_with(LR"(\\?\UNC\)"))
        return "\\\\" + Narrow(path.substr(8));
    if (path.starts_with(LR"(\\?\)"))
        path.remove_prefix(4);
    return QString::fromWCharArray(path.data(), static_cast<qsizetype>(path.size())).toUtf8();
}

bool Handle::Close() {
    const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
    return handle == INVALID_HANDLE_VALUE || handle == nullptr || ::CloseHandle(handle) != 0;
}

HANDLE OpenShared(const QByteArray& path, DWORD access, DWORD disposition, DWORD flags) {
    return ::CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         disposition, flags | FILE_ATTRIBUTE_NORMAL, nullptr);
}

namespace {

// A FILETIME counts 100-nanosecond steps since 1601.
std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
}

} // namespace

// The volume's serial number and the file's index stand for the device and
// the inode; the change time, which no tool can set back, comes with the
// file's basic information.
std::optional<FileFacts> FactsOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(file, &info) == 0)
        return std::nullopt;
    FILE_BASIC_INFO basic{};
    const std::int64_t modified = Ticks(info.ftLastWriteTime);
    const std::int64_t changed = ::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) != 0
                                     ? basic.ChangeTime.QuadPart
                                     : modified;
    constexpr std::int64_t kTicksPerSecond = 10'000'000;
    FileFacts facts;
    facts.regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    facts.link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.identity.device = info.dwVolumeSerialNumber;
    facts.identity.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    facts.identity.size = static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
    facts.identity.modifiedSeconds = modified / kTicksPerSecond;
    facts.identity.modifiedNanoseconds = modified % kTicksPerSecond * 100;
    facts.identity.changedSeconds = changed / kTicksPerSecond;
    facts.identity.changedNanoseconds = changed % kTicksPerSecond * 100;
    facts.links = info.nNumberOfLinks;
    return facts;
}

bool NothingThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::pair<QByteArray, QByteArray> SplitPath(const QByteArray& path) {
    const qsizetype cut = std::max(path.lastIndexOf('\\'), path.lastIndexOf('/'));
    if (cut < 0)
        return {QByteArrayLiteral("."), path};
    return {DirectoryOf(FilePath::FromNative(path)).Native(), path.mid(cut + 1)};
}

QByteArray FollowLinks(const QByteArray& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    const Handle file(OpenShared(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    if (!file.Valid())
        return path;
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD size = ::GetFinalPathNameByHandleW(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (size == 0)
            break;
        if (size < buffer.size())
            return Narrow(std::wstring_view(buffer.data(), size));
        buffer.resize(size + 1);
    }
    return path;
}

} // namespace tavolin
