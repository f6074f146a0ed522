#include "support/immutable_folder.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tavolin::test {

ImmutableFolder::ImmutableFolder(const QString& path)
    : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY)) {
    if (fd_ < 0 || ::ioctl(fd_, FS_IOC_GETFLAGS, &flags_) != 0) {
        failure_ = std::strerror(errno);
        return;
    }
    int immutable = flags_ | FS_IMMUTABLE_FL;
    if (::ioctl(fd_, FS_IOC_SETFLAGS, &immutable) != 0)
        failure_ = std::strerror(errno);
    else
        set_ = true;
}

void ImmutableFolder::Release() {
    if (set_)
        ::ioctl(fd_, FS_IOC_SETFLAGS, &flags_);
    set_ = false;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace tavolin::test
