#include "ui/qtplatform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace tavolin {

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::setDialogParent(QWidget* parent) {
    parent_ = parent;
}

void QtPlatform::showMessage(const QString& text, const QString& caption, MessageIcon icon) {
    QMessageBox::Icon boxIcon = QMessageBox::Critical;
    if (icon == MessageIcon::Exclamation)
        boxIcon = QMessageBox::Warning;
    else if (icon == MessageIcon::Information)
        boxIcon = QMessageBox::Information;
    QMessageBox box(boxIcon, caption, text, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
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

QFileDialog& QtPlatform::fileDialog(const FileDialogSpec& request, bool save) {
    auto& slot = fileDialogs_[request.objectName];
    if (!slot) {
        slot = std::make_unique<QFileDialog>(parent_, request.title);
        slot->setObjectName(request.objectName);
        slot->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        slot->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        slot->setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        slot->setOption(QFileDialog::HideNameFilterDetails);
        slot->setNameFilters(NameFilters(request.filter));
        slot->setDefaultSuffix(request.defaultSuffix);
    }
    return *slot;
}

std::optional<QString> QtPlatform::runFileDialog(const FileDialogSpec& request, bool save) {
    QFileDialog& dialog = fileDialog(request, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

std::optional<QString> QtPlatform::openFile(const FileDialogSpec& dialog) {
    return runFileDialog(dialog, false);
}

std::optional<QString> QtPlatform::saveFile(const FileDialogSpec& dialog) {
    return runFileDialog(dialog, true);
}

std::optional<QColor> QtPlatform::chooseColor(const QString& objectName, const QColor& initial) {
    auto& dialog = colorDialogs_[objectName];
    if (!dialog) {
        dialog = std::make_unique<QColorDialog>(parent_);
        dialog->setObjectName(objectName);
    }
    dialog->setCurrentColor(initial);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->selectedColor().toRgb();
}

std::optional<ChosenFont> QtPlatform::chooseFont(const QString& objectName, const ChosenFont& initial) {
    auto& dialog = fontDialogs_[objectName];
    if (!dialog) {
        dialog = std::make_unique<QFontDialog>(parent_);
        dialog->setObjectName(objectName);
    }
    dialog->setCurrentFont(initial.font);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return ChosenFont{dialog->selectedFont(), initial.color};
}

void QtPlatform::copyToClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void QtPlatform::postQuit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace tavolin
