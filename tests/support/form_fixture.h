#pragma once

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

// The general error display's box for an error text.
ScriptedPlatform::Message GeneralError(const std::string& text);

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
    // Writes a file into the program directory; nothing means "remove it".
    void SetProgramFile(const QString& name, std::optional<std::string_view> bytes);

    // Builds the window; the databases are the defaults above unless set.
    void CreateForm();

    // Shows the window and makes it the active one, as the keyboard needs.
    void ActivateWindow();
    // The names of the controls that Tab (or Shift+Tab) visits, starting at
    // Edit1, once round.
    std::vector<std::string> TabCycle(bool backwards = false);

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
    ScriptedPlatform platform_;
    // The faults of the window built here: none unless a test sets them. A
    // statistics checkpoint hook makes the work fail by throwing.
    SaveFault saveFault_;
    StatisticsCheckpointHook statisticsCheckpoint_;
    std::unique_ptr<TForm1> form_;
};

} // namespace tavolin::test
