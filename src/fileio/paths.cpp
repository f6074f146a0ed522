#include "fileio/paths.h"

#include "fileio/common.h"

#include <QStringDecoder>
#include <utility>

namespace tavolin {

FilePath FilePath::FromNative(QByteArray bytes) {
    FilePath path;
    path.native_ = std::move(bytes);
    return path;
}

QString FilePath::Display() const {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(native_);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    return windows1252.decode(native_);
}

FilePath RenameAside(const FilePath& path) {
    for (int number = 1; number <= 100; ++number) {
        QByteArray aside = path.Native() + ".beiseite";
        if (number > 1)
            aside += '-' + QByteArray::number(number);
        switch (RenameWithoutReplacing(path, FilePath::FromNative(aside))) {
        case RenameResult::Renamed:
            return FilePath::FromNative(aside);
        case RenameResult::Taken:
            continue;
        case RenameResult::Failed:
            return {};
        }
    }
    return {};
}

} // namespace tavolin
