#include "fileio/common_unix.h"

#include <array>
#include <cerrno>
#include <climits>
#include <unistd.h>

namespace tavolin {

bool Descriptor::Close() {
    const int fd = std::exchange(fd_, -1);
    return fd < 0 || ::close(fd) == 0;
}

FileIdentity IdentityFrom(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev),         static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),         static_cast<std::int64_t>(info.st_mtim.tv_sec),
            static_cast<std::int64_t>(info.st_mtim.tv_nsec), static_cast<std::int64_t>(info.st_ctim.tv_sec),
            static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
}

std::pair<QByteArray, QByteArray> SplitPath(const QByteArray& path) {
    const qsizetype cut = path.lastIndexOf('/');
    if (cut < 0)
        return {QByteArrayLiteral("."), path};
    return {cut == 0 ? QByteArrayLiteral("/") : path.left(cut), path.mid(cut + 1)};
}

std::optional<QByteArray> LinkTarget(const char* path) {
    std::array<char, PATH_MAX> target{};
    const ssize_t size = ::readlink(path, target.data(), target.size());
    if (size < 0 || size == static_cast<ssize_t>(target.size()))
        return std::nullopt;
    return QByteArray(target.data(), size);
}

QByteArray FollowLinks(QByteArray path) {
    for (int depth = 0; depth < 40; ++depth) {
        std::optional<QByteArray> next = LinkTarget(path.constData());
        if (!next)
            break;
        if (!next->startsWith('/'))
            next = SplitPath(path).first + '/' + *next;
        path = *std::move(next);
    }
    return path;
}

bool WriteAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

bool WritePieces(int fd, std::string_view bytes, off_t offset, const SaveFaultHook& faults) {
    for (std::size_t done = 0; done < bytes.size(); done += kSaveChunkSize) {
        if (SaveStepFails(faults, SaveStep::Write) ||
            !WriteAt(fd, bytes.substr(done, kSaveChunkSize), offset + static_cast<off_t>(done)))
            return false;
    }
    return true;
}

bool ReadAll(int fd, std::string& bytes, std::uint64_t maxSize) {
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxSize)
                break;                          // the caller refuses what it holds by now
            bytes.resize(bytes.size() + 65536); // the file grew while we read
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return true;
}

} // namespace tavolin
