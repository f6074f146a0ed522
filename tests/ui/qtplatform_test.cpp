#include "fileio/fileio.h"
#include "support/form_fixture.h"
#include "ui/dialogs.h"
#include "ui/qtplatform.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

namespace tavolin::test {
namespace {

using namespace Qt::StringLiterals;

// Runs `answer` on the next modal dialog as soon as the event loop of the one
// being opened runs.
template <class Dialog>
void AnswerNextDialog(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no dialog of the expected kind";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        answer(*dialog);
    });
}

// A name typed without extension means the file with the default extension
// in any case; the typed part and names with an extension are taken as they
// are.
TEST(DefaultSuffixTest, TypedNamesFindTheirFileWhateverTheExtensionsCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* file : {"upper.DAT", "mixed.Dat", "both.DAT", "both.dat", "plain", "dotted.txt", "Meine.dat"})
        WriteBytes(dir.filePath(QString::fromLatin1(file)), "x");
    QDir(dir.path()).mkdir(u"folder"_s);
    struct Case {
        const char* typed;
        const char* suffix;
        const char* means;
    };
    const Case cases[] = {
        {"upper", "DAT", "upper.DAT"}, {"mixed", "DAT", "mixed.Dat"},       {"both", "DAT", "both.dat"},
        {"new", "DAT", "new.dat"},     {"new", "ini", "new.ini"},           {"plain", "DAT", "plain"},
        {"folder", "DAT", "folder"},   {"dotted.txt", "DAT", "dotted.txt"}, {"gone.txt", "DAT", "gone.txt"},
        {"meine", "DAT", "meine.dat"}, // the typed part keeps its case
        {"upper", "", "upper"},
    };
    for (const Case& c : cases) {
        const QString typed = dir.filePath(QString::fromLatin1(c.typed));
        EXPECT_EQ(QtPlatform::ResolveDefaultSuffix(typed, QString::fromLatin1(c.suffix)),
                  dir.filePath(QString::fromLatin1(c.means)))
            << c.typed << " with " << c.suffix;
    }
}

class DesktopDialogsTest : public BuiltFormFixture {
protected:
    void SetUp() override {
        BuiltFormFixture::SetUp();
        if (HasFatalFailure())
            return;
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        desktop_.SetDialogParent(form_.get());
    }

    QtPlatform desktop_;
};

// Return while the completion list is open accepts the dialog, and the list
// goes with it, so the next click reaches the window. A name typed without
// its extension finds the file with the lower-case one.
TEST_F(DesktopDialogsTest, ReturnInTheCompletionListLeavesNoPopupBehind) {
    WriteBytes(ProgramFile(u"meine.dat"_s), "Eva\xB3");
    for (const char* typed : {"meine.dat", "meine"}) {
        SCOPED_TRACE(typed);
        bool listShown = false;
        AnswerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>(u"fileNameEdit"_s);
            ASSERT_NE(edit, nullptr);
            dialog.setDirectory(programDir_.path());
            edit->setFocus();
            edit->clear();
            QTest::keyClicks(edit, QString::fromLatin1(typed));
            // The folder is listed in the background; the list opens as soon
            // as it has the name, as it does for a user who types on.
            QCompleter* completer = edit->completer();
            listShown = completer && QTest::qWaitFor([&] {
                            if (!completer->popup()->isVisible() && completer->completionCount() > 0)
                                completer->complete();
                            return completer->popup()->isVisible();
                        });
            EXPECT_EQ(QApplication::activePopupWidget(), listShown ? completer->popup() : nullptr);
            QTest::keyClick(listShown ? static_cast<QWidget*>(completer->popup()) : edit, Qt::Key_Return);
            if (dialog.isVisible())
                dialog.reject();
        });
        // A new dialog each time: a kept one would show the last choice.
        QtPlatform fresh;
        fresh.SetDialogParent(form_.get());
        const std::optional<QString> chosen = fresh.OpenFile(kOpenDialog1);
        EXPECT_TRUE(listShown);
        EXPECT_EQ(chosen, QDir::toNativeSeparators(ProgramFile(u"meine.dat"_s)));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
}

