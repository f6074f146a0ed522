#include "names/encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tavolin {

namespace {
// ICU's converter maps all 256 bytes, the five that Windows-1252 leaves
// undefined to the C1 controls of the same number, so every byte string
// survives a round trip through QString.
constexpr const char* kCodePage = "windows-1252";
} // namespace

QString DecodeName(std::string_view bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::optional<std::string> EncodeName(const QString& text) {
    QStringEncoder encoder(kCodePage);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes.toStdString();
}

} // namespace tavolin
