#pragma once

// What the POSIX implementations of the file layer's parts share. Nothing
// outside src/fileio includes this.

#include "fileio/identity.h"
#include "fileio/save_steps.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <utility>

namespace tavolin {

// Closes a POSIX descriptor when its owner leaves, whichever way.
class Descriptor final {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    int Release() { return std::exchange(fd_, -1); }
    // Whether the descriptor closed cleanly: a file system may report a
    // failed write only here.
    bool Close();

private:
    int fd_;
};

FileIdentity IdentityFrom(const struct stat& info);

// The folder and the name of a path.
std::pair<QByteArray, QByteArray> SplitPath(const QByteArray& path);

// What a link points to, or nothing for what is no link.
std::optional<QByteArray> LinkTarget(const char* path);

// The file a path stands for once every link on its end is followed; a link
// whose file is missing gives the path where that file would be.
QByteArray FollowLinks(QByteArray path);

// Writes every byte at `offset`; false when the system refuses one.
bool WriteAt(int fd, std::string_view bytes, off_t offset);

// Writes the bytes from `offset` on in pieces, each one a Write step of the
// seam. A piece that the seam fails is not written at all: the save goes on
// as after a failed write call.
bool WritePieces(int fd, std::string_view bytes, off_t offset, const SaveFaultHook& faults);

// Reads from the descriptor's position to the end of the file into `bytes`,
// which is sized for what is expected; stops early once more than `maxSize`
// bytes are held.
bool ReadAll(int fd, std::string& bytes, std::uint64_t maxSize);

} // namespace tavolin
