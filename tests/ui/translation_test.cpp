#include "ui/translation.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace tavolin::test {
namespace {

struct DialogRow {
    const char* what;
    std::function<std::unique_ptr<QDialog>()> create;
    QStringList texts; // each must be on one of the dialog's buttons, labels or frames
};

// Qt's own dialogs, as the platform shows them when the desktop has none of
// its own.
std::unique_ptr<QDialog> FileDialog(QFileDialog::AcceptMode mode) {
    auto dialog = std::make_unique<QFileDialog>(nullptr, u"Wuzelnamen-Datenbank öffnen"_s);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(mode);
    return dialog;
}

const DialogRow kDialogs[] = {
    {"message box",
     [] {
         return std::make_unique<QMessageBox>(QMessageBox::Critical, u"Fehler"_s, u"Text"_s,
                                              QMessageBox::Ok | QMessageBox::Cancel);
     },
     {u"OK"_s, u"Abbrechen"_s}},
    {"open dialog",
     [] { return FileDialog(QFileDialog::AcceptOpen); },
     {u"Öffnen"_s, u"Abbrechen"_s, u"Suchen in:"_s, u"Dateiname:"_s, u"Dateien des Typs:"_s}},
    {"save dialog",
     [] { return FileDialog(QFileDialog::AcceptSave); },
     {u"Speichern"_s, u"Abbrechen"_s, u"Dateiname:"_s}},
    {"colour dialog",
     [] {
         auto dialog = std::make_unique<QColorDialog>();
         dialog->setOption(QColorDialog::DontUseNativeDialog);
         return dialog;
     },
     {u"OK"_s, u"Abbrechen"_s, u"Grundfarben"_s, u"Benutzerdefinierte Farben"_s, u"Rot:"_s}},
    {"font dialog",
     [] {
         auto dialog = std::make_unique<QFontDialog>();
         dialog->setOption(QFontDialog::DontUseNativeDialog);
         return dialog;
     },
     {u"OK"_s, u"Abbrechen"_s, u"Schriftart"_s, u"Schriftstil"_s, u"Größe"_s, u"Unterstrichen"_s,
      u"Durchgestrichen"_s}},
    {"question before closing with unsaved names",
     [] {
         return std::make_unique<QMessageBox>(QMessageBox::Warning, u"Namen nicht gespeichert"_s, u"Text"_s,
                                              QMessageBox::Yes | QMessageBox::No);
     },
     {u"Ja"_s, u"Nein"_s}},
};

// What the user reads on the dialog, accelerator marks left out.
QStringList TextsOf(const QDialog& dialog) {
    QStringList texts;
    for (const auto* button : dialog.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const auto* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (const auto* frame : dialog.findChildren<QGroupBox*>())
        texts << frame->title();
    texts.replaceInStrings(u"&"_s, QString());
    return texts;
}

class GermanTranslationTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (translator_ != nullptr) {
            QCoreApplication::removeTranslator(translator_);
            delete translator_;
        }
    }
    QTranslator* translator_ = nullptr;
};

TEST_F(GermanTranslationTest, StandardDialogsReadGerman) {
    translator_ = InstallGermanTranslation(*QCoreApplication::instance());
    ASSERT_NE(translator_, nullptr) << "Qt's German translation (qt6-translations-l10n) is not installed";
    EXPECT_EQ(translator_->parent(), QCoreApplication::instance());
    for (const DialogRow& row : kDialogs) {
        SCOPED_TRACE(row.what);
        const std::unique_ptr<QDialog> dialog = row.create();
        dialog->show(); // a message box makes its buttons when it is shown
        const QStringList texts = TextsOf(*dialog);
        for (const QString& text : row.texts)
            EXPECT_TRUE(texts.contains(text)) << text.toStdString() << " not in " << texts.join(u" | "_s).toStdString();
    }
}

TEST_F(GermanTranslationTest, WithoutTheTranslationDialogsReadEnglish) {
    // The same dialogs before anything is installed: the German texts above
    // come from the translation, not from the desktop's language.
    const std::unique_ptr<QDialog> dialog = kDialogs[1].create();
    dialog->show();
    EXPECT_TRUE(TextsOf(*dialog).contains(u"Cancel"_s));
}

} // namespace
} // namespace tavolin::test
