#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <initializer_list>
#include <vector>

class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace tavolin {

// Alt with a letter is an accelerator or nothing: it never types the letter.
// Qt would insert it when no caption carries the accelerator, for instance
// Alt+I once Button2 has lost its "&", which would change the name being
// typed. Accelerators are handled before the key press reaches the field, so
// they still work from inside it.
class AltLetterFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AltLetterFilter)

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The accelerator of a radio group's caption goes to its selected item. Qt
// would go back to the item that last had the focus, which need not be the
// selected one (a mouse press let go outside the item focuses it without
// selecting it).
class GroupAcceleratorFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GroupAcceleratorFilter)

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Ctrl+Z in an edit field goes to the window, which takes back its last
// change of a database, when the field has no typing to undo, or none since
// that change (the window marks the fields unmodified then). Qt would keep
// the key for the field's own undo.
class UndoKeyFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UndoKeyFilter)

public:
    UndoKeyFilter(QObject* parent, std::function<bool()> windowCanUndo)
        : QObject(parent), windowCanUndo_(std::move(windowCanUndo)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> windowCanUndo_;
};

// Return and Enter press the focused push button, as Space does. Qt leaves
// them to a dialog's default button, and the window is no dialog.
class ReturnClickFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReturnClickFilter)

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Tab enters a group of radio buttons at its selected item, and the arrow
// keys move the selection within it. Qt moves a group's Tab stop to whichever
// item gets the focus, while the selection may stay elsewhere; after every
// change of selection or of focus the stops are put back on the selected
// items of the window.
class TabStopKeeper final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TabStopKeeper)

public:
    explicit TabStopKeeper(QWidget* window);

private:
    void Update();

    std::vector<QPointer<QRadioButton>> buttons_;
};

// Installs them all on the window: the letter filter on the edit fields, the
// accelerator filter on the radio groups, the Return filter on the window's
// push buttons. The window owns them.
void InstallKeyboardFilters(QWidget* window, std::initializer_list<QLineEdit*> edits,
                            std::initializer_list<QGroupBox*> groups, std::function<bool()> windowCanUndo);

} // namespace tavolin
