#include "ui/qtplatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

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
        QObject::connect(colorButton_, &QPushButton::clicked, colorButton_, [this] { chooseColor(); });
    }

    ~FontDialog() { delete dialog_.data(); } // unless its window took it along

    bool alive() const { return !dialog_.isNull(); }

    FontDialog(const FontDialog&) = delete;
    FontDialog& operator=(const FontDialog&) = delete;

    std::optional<ChosenFont> exec(const ChosenFont& initial) {
        dialog_->setCurrentFont(initial.font);
        setColor(initial.color);
        if (dialog_->exec() != QDialog::Accepted)
            return std::nullopt;
        return ChosenFont{dialog_->selectedFont(), color_};
    }

private:
    void chooseColor() {
        if (!colorDialog_) {
            colorDialog_ = new QColorDialog(dialog_);
            colorDialog_->setObjectName(dialog_->objectName() + u"Color"_s);
        }
        colorDialog_->setCurrentColor(color_);
        if (colorDialog_->exec() == QDialog::Accepted)
            setColor(colorDialog_->selectedColor());
    }

    void setColor(const QColor& color) {
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

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() {
    for (auto& [name, dialog] : fileDialogs_)
        delete dialog.data();
    for (auto& [name, dialog] : colorDialogs_)
        delete dialog.data();
}

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

bool QtPlatform::askYesNo(const QString& text, const QString& caption) {
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

QFileDialog& QtPlatform::fileDialog(const FileDialogSpec& request, bool save) {
    auto& slot = fileDialogs_[request.objectName];
    if (!slot) {
        slot = new QFileDialog(parent_, request.title);
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
        dialog = new QColorDialog(parent_);
        dialog->setObjectName(objectName);
    }
    dialog->setCurrentColor(initial);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->selectedColor().toRgb();
}

std::optional<ChosenFont> QtPlatform::chooseFont(const QString& objectName, const ChosenFont& initial) {
    auto& dialog = fontDialogs_[objectName];
    if (!dialog || !dialog->alive())
        dialog = std::make_unique<FontDialog>(parent_, objectName);
    return dialog->exec(initial);
}

void QtPlatform::copyToClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void QtPlatform::postQuit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace tavolin
