#pragma once

#include "settings/record.h"
#include "support/save_faults.h"
#include "support/scripted_platform.h"
#include "support/testfiles.h"
#include "ui/tform1.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavolin::test {

// What the user reads on a control: a caption, a group's title, or what an
// edit, the memo or a list holds (the items one a line); empty for others.
QString ShownText(const QWidget* control);

// The general error display's box for an error text.
ScriptedPlatform::Message GeneralError(const std::string& text);
// The box after a failed add whose name is kept in the recovery file.
ScriptedPlatform::Message KeptError(const std::string& text, const FilePath& recovery);
// The box after a merge that added `added` names to the female or male database.
ScriptedPlatform::Message MergeSuccess(std::size_t added, bool female = true);
// The box after a change that wrote `count` names an earlier one could not.
ScriptedPlatform::Message Recovered(std::size_t count, bool female = true);

// A program directory in a temporary folder with known databases, and the
// real window built on it with a scripted platform.
class FormFixture : public ::testing::Test {
protected:
    // Small well-formed databases used unless a test writes its own.
    static constexpr std::string_view kFemaleBytes = "Anna\xB3\r\nBerta\xB3\r\nClara\xB3\r\n";
    static constexpr std::string_view kMaleBytes = "Anton\xB3\r\nBernd\xB3\r\n";

    void SetUp() override;
    void TearDown() override;

    QString ProgramFile(const QString& name) const;
    // Where the window keeps the names its databases could not take.
    QString RecoveryFolder() const;
    // The recovery files in it: one for each database whose names are kept.
    QStringList RecoveryFiles() const;
    // Writes a file into the program directory; nothing means "remove it".
    void SetProgramFile(const QString& name, std::optional<std::string_view> bytes);

    // Builds the window; the databases are the defaults above unless set.
    void CreateForm();
    // Builds the window on these settings file bytes; nothing means no file.
    void CreateFormWithSettings(std::optional<std::string_view> bytes);

    QString SettingsPath() const;
    RecordLines WrittenSettings() const;
    // Closes the window as the user does; true when it closed and is gone.
    bool CloseForm();
    // Closes the window, checks the settings file it wrote and drops it.
    void ExpectClosedWithSettings(const RecordLines& lines);
    // Appearance as the window holds it; the defaults are the window description's.
    void ExpectAppearance(Color input = kWhite, Color board = kSilver, Color background = kSilver,
                          FontReference font = FontReference::WindowFont);

    // Chooses the gender by a click and types the name, as the user would;
    // AddName clicks Button2 then.
    void EnterName(bool female, const QString& name);
    void AddName(bool female, const QString& name);

    // Writes a file into the foreign folder; returns its native path.
    QString ForeignFile(const char* name, std::string_view bytes) const;
    // Clicks Button5 with this answer queued for its open dialog.
    void ClickLoad(const std::optional<QString>& answer);
    // Chooses the database to merge into, then clicks Button6.
    void ClickMerge(bool female);

    // Shows the window and makes it the active one, as the keyboard needs.
    void ActivateWindow();
    // The names of the controls that Tab (or Shift+Tab) visits, starting at
    // Edit1, once round.
    std::vector<std::string> TabCycle(bool backwards = false, const char* first = "Edit1");

    // Panel2, Panel5 and Panel6 as shown, and as they read for these counts.
    QStringList CountCaptions();
    static QStringList CountCaptions(std::size_t female, std::size_t male);
    // Panel9 once a foreign database of `count` names is loaded.
    static QString LoadedCaption(std::size_t count);

    template <class T>
    T* Control(const char* objectName) {
        T* control = form_->findChild<T*>(QString::fromLatin1(objectName));
        EXPECT_NE(control, nullptr) << "no control " << objectName;
        return control;
    }

    QTemporaryDir programDir_;
    // A folder outside the program directory, for foreign databases.
    QTemporaryDir foreignDir_;
    QTemporaryDir stateDir_;
    // The shipped databases and the user's folder, as a system-wide install
    // has them: in a folder of their own, neither created yet.
    QTemporaryDir dataRoot_;
    DataFolders dataFolders_;
    ScriptedPlatform platform_;
    // The faults of the window's saves (its databases' and its settings',
    // not the recovery files'): none unless a test sets them. A statistics
    // checkpoint hook makes the work fail by throwing.
    SaveFault saveFault_{[](const FilePath& file) { return !IsRecoveryFile(file); }};
    std::function<void(int checkpoint)> statisticsCheckpoint_;
    std::unique_ptr<TForm1> form_;
};

// The fixture with the window already built on the default files.
class BuiltFormFixture : public FormFixture {
protected:
    void SetUp() override;
};

} // namespace tavolin::test
