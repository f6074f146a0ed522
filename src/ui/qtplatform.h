#pragma once

#include "ui/platform.h"

#include <QPointer>
#include <map>
#include <memory>

class QColorDialog;
class QFileDialog;
class QWidget;

namespace tavolin {

// The desktop's own message boxes, dialogs and clipboard.
class QtPlatform final : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // The window that owns the boxes and dialogs from now on.
    void SetDialogParent(QWidget* parent);

    void ShowMessage(const QString& text, const QString& caption, MessageIcon icon) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    std::optional<QString> OpenFile(const FileDialogSpec& dialog) override;
    std::optional<QString> SaveFile(const FileDialogSpec& dialog) override;
    std::optional<QColor> ChooseColor(const QString& objectName, const QColor& initial) override;
    std::optional<ChosenFont> ChooseFont(const QString& objectName, const ChosenFont& initial) override;
    void CopyToClipboard(const QString& text) override;
    void PostQuit() override;

    // "Description|pattern|..." pairs as the file dialog's name filters.
    static QStringList NameFilters(const QString& pairs);
    // The file that a path typed into a dialog with this default extension
    // means, as where file names ignore case: a name without extension that
    // does not exist as typed gets the extension of an existing file whose
    // extension differs only in case (the lower-case one first), or else the
    // extension in lower case.
    static QString ResolveDefaultSuffix(const QString& path, const QString& suffix);

private:
    class FileDialog;
    class FontDialog;

    QFileDialog& FileDialogFor(const FileDialogSpec& request, bool save);
    std::optional<QString> RunFileDialog(const FileDialogSpec& request, bool save);

    QPointer<QWidget> parent_;
    // Once the window is their parent, the window takes its dialogs along
    // when it goes; the platform deletes only those still alive at its end.
    std::map<QString, QPointer<QFileDialog>> fileDialogs_;
    std::map<QString, QPointer<QColorDialog>> colorDialogs_;
    std::map<QString, std::unique_ptr<FontDialog>> fontDialogs_;
};

} // namespace tavolin
