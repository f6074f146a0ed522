#include "support/form_fixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace tavolin::test {

void FormFixture::SetUp() {
    ASSERT_TRUE(programDir_.isValid());
    SetProgramFile(QStringLiteral("fnames.dat"), kFemaleBytes);
    SetProgramFile(QStringLiteral("mnames.dat"), kMaleBytes);
}

void FormFixture::TearDown() {
    form_.reset();
}

QString FormFixture::ProgramFile(const QString& name) const {
    return programDir_.filePath(name);
}

void FormFixture::SetProgramFile(const QString& name, std::optional<std::string_view> bytes) {
    if (bytes)
        WriteBytes(ProgramFile(name), *bytes);
    else
        QFile::remove(ProgramFile(name));
}

void FormFixture::CreateForm() {
    FormEnvironment environment{ProgramFile(QStringLiteral("tavolin")), [] { return qint64{1000000000}; },
                                saveFault_.Hook(), [this](int checkpoint) {
                                    if (statisticsCheckpoint_)
                                        statisticsCheckpoint_(checkpoint);
                                }};
    form_ = std::make_unique<TForm1>(platform_, std::move(environment));
}

void FormFixture::ActivateWindow() {
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
}

std::vector<std::string> FormFixture::TabCycle(bool backwards) {
    QWidget* first = Control<QWidget>("Edit1");
    first->setFocus(Qt::TabFocusReason);
    std::vector<std::string> cycle;
    for (int step = 0; step < 64; ++step) {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr)
            break;
        if (step > 0 && focused == first)
            return cycle;
        cycle.push_back(focused->objectName().toStdString());
        if (backwards)
            QTest::keyClick(focused, Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(focused, Qt::Key_Tab);
    }
    ADD_FAILURE() << "Tab does not come back to Edit1";
    return cycle;
}

} // namespace tavolin::test
