#include "support/form_fixture.h"

#include "support/form_peer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace tavolin::test {

using namespace Qt::StringLiterals;

void FormFixture::SetUp() {
    ASSERT_TRUE(programDir_.isValid());
    ASSERT_TRUE(foreignDir_.isValid());
    ASSERT_TRUE(stateDir_.isValid());
    SetProgramFile(QStringLiteral("fnames.dat"), kFemaleBytes);
    SetProgramFile(QStringLiteral("mnames.dat"), kMaleBytes);
    dataFolders_ = {dataRoot_.filePath(u"share/tavolin"_s), dataRoot_.filePath(u"home/.local/share/tavolin"_s),
                    RecoveryFolder()};
}

void FormFixture::TearDown() {
    form_.reset();
}

QString FormFixture::RecoveryFolder() const {
    return stateDir_.filePath(u"tavolin"_s);
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
    FormEnvironment environment{ProgramFile(QStringLiteral("tavolin")), dataFolders_,
                                [] { return qint64{1000000000}; }};
    form_ = std::make_unique<TForm1>(platform_, std::move(environment));
    FormPeer::SetStatisticsCheckpoints(*form_, [this](int checkpoint) {
        if (statisticsCheckpoint_)
            statisticsCheckpoint_(checkpoint);
    });
}

void FormFixture::CreateFormWithSettings(std::optional<std::string_view> bytes) {
    SetProgramFile(u"tavolin.ini"_s, bytes);
    CreateForm();
}

QString FormFixture::SettingsPath() const {
    return ProgramFile(u"tavolin.ini"_s);
}

RecordLines FormFixture::WrittenSettings() const {
    return SplitRecordLines(ReadBytes(SettingsPath()));
}

bool FormFixture::CloseForm() {
    form_->show();
    return form_->close() && !form_->isVisible();
}

void FormFixture::ExpectClosedWithSettings(const RecordLines& lines) {
    EXPECT_TRUE(CloseForm());
    EXPECT_EQ(WrittenSettings(), lines);
    form_.reset();
}

void FormFixture::ExpectAppearance(Color input, Color board, Color background, FontReference font) {
    const Appearance& appearance = FormPeer::CurrentAppearance(*form_);
    EXPECT_EQ(appearance.InputColor, input);
    EXPECT_EQ(appearance.BoardColor, board);
    EXPECT_EQ(appearance.BackgroundColor, background);
    EXPECT_EQ(appearance.OverallFont, font);
}

void FormFixture::EnterName(bool female, const QString& name) {
    Control<QRadioButton>(female ? "RadioButton1" : "RadioButton2")->click();
    Control<QLineEdit>("Edit2")->setText(name);
}

void FormFixture::AddName(bool female, const QString& name) {
    EnterName(female, name);
    Control<QPushButton>("Button2")->click();
}

QString FormFixture::ForeignFile(const char* name, std::string_view bytes) const {
    QString path = QDir::toNativeSeparators(foreignDir_.filePath(QString::fromLatin1(name)));
    WriteBytes(path, bytes);
    return path;
}

void FormFixture::ClickLoad(const std::optional<QString>& answer) {
    platform_.fileAnswers.push_back(answer);
    Control<QPushButton>("Button5")->click();
}

void FormFixture::ClickMerge(bool female) {
    Control<QRadioButton>(female ? "RadioGroup2Item0" : "RadioGroup2Item1")->setChecked(true);
    Control<QPushButton>("Button6")->click();
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

QString ShownText(const QWidget* control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* panel = qobject_cast<const QLabel*>(control))
        return panel->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(control))
        return group->title();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control))
        return memo->toPlainText();
    if (const auto* list = qobject_cast<const QListWidget*>(control)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        return items.join(u'\n');
    }
    return {};
}

ScriptedPlatform::Message GeneralError(const std::string& text) {
    return {QString::fromUtf8(text) + u'.', u"Tavolin 4.2"_s, MessageIcon::Stop};
}

ScriptedPlatform::Message KeptError(const std::string& text, const FilePath& recovery) {
    return GeneralError(text + ". Der Name bleibt im Programm und ist in " + recovery.Display().toStdString() +
                        " gesichert; Tavolin trägt ihn beim nächsten Speichern oder Start ein");
}

ScriptedPlatform::Message MergeSuccess(std::size_t added, bool female) {
    return {u"Die Verschmelzung der Datenbanken war erfolgreich. Es wurde(n) "_s + QString::number(added) +
                u" neue(r) Name(n) in die "_s + (female ? u"weibliche"_s : u"männliche"_s) +
                u" Namen-Datenbank eingetragen."_s,
            u"Erfolgreich"_s, MessageIcon::Information};
}

ScriptedPlatform::Message Recovered(std::size_t count, bool female) {
    return {u"%1 Name(n), die zuvor nicht gespeichert werden konnte(n), wurde(n) jetzt in die %2 "
            u"Namen-Datenbank eingetragen."_s.arg(count)
                .arg(female ? u"weibliche"_s : u"männliche"_s),
            u"Namen nachgetragen"_s, MessageIcon::Information};
}

QStringList FormFixture::RecoveryFiles() const {
    return QDir(RecoveryFolder()).entryList({u"*.recovery"_s}, QDir::Files);
}

void BuiltFormFixture::SetUp() {
    FormFixture::SetUp();
    if (!HasFatalFailure())
        CreateForm();
}

void FormFixture::ActivateWindow() {
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
}

std::vector<std::string> FormFixture::TabCycle(bool backwards, const char* firstName) {
    auto* first = Control<QWidget>(firstName);
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
    ADD_FAILURE() << "Tab does not come back to " << firstName;
    return cycle;
}

} // namespace tavolin::test
