#include "ui/qtplatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tavolin {

// The font dialog with the font's colour among its effects, beside strike-out
// and underline: a button that shows the colour as its swatch and opens a
// colour dialog of its own. OK gives name, size, style and colour together.
class QtPlatform::FontDialog final {
public:
    FontDialog(QWidget* parent, const QString& objectName) : dialog_(new QFontDialog(parent)) {
        dialog_->setObjectName(objectName);
        // The desktop's own font dialog could not take the colour button.
        dialog_->setOption(QFontDialog::DontUseNativeDialog);

        QGroupBox* effects = nullptr;
        for (QGroupBox* box : dialog_->findChildren<QGroupBox*>()) {
            if (box->findChild<QCheckBox*>())
                effects = box;
            else if (!sample_)
                sample_ = box->findChild<QLineEdit*>();
        }
        QWidget* home = effects && effects->layout() ? static_cast<QWidget*>(effects) : dialog_.data();
        colorButton_ = new QPushButton(u"Fa&rbe..."_s, home);
        colorButton_->setObjectName(u"FontColorButton"_s);
        home->layout()->addWidget(colorButton_);
        QObject::connect(colorButton_, &QPushButton::clicked, colorButton_, [this] { ChooseColor(); });
    }

    ~FontDialog() { delete dialog_.data(); } // unless its window took it along

    bool Alive() const { return !dialog_.isNull(); }

    FontDialog(const FontDialog&) = delete;
    FontDialog& operator=(const FontDialog&) = delete;

    std::optional<ChosenFont> Exec(const ChosenFont& initial) {
        const QFont shown = ShownFont(initial.font);
        dialog_->setCurrentFont(shown);
        SetColor(initial.color);
        if (dialog_->exec() != QDialog::Accepted)
            return std::nullopt;
        return ChosenFont{KeptFont(initial.font, shown, dialog_->selectedFont()), color_};
    }

private:
    // The dialog lists the families the desktop has, in points. A font it
    // does not know (the window's "MS Sans Serif" stands for a substitute)
    // would make it preselect some other family; it opens on the family and
    // size that the font is really drawn with.
    static QFont ShownFont(const QFont& font) {
        const QFontInfo drawn(font);
        QFont shown = font;
        shown.setFamily(drawn.family());
        shown.setPointSize(std::max(1, qRound(drawn.pointSizeF())));
        return shown;
    }

    // What the user left as the dialog showed it stays as the window had it:
    // the family keeps its own name (the one the settings file records) and
    // the size its pixel height. OK without a change changes nothing.
    static QFont KeptFont(const QFont& initial, const QFont& shown, const QFont& chosen) {
        const bool sameFamily = chosen.family() == shown.family();
        const bool sameSize = chosen.pointSize() == shown.pointSize();
        if (sameFamily && sameSize && chosen.bold() == shown.bold() && chosen.italic() == shown.italic() &&
            chosen.underline() == shown.underline() && chosen.strikeOut() == shown.strikeOut())
            return initial;
        QFont kept = chosen;
        if (sameFamily)
            kept.setFamily(initial.family());
        if (sameSize && initial.pixelSize() > 0)
            kept.setPixelSize(initial.pixelSize());
        return kept;
    }

    void ChooseColor() {
        if (!colorDialog_) {
            colorDialog_ = new QColorDialog(dialog_);
            colorDialog_->setObjectName(dialog_->objectName() + u"Color"_s);
            colorDialog_->setOption(QColorDialog::DontUseNativeDialog);
        }
        colorDialog_->setCurrentColor(color_);
        if (colorDialog_->exec() == QDialog::Accepted)
            SetColor(colorDialog_->selectedColor());
    }

    void SetColor(const QColor& color) {
        color_ = color.toRgb();
        const int height = colorButton_->fontMetrics().height();
        QPixmap swatch(2 * height, height);
        swatch.fill(color_);
        QPainter painter(&swatch);
        painter.setPen(colorButton_->palette().color(QPalette::WindowText));
        painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
        painter.end();
        colorButton_->setIcon(QIcon(swatch));
        colorButton_->setIconSize(swatch.size());
        colorButton_->setToolTip(color_.name());
        if (sample_) {
            QPalette palette = sample_->palette();
            palette.setColor(QPalette::Text, color_);
            sample_->setPalette(palette);
        }
    }

    QPointer<QFontDialog> dialog_;
    QPushButton* colorButton_ = nullptr;
    QLineEdit* sample_ = nullptr; // the dialog's preview text
    QColorDialog* colorDialog_ = nullptr;
    QColor color_;
};

// The desktop's file dialog with what the window's dialogs promise beyond Qt's:
// - The default extension behaves as where file names ignore case: a name
//   typed without extension finds an existing file with that extension in
//   any case, and is otherwise given the extension in lower case. A name
//   typed with an extension, or one that exists as typed, stays as it is.
// - A save dialog refuses a folder that does not exist.
// - No popup of the dialog outlives it. Return in the file name field while
//   its completion list is open reaches the field through the list's event
//   filter; the field accepts the dialog, and the list is hidden only if the
//   field has lost the focus by then, which it has not. Left open, the list
//   takes the next click anywhere.
class QtPlatform::FileDialog final : public QFileDialog {
public:
    FileDialog(QWidget* parent, const FileDialogSpec& request, bool save)
        : QFileDialog(parent, request.title), suffix_(request.defaultSuffix) {
        setObjectName(request.objectName);
        setAcceptMode(save ? AcceptSave : AcceptOpen);
        setFileMode(save ? AnyFile : ExistingFile);
        setOption(DontConfirmOverwrite, !request.confirmOverwrite);
        setOption(HideNameFilterDetails);
        setNameFilters(NameFilters(request.filter));
#ifdef Q_OS_WIN
        // Windows' own dialog, with the player's places (Desktop, Downloads,
        // OneDrive, Quick Access) and the system's overwrite question. File
        // names ignore case there, so its default extension already is what
        // accept() does elsewhere, and it refuses a missing folder itself.
        setDefaultSuffix(request.defaultSuffix.toLower());
#else
        // A platform theme would put its own dialog in place of this one,
        // and none of the above would happen there.
        setOption(DontUseNativeDialog);
        // Qt would append the extension as spelled, and also to a name that
        // exists without one; accept() resolves the name instead.
        setDefaultSuffix({});
#endif
    }

