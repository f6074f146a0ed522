#include "support/folder_state.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace tavolin::test {

FolderState StateOf(const QString& folder) {
    FolderState state;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        struct stat info {};
        std::string& entry = state[name.toStdString()];
        if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
            entry = "unreadable";
        } else if (S_ISDIR(info.st_mode)) {
            entry = "folder";
        } else if (S_ISFIFO(info.st_mode)) {
            entry = "fifo";
        } else if (!S_ISREG(info.st_mode)) {
            entry = "other";
        } else {
            QFile file(path);
            QCryptographicHash hash(QCryptographicHash::Sha256);
            entry = file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result().toHex().toStdString()
                                                                          : "unreadable";
        }
    }
    return state;
}

} // namespace tavolin::test
