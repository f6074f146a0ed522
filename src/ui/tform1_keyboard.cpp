#include "ui/tform1.h"
#include "ui_tform1.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPointer>
#include <QRadioButton>
#include <vector>

namespace tavolin {

namespace {

// Alt with a letter is an accelerator or nothing: it never types the letter.
// Qt would insert it when no caption carries the accelerator, for instance
// Alt+I once Button2 has lost its "&", which would change the name being
// typed. Accelerators are handled before the key press reaches the field, so
// they still work from inside it.
class AltLetterFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<const QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        return modifiers == Qt::AltModifier && !key->text().isEmpty() && key->text().front().isPrint();
    }
};

// The accelerator of a radio group's caption goes to its selected item. Qt
// would go back to the item that last had the focus, which need not be the
// selected one (a mouse press let go outside the item focuses it without
// selecting it).
class GroupAcceleratorFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
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
};

// Tab enters a group of radio buttons at its selected item, and the arrow
// keys move the selection within it. Qt moves a group's Tab stop to whichever
// item gets the focus, while the selection may stay elsewhere; after every
// change of selection or of focus the stops are put back on the selected
// items.
class TabStopKeeper final : public QObject {
public:
    explicit TabStopKeeper(QWidget* window) : QObject(window) {
        for (QRadioButton* button : window->findChildren<QRadioButton*>()) {
            buttons_.emplace_back(button);
            connect(button, &QRadioButton::toggled, this, &TabStopKeeper::Update);
        }
        connect(qApp, &QApplication::focusChanged, this, &TabStopKeeper::Update);
    }

private:
    void Update() {
        // The focus also changes while the window is taken down.
        for (const QPointer<QRadioButton>& button : buttons_) {
            if (button)
                button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        }
    }

    std::vector<QPointer<QRadioButton>> buttons_;
};

} // namespace

void TForm1::ConnectKeyboard() {
    new TabStopKeeper(this);
    auto* letters = new AltLetterFilter(this);
    for (QLineEdit* edit : {ui_->Edit1, ui_->Edit2, ui_->Edit3})
        edit->installEventFilter(letters);
    auto* groups = new GroupAcceleratorFilter(this);
    for (QGroupBox* group : {ui_->RadioGroup1, ui_->RadioGroup2})
        group->installEventFilter(groups);
}

} // namespace tavolin
