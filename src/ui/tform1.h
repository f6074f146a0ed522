#pragma once

#include "ui/form_environment.h"

#include <QWidget>
#include <memory>
#include <vector>

class QLineEdit;
class QMenu;
class QPoint;

namespace Ui {
class TForm1;
}

namespace tavolin {

class LayoutScale;
class NameDatabase;
class Platform;
namespace test {
class FormPeer; // what tests read of the window beyond its controls
}

// The main window, where its description meets the code: the controls and
// their handlers, each a forward to the feature that owns the work and its
// state. A feature is handed the controls it owns and nothing else; what one
// feature does to another goes through here. Every handler runs through the
// guard, so no exception reaches Qt.
class TForm1 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)
    friend class test::FormPeer;

public:
    // Builds the window from its description and runs FormCreate.
    TForm1(Platform& platform, FormEnvironment environment, QWidget* parent = nullptr);
    ~TForm1() override;

    // The session ends (a signal, the log-out): saves what the close would,
    // without asking anything; names that cannot be written stay kept for the
    // next start.
    void SaveAtSessionEnd() noexcept;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FormCreate();
    bool FormClose(); // false: the window stays open
    void FormResize();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Edit2Change();
    void RadioButton1Click();
    void RadioButton2Click();
    // The menus of Edit1 and Edit2: their own entries, the removal of the
    // name shown and the undo of the last add or removal (also Ctrl+Z).
    void ShowEditMenu(QLineEdit* edit, const QPoint& pos);
    void RemoveName(QLineEdit* edit);
    void UndoNameChange();
    void NameChanged(const NameDatabase& database);
    void Gesamtschriftauswhlen1Click();
    void Hintergrundfarbeauswhlen1Click();
    void AnzeigetafelJintergrundfarbendern1Click();
    void EingabefelderHintergrundfarbendern1Click();
    void Standardeinstellungen1Click();
    void Oberflchespeichernunter1Click();
    void Oberflcheladen1Click();

    // Escape: the view on top goes, as its own button would take it away.
    void CloseTopView();

    void BuildPopupMenu();
    void ConnectHandlers();
    bool Guarded(const std::function<void()>& handler) noexcept;

    // Handlers running: a close asked for meanwhile (a window manager's close
    // while a save waits for a lock) comes once they are done.
    int running_ = 0;
    bool closeWaiting_ = false;

    std::unique_ptr<Ui::TForm1> ui_;
    Platform& platform_;
    FormEnvironment environment_;
    FilePath programDir_; // chosen before the databases are built on it
    struct Rooms;         // the features, each with the controls it owns
    std::unique_ptr<Rooms> rooms_;
    QMenu* popupMenu_ = nullptr;
    LayoutScale* layout_ = nullptr;
    // The controls' signals to the handlers, cut before the features go.
    std::vector<QMetaObject::Connection> handlerConnections_;
};

} // namespace tavolin
