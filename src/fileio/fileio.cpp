#include "fileio/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

SaveFaultHook& FaultHook() {
    static SaveFaultHook hook;
    return hook;
}

bool Injected(SaveStep step) {
    const auto& hook = FaultHook();
    return hook && hook(step);
}

// Closes a POSIX descriptor when the reader leaves, whichever way.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::string OpenErrorText(const QString& path) {
    return u"Datei %1 kann nicht geöffnet werden"_s.arg(path).toStdString();
}

std::string CreateErrorText(const QString& path) {
    return u"Datei %1 kann nicht erstellt werden"_s.arg(path).toStdString();
}

QString JoinPath(const QString& dir, const QString& fileName) {
    return dir + QDir::separator() + fileName;
}

QString DirectoryOf(const QString& filePath) {
    const QString native = QDir::toNativeSeparators(filePath);
    const qsizetype cut = native.lastIndexOf(QDir::separator());
    if (cut < 0)
        return QString();
    if (cut == 0 || (cut == 2 && native.at(1) == u':'))
        return native.left(cut + 1); // a root keeps its separator
    return native.left(cut);
}

std::string ReadFileBytes(const QString& path) {
    // Plain POSIX reads: the whole file goes straight into one buffer, which
    // matters for databases of millions of names.
    const QByteArray encoded = QFile::encodeName(path);
    Descriptor fd(::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw FileError(OpenErrorText(path));

    // One byte more than the file holds: the read that meets its end then
    // needs no larger buffer, which would copy the whole file once more.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() + 65536); // the file grew while we read
        const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(OpenErrorText(path));
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

void SaveFileAtomically(const QString& path, std::string_view bytes) {
    // QSaveFile on Qt 6.4 ignores a failed final flush and sync errors, and a
    // short write is not an error to it, so every step is checked here before
    // commit(); cancelWriting() leaves the old file untouched.
    QSaveFile file(path);
    const auto fail = [&] {
        file.cancelWriting();
        throw FileError(CreateErrorText(path));
    };
    if (Injected(SaveStep::Open) || !file.open(QIODevice::WriteOnly))
        fail();
    for (std::size_t done = 0; done < bytes.size(); done += kSaveChunkSize) {
        const std::string_view piece = bytes.substr(done, kSaveChunkSize);
        const auto size = static_cast<qint64>(piece.size());
        if (Injected(SaveStep::Write)) {
            // What a full disk does: part of the piece reaches the new file.
            file.write(piece.data(), size / 2);
            fail();
        }
        if (file.write(piece.data(), size) != size)
            fail();
    }
    if (Injected(SaveStep::Flush) || !file.flush())
        fail();
    if (Injected(SaveStep::Sync) || ::fsync(file.handle()) != 0)
        fail();
    if (Injected(SaveStep::Commit)) {
        file.cancelWriting();
        throw FileError(CreateErrorText(path));
    }
    if (!file.commit())
        throw FileError(CreateErrorText(path));
}

void SetSaveFaultHookForTesting(SaveFaultHook hook) {
    FaultHook() = std::move(hook);
}

} // namespace tavolin
