#include "support/form_fixture.h"

#include <QFile>

namespace tavolin::test {

void FormFixture::SetUp() {
    ASSERT_TRUE(programDir.isValid());
    SetProgramFile(QStringLiteral("fnames.dat"), kFemaleBytes);
    SetProgramFile(QStringLiteral("mnames.dat"), kMaleBytes);
}

void FormFixture::TearDown() {
    form.reset();
}

QString FormFixture::ProgramFile(const QString& name) const {
    return programDir.filePath(name);
}

void FormFixture::SetProgramFile(const QString& name, std::optional<std::string_view> bytes) {
    if (bytes)
        WriteBytes(ProgramFile(name), *bytes);
    else
        QFile::remove(ProgramFile(name));
}

void FormFixture::CreateForm() {
    FormEnvironment environment{ProgramFile(QStringLiteral("tavolin")), [] { return qint64{1000000000}; }};
    form = std::make_unique<TForm1>(platform, std::move(environment));
}

} // namespace tavolin::test