// The save dialog refuses a folder that does not exist, in the dialog
// itself, and stays open; in an existing folder the name gets ".ini".
TEST_F(DesktopDialogsTest, SaveDialogRefusesAMissingFolder) {
    const QString missing = QDir(programDir_.path()).filePath(u"fehlt/design"_s);
    QString refusal;
    AnswerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>(u"fileNameEdit"_s);
        ASSERT_NE(edit, nullptr);
        edit->setText(missing);
        AnswerNextDialog<QMessageBox>([&](QMessageBox& box) {
            refusal = box.windowTitle() + u'|' + box.text();
            box.accept();
        });
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        edit->setText(ProgramFile(u"meinDesign"_s));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(desktop_.SaveFile(kSaveDialog1), QDir::toNativeSeparators(ProgramFile(u"meinDesign.ini"_s)));
    EXPECT_EQ(refusal, u"Oberfläche abspeichern...|"_s + QDir::toNativeSeparators(QFileInfo(missing).absolutePath()) +
                           u"\nDas Verzeichnis konnte nicht gefunden werden.\n"
                           u"Stellen Sie sicher, dass der Verzeichnisname richtig ist."_s);
}

// The font dialog opens on the family that the window's font is drawn with,
// and OK without a change gives the window's font back as it was, under the
// name the settings file records.
TEST_F(DesktopDialogsTest, FontDialogOpensOnTheShownFontAndOkKeepsIt) {
    const QFont windowFont = form_->font();
    ASSERT_EQ(windowFont.family(), u"MS Sans Serif"_s);
    QString preselected;
    AnswerNextDialog<QFontDialog>([&](QFontDialog& dialog) {
        preselected = dialog.currentFont().family() + u'/' + QString::number(dialog.currentFont().pointSize());
        dialog.accept();
    });
    const std::optional<ChosenFont> chosen = desktop_.ChooseFont(kFontDialog1, {windowFont, Qt::black});
    EXPECT_EQ(preselected, QFontInfo(windowFont).family() + u"/8"_s);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->font, windowFont);
}

// The desktop's font dialog, kept per name, offers the colour beside the
// other effects and hands it back with the font.
TEST(QtFontDialogTest, ColourButtonChoosesTheFontColour) {
    QtPlatform desktop;
    QFont initial(u"DejaVu Sans"_s);
    initial.setPointSize(12);
    QPointer<QFontDialog> first;
    const auto answer = [&](bool chooseRed) {
        AnswerNextDialog<QFontDialog>([&first, chooseRed](QFontDialog& dialog) {
            EXPECT_TRUE(first.isNull() || first == &dialog);
            first = &dialog;
            EXPECT_TRUE(dialog.testOption(QFontDialog::DontUseNativeDialog));
            auto* button = dialog.findChild<QPushButton*>(u"FontColorButton"_s);
            if (button == nullptr || !chooseRed) {
                EXPECT_NE(button, nullptr);
                dialog.reject();
                return;
            }
            EXPECT_TRUE(button->isVisible());
            const auto* effects = qobject_cast<QGroupBox*>(button->parentWidget());
            EXPECT_TRUE(effects != nullptr && effects->findChild<QCheckBox*>() != nullptr);
            EXPECT_EQ(button->toolTip(), u"#000080"_s); // the preset colour as its swatch
            AnswerNextDialog<QColorDialog>([](QColorDialog& colors) {
                colors.setCurrentColor(Qt::red);
                colors.accept();
            });
            button->click();
            EXPECT_EQ(button->toolTip(), u"#ff0000"_s);
            dialog.accept();
        });
    };
    answer(true);
    const std::optional<ChosenFont> chosen = desktop.ChooseFont(kFontDialog1, {initial, QColor(0, 0, 128)});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->color, QColor(Qt::red));
    EXPECT_EQ(chosen->font.pointSize(), 12);
    answer(false);
    EXPECT_FALSE(desktop.ChooseFont(kFontDialog1, {initial, Qt::black}).has_value());
}

} // namespace
} // namespace tavolin::test
