#include "fileio/paths.h"

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

} // namespace tavolin
