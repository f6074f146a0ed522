// The file layer's primitives on Windows.

#include "fileio/common.h"
#include "fileio/common_windows.h"
#include "fileio/system.h"

#include <QFileInfo>
#include <algorithm>

namespace tavolin {
namespace {

class WindowsFile : public SystemFile {
public:
    explicit WindowsFile(HANDLE handle) : handle_(handle) {}

    bool Valid() const { return handle_.Valid(); }
    std::optional<FileFacts> Facts() override { return FactsOf(handle_.Get()); }
    std::optional<std::size_t> Read(char* into, std::size_t size) override {
        DWORD got = 0;
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30));
        if (::ReadFile(handle_.Get(), into, wanted, &got, nullptr) == 0)
            return std::nullopt;
        return got;
    }
    bool WriteAt(std::string_view bytes, std::uint64_t offset) override {
        while (!bytes.empty()) {
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(offset);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            DWORD written = 0;
            const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), std::size_t{1} << 30));
            if (::WriteFile(handle_.Get(), bytes.data(), size, &written, &at) == 0 || written == 0)
                return false;
            bytes.remove_prefix(written);
            offset += written;
        }
        return true;
    }
    bool Truncate(std::uint64_t size) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(size);
        return ::SetFilePointerEx(handle_.Get(), at, nullptr, FILE_BEGIN) != 0 && ::SetEndOfFile(handle_.Get()) != 0;
    }
    NativeFile Native() const override { return handle_.Get(); }
    bool Sync() override { return ::FlushFileBuffers(handle_.Get()) != 0; }

protected:
    Handle handle_;
};

// The new file of a save, under a name (TemporaryName) that tells which file
// it was for.
class NewWindowsFile final : public WindowsFile {
public:
    NewWindowsFile(HANDLE handle, QByteArray path, QByteArray target, bool replacing)
        : WindowsFile(handle), path_(std::move(path)), target_(std::move(target)), replacing_(replacing) {}
    ~NewWindowsFile() override {
        handle_.Close();
        if (!path_.isEmpty())
            ::DeleteFileW(Wide(path_).c_str());
    }

    // ReplaceFileW keeps what the old file had that a new one lacks (its
    // creation time, streams, object ID, the access list once more); a file
    // that was not there is moved into place. Both reach the disk before
    // they return.
    std::optional<FileIdentity> Replace() override {
        if (!handle_.Close()) // a write may fail only here
            return std::nullopt;
        const std::wstring target = Wide(target_);
        const std::wstring path = Wide(path_);
        if (replacing_ ? ::ReplaceFileW(target.c_str(), path.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                                        nullptr) == 0
                       : ::MoveFileExW(path.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) == 0)
            return std::nullopt;
        path_.clear();
        const Handle written(OpenShared(target_, 0));
        const std::optional<FileFacts> facts = written.Valid() ? FactsOf(written.Get()) : std::nullopt;
        if (!facts)
            return std::nullopt;
        return facts->identity;
    }

private:
    QByteArray path_; // empty once it took the target's place
    QByteArray target_;
    bool replacing_;
};

class WindowsPrimitives final : public FilePrimitives {
public:
    Opened Open(const FilePath& path, Opening how) override {
        // A private file's link or junction is opened itself, and a folder is
        // opened too, to be told apart. The owner is not asked: the user's
        // local application data is his alone by its access list.
        constexpr DWORD kItself = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;
        const HANDLE handle = how == Opening::ReadWrite
                                  ? OpenShared(path.Native(), GENERIC_READ | GENERIC_WRITE)
                                  : OpenShared(path.Native(), GENERIC_READ, OPEN_EXISTING,
                                               FILE_FLAG_SEQUENTIAL_SCAN | (how == Opening::ReadPrivate ? kItself : 0));
        const DWORD error = ::GetLastError();
        if (handle == INVALID_HANDLE_VALUE)
            return {nullptr, how == Opening::ReadPrivate && error == ERROR_ACCESS_DENIED};
        return {std::make_unique<WindowsFile>(handle), false};
    }

    Created CreateFor(const FilePath& target, bool replacing, bool) override {
        const auto [folder, name] = SplitPath(target.Native());
        QByteArray temporary;
        Handle file;
        for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
            temporary = folder + (folder.endsWith('\\') ? "" : "\\") + TemporaryName(name);
            file.Reset(OpenShared(temporary, GENERIC_WRITE | DELETE | WRITE_DAC | READ_CONTROL, CREATE_NEW));
            if (!file.Valid() && ::GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        if (!file.Valid())
            return {nullptr, ::GetLastError() == ERROR_ACCESS_DENIED};
        return {std::make_unique<NewWindowsFile>(file.Release(), temporary, target.Native(), replacing), false};
    }

    // Windows' locks on a file's bytes are mandatory: a locked byte can be
    // neither read nor written through any other handle, the holder's own
    // included. The byte locked lies far beyond the end of any database.
    RangeLock LockRange(const FilePath& target) override {
        auto file = std::make_unique<WindowsFile>(OpenShared(target.Native(), GENERIC_READ));
        const std::optional<FileFacts> facts = file->Valid() ? file->Facts() : std::nullopt;
        if (!facts || !facts->regular)
            return {};
        OVERLAPPED at{};
        at.OffsetHigh = 0x7FFFFFFF;
        if (::LockFileEx(file->Native(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0)
            return {LockResult::Locked, std::move(file)};
        return {::GetLastError() == ERROR_LOCK_VIOLATION ? LockResult::Busy : LockResult::Unsupported, nullptr};
    }
};

} // namespace

FilePrimitives& PlatformPrimitives() {
    static WindowsPrimitives primitives;
    return primitives;
}

Look LookAt(const FilePath& path, bool followLinks) {
    const Handle file(OpenShared(path.Native(), 0, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT)));
    if (!file.Valid())
        return {std::nullopt, NothingThere(::GetLastError())};
    return {FactsOf(file.Get()), false};
}

// Protected by the user (read-only) or by its access list. ReplaceFileW would
// only ask to delete it.
bool MayWrite(const FilePath& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path.Native()).c_str());
    const Handle writable(OpenShared(path.Native(), GENERIC_WRITE));
    return (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) && writable.Valid();
}

LockFileName LockFileNameOf(const QByteArray& lockFile) {
    // QLockFile takes the path as UTF-16, as Windows does: any folder name.
    return {QString::fromUtf8(lockFile), nullptr};
}

bool ProcessRuns(qint64 pid, const QString& application) {
    const Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (!process.Valid())
        return ::GetLastError() == ERROR_ACCESS_DENIED; // another user's
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(process.Get(), &exitCode) != 0 && exitCode != STILL_ACTIVE)
        return false;
    // A process number used again by another program holds no lock.
    std::wstring image(32768, L'\0');
    auto size = static_cast<DWORD>(image.size());
    if (application.isEmpty() || ::QueryFullProcessImageNameW(process.Get(), 0, image.data(), &size) == 0)
        return true;
    const QString running = QFileInfo(QString::fromWCharArray(image.data(), size)).fileName();
    return running.compare(QFileInfo(application).fileName(), Qt::CaseInsensitive) == 0;
}

} // namespace tavolin
