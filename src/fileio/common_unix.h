#pragma once

// What the POSIX primitives of the file layer share. Nothing outside
// src/fileio includes this.

#include "fileio/identity.h"

#include <QByteArray>
#include <QString>
#include <optional>
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

// What a link points to, or nothing for what is no link.
std::optional<QByteArray> LinkTarget(const char* path);

// The calls only Linux has, in system_linux.cpp; system_posix.cpp does
// without them on other systems. CMake builds one of the two.

// The identity, with the times to the nanosecond where the system tells them.
FileIdentity IdentityFrom(const struct stat& info);

// A new file without a name in the folder, so that a crash leaves nothing
// behind; -1 with errno EOPNOTSUPP where the system makes none.
int OpenUnnamed(int folder, mode_t mode);
// Gives the file without a name the name `name` in the folder; false with
// errno set when it cannot.
bool LinkUnnamed(int fd, int folder, const char* name);

// Renames without replacing anything at `to`: 0, or -1 with errno (EINVAL or
// ENOSYS where the system cannot promise it).
int RenameNoReplace(const char* from, const char* to);

// The running program's path, and the program a process runs; nothing where
// the system does not tell.
std::optional<QByteArray> OwnProgramPath();
std::optional<QByteArray> ProgramOfProcess(pid_t pid);

// A name for the file `name` in `folder` that a QString can hold and that is
// short enough, reached through the folder's descriptor, which `held` keeps
// open; empty where there is none.
QString NameThroughFolder(const QByteArray& folder, const QByteArray& name, Descriptor& held);

// Copies the extended attributes (POSIX ACLs among them) of the file at
// `from` to the open file; false when one could not be set.
bool CopyExtendedAttributes(const char* from, int to);

} // namespace tavolin
