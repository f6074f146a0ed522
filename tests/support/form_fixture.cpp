#include "support/form_fixture.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace tavolin::test {

using namespace Qt::StringLiterals;

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
                                saveFault_.Hook(),
                                [this](int checkpoint) {
                                    if (statisticsCheckpoint_)
                                        statisticsCheckpoint_(checkpoint);
                                }};
    form_ = std::make_unique<TForm1>(platform_, std::move(environment));
}

QStringList FormFixture::CountCaptions() {
    return {Control<QLabel>("Panel2")->text(), Control<QLabel>("Panel5")->text(), Control<QLabel>("Panel6")->text()};
}

QStringList FormFixture::CountCaptions(std::size_t female, std::size_t male) {
    return {QString::number(female) + u" weibliche Wuzelnamen in der Datenbank"_s,
            QString::number(male) + u" männliche Wuzelnamen in der Datenbank"_s,
            QString::number(female + male) + u" Wuzelnamen insgesamt in der Datenbank"_s};
}

QString FormFixture::LoadedCaption(std::size_t count) {
    return QString::number(count) + u" Namen in der geladenen Datenbank enthalten"_s;
}

ScriptedPlatform::Message GeneralError(const std::string& text) {
    return {QString::fromUtf8(text) + u'.', u"Tavolin 4.2"_s, MessageIcon::Stop};
}

void FormFixture::ActivateWindow() {
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
}

std::vector<std::string> FormFixture::TabCycle(bool backwards) {
    auto* first = Control<QWidget>("Edit1");
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
