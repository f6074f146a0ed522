#include "support/testfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

namespace tavolin::test {

bool LockFileHeldHere(const FilePath& file) {
    try {
        const std::string holder = std::to_string(QCoreApplication::applicationPid()) + '\n';
        return ReadFileBytes(FilePath::FromNative(file.Native() + ".lock")).starts_with(holder);
    } catch (const FileError&) {
        return false;
    }
}

void WriteBytes(const QString& path, std::string_view bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

std::string ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll().toStdString();
}

bool Exists(const QString& path) {
    return QFile::exists(path);
}

bool InCi() {
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

} // namespace tavolin::test
