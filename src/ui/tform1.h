#pragma once

#include "ui/about_view.h"
#include "ui/appearance_controller.h"
#include "ui/form_environment.h"
#include "ui/layout_scale.h"
#include "ui/merging.h"
#include "ui/name_adding.h"
#include "ui/name_draw.h"
#include "ui/name_removal.h"
#include "ui/own_databases.h"
#include "ui/statistics_view.h"

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

class Platform;

// The main window, where its description meets the code: the controls and
// their handlers, each a forward to the feature that owns the work and its
// state. A feature is handed the controls it owns and nothing else; what one
// feature does to another goes through here. Every handler runs through the
// guard, so no exception reaches Qt.
class TForm1 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    // Builds the window from its description and runs FormCreate.
    TForm1(Platform& platform, FormEnvironment environment, QWidget* parent = nullptr);
    ~TForm1() override;

    // The paths as the messages show them.
    QString ProgramDir() const { return programDir_.Display(); }
    QString FemaleDatabasePath() const;
    QString MaleDatabasePath() const;
    const DatabasePair& Databases() const { return databases_.Pair(); }
    const Merging& Merger() const { return merging_; }
    const Appearance& CurrentAppearance() const { return appearance_.Current(); }

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
    void MarkNameFieldsUnmodified();
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
    // While the statistics view is open, its buttons take the bottom row
    // from Button4, the about view's switch.
    void StatisticsTakesBottomRow(bool taken);

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
    AboutView about_;
    AppearanceController appearance_;
    OwnDatabases databases_;
    NameDraw draw_;
    LastChange lastChange_; // the last add or removal, which adding and removal share
    NameAdding adding_;
    NameRemoval removal_;
    Merging merging_;
    StatisticsView statistics_;
    // The window owns these.
    QMenu* popupMenu_ = nullptr;
    LayoutScale* layout_ = nullptr;
    // The controls' signals to the handlers, cut before the features go.
    std::vector<QMetaObject::Connection> handlerConnections_;
};

} // namespace tavolin