    void accept() override {
        auto* edit = findChild<QLineEdit*>(u"fileNameEdit"_s);
        const QString typed = edit ? edit->text() : QString();
        if (typed.isEmpty()) {
            QFileDialog::accept();
            return;
        }
        const QString path =
            directory().absoluteFilePath(typed.startsWith(u"~/"_s) ? QDir::homePath() + typed.mid(1) : typed);
        const QString resolved = ResolveDefaultSuffix(path, suffix_);
        if (acceptMode() == AcceptSave) {
            const QFileInfo target(resolved);
            if (!target.isDir() && !target.dir().exists()) {
                // The words of Qt's own refusal of a missing folder.
                QMessageBox::warning(this, windowTitle(),
                                     u"%1\nDas Verzeichnis konnte nicht gefunden werden.\n"
                                     u"Stellen Sie sicher, dass der Verzeichnisname richtig ist."_s.arg(
                                         QDir::toNativeSeparators(target.absolutePath())));
                return;
            }
        }
        if (resolved != path) // the extension found or given, behind what was typed
            edit->setText(typed + QFileInfo(resolved).fileName().mid(QFileInfo(path).fileName().size()));
        QFileDialog::accept();
    }

    void done(int result) override {
        // The dialog is modal: whatever popup is open now is one of its own.
        for (int i = 0; i < 8 && QApplication::activePopupWidget(); ++i)
            QApplication::activePopupWidget()->hide();
        QFileDialog::done(result);
    }

private:
    QString suffix_;
};

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() {
    for (auto& [name, dialog] : fileDialogs_)
        delete dialog.data();
    for (auto& [name, dialog] : colorDialogs_)
        delete dialog.data();
}

void QtPlatform::SetDialogParent(QWidget* parent) {
    parent_ = parent;
}

void QtPlatform::ShowMessage(const QString& text, const QString& caption, MessageIcon icon) {
    QMessageBox::Icon boxIcon = QMessageBox::Critical;
    if (icon == MessageIcon::Exclamation)
        boxIcon = QMessageBox::Warning;
    else if (icon == MessageIcon::Information)
        boxIcon = QMessageBox::Information;
    QMessageBox box(boxIcon, caption, text, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtPlatform::AskYesNo(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

QStringList QtPlatform::NameFilters(const QString& pairs) {
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1);
        // "*.*" means every file to the user, also one without a dot.
        pattern.replace(u"*.*"_s, u"*"_s);
        filters.append(parts.at(i) + u" ("_s + pattern.replace(u';', u' ') + u')');
    }
    return filters;
}

QString QtPlatform::ResolveDefaultSuffix(const QString& path, const QString& suffix) {
    const QFileInfo typed(path);
    const QString name = typed.fileName();
    if (suffix.isEmpty() || name.isEmpty() || name.contains(u'.') || typed.exists())
        return path;
    // Only the extension, which the dialog supplies, ignores case; the typed
    // part is matched as the file system compares names.
    const QString lower = name + u'.' + suffix.toLower();
    QString found;
    const QDir folder = typed.dir();
    const QStringList entries =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.size() != lower.size() || !entry.startsWith(name + u'.') || entry.compare(lower, Qt::CaseInsensitive))
            continue;
        if (entry == lower)
            return folder.filePath(entry);
        if (found.isEmpty())
            found = entry;
    }
    return folder.filePath(found.isEmpty() ? lower : found);
}

QFileDialog& QtPlatform::FileDialogFor(const FileDialogSpec& request, bool save) {
    auto& slot = fileDialogs_[request.objectName];
    if (!slot)
        slot = new FileDialog(parent_, request, save);
    return *slot;
}

std::optional<QString> QtPlatform::RunFileDialog(const FileDialogSpec& request, bool save) {
    QFileDialog& dialog = FileDialogFor(request, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

std::optional<QString> QtPlatform::OpenFile(const FileDialogSpec& dialog) {
    return RunFileDialog(dialog, false);
}

std::optional<QString> QtPlatform::SaveFile(const FileDialogSpec& dialog) {
    return RunFileDialog(dialog, true);
}

std::optional<QColor> QtPlatform::ChooseColor(const QString& objectName, const QColor& initial) {
    auto& dialog = colorDialogs_[objectName];
    if (!dialog) {
        dialog = new QColorDialog(parent_);
        dialog->setObjectName(objectName);
        // The same dialog, in German, whatever the desktop's theme offers.
        dialog->setOption(QColorDialog::DontUseNativeDialog);
    }
    dialog->setCurrentColor(initial);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->selectedColor().toRgb();
}

std::optional<ChosenFont> QtPlatform::ChooseFont(const QString& objectName, const ChosenFont& initial) {
    auto& dialog = fontDialogs_[objectName];
    if (!dialog || !dialog->Alive())
        dialog = std::make_unique<FontDialog>(parent_, objectName);
    return dialog->Exec(initial);
}

void QtPlatform::CopyToClipboard(const QString& text) {
    // X11 has a second clipboard, the selection pasted with the middle
    // button; the game under Wine or a terminal may paste from either.
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
}

void QtPlatform::PostQuit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace tavolin
