#include "ui/keyboard_filters.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tavolin {

bool AltLetterFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    return modifiers == Qt::AltModifier && !key->text().isEmpty() && key->text().front().isPrint();
}

bool GroupAcceleratorFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        for (QRadioButton* item : watched->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
            if (item->isChecked() && item->isVisible() && item->isEnabled()) {
                item->setFocus(Qt::ShortcutFocusReason);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

bool ReturnClickFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (auto* button = qobject_cast<QPushButton*>(watched); button && button->isEnabled()) {
                button->click();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

bool UndoKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo)) {
        const auto* edit = qobject_cast<const QLineEdit*>(watched);
        if (edit && (!edit->isUndoAvailable() || (!edit->isModified() && windowCanUndo_())))
            return true; // not taken: the window's shortcut gets it
    }
    return QObject::eventFilter(watched, event);
}

TabStopKeeper::TabStopKeeper(QWidget* window) : QObject(window) {
    for (QRadioButton* button : window->findChildren<QRadioButton*>()) {
        buttons_.emplace_back(button);
        connect(button, &QRadioButton::toggled, this, &TabStopKeeper::Update);
    }
    connect(qApp, &QApplication::focusChanged, this, &TabStopKeeper::Update);
}

void TabStopKeeper::Update() {
    // The focus also changes while the window is taken down.
    for (const QPointer<QRadioButton>& button : buttons_) {
        if (button)
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void InstallKeyboardFilters(QWidget* window, std::initializer_list<QLineEdit*> edits,
                            std::initializer_list<QGroupBox*> groups, std::function<bool()> windowCanUndo) {
    new TabStopKeeper(window);
    auto* letters = new AltLetterFilter(window);
    auto* undo = new UndoKeyFilter(window, std::move(windowCanUndo));
    for (QLineEdit* edit : edits) {
        edit->installEventFilter(letters);
        edit->installEventFilter(undo);
    }
    auto* accelerators = new GroupAcceleratorFilter(window);
    for (QGroupBox* group : groups)
        group->installEventFilter(accelerators);
    auto* returns = new ReturnClickFilter(window);
    for (QPushButton* button : window->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        button->installEventFilter(returns);
}

} // namespace tavolin
