#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

namespace tavolin {

enum class MessageIcon { Stop, Exclamation, Information };

// One of the window's standard file dialogs. The filter is kept as pairs of
// description and pattern, all separated by "|".
struct FileDialogSpec {
    QString objectName;
    QString title;
    QString filter;
    QString defaultSuffix;
    bool confirmOverwrite = false; // save dialogs only
};

// A font chosen in the font dialog, with its colour.
struct ChosenFont {
    QFont font;
    QColor color;
};

// The one door to the desktop: message boxes, the standard dialogs, the
// clipboard and the quit request. The program uses the Qt implementation;
// tests hand in a scripted one that records every box and answers every
// dialog. Each dialog is kept for the whole run under its objectName, so it
// remembers its last folder and choice.
class Platform {
public:
    virtual ~Platform() = default;

    // A modal box with the text, the caption, the icon and a single OK button.
    virtual void ShowMessage(const QString& text, const QString& caption, MessageIcon icon) = 0;
    // A modal question with the warning icon and the buttons "Ja" and "Nein"
    // ("Nein" is the default); true for "Ja".
    virtual bool AskYesNo(const QString& text, const QString& caption) = 0;
    // The chosen file's full path, or nothing when the user cancels.
    virtual std::optional<QString> OpenFile(const FileDialogSpec& dialog) = 0;
    virtual std::optional<QString> SaveFile(const FileDialogSpec& dialog) = 0;
    virtual std::optional<QColor> ChooseColor(const QString& objectName, const QColor& initial) = 0;
    virtual std::optional<ChosenFont> ChooseFont(const QString& objectName, const ChosenFont& initial) = 0;
    virtual void CopyToClipboard(const QString& text) = 0;
    // Ends the event loop as soon as it runs (or at once, if it is running).
    virtual void PostQuit() = 0;
};

} // namespace tavolin
