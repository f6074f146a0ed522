#include "fileio/common_unix.h"

#include "fileio/system.h"

#include <array>
#include <climits>
#include <unistd.h>

namespace tavolin {

bool Descriptor::Close() {
    const int fd = std::exchange(fd_, -1);
    return fd < 0 || ::close(fd) == 0;
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

QByteArray FollowLinks(const QByteArray& start) {
    QByteArray path = start;
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

} // namespace tavolin
