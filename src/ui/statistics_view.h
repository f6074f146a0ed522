#pragma once

#include "ui/form_environment.h"

#include <QtGlobal>
#include <functional>

class QWidget;

namespace Ui {
class TForm1;
}

namespace tavolin {

class NameDatabases;
class Platform;

// The statistics view: ListBox1 with the initial-letter or the name-length
// table of both databases, opened and closed by Button7, rebuilt by Button8
// and switched to the other table by Button9. A failure of Button8 or Button9
// is reported with the last checkpoint their work passed.
class StatisticsView final {
    Q_DISABLE_COPY_MOVE(StatisticsView)

public:
    StatisticsView(QWidget& window, Ui::TForm1& ui, Platform& platform, const NameDatabases& databases,
                   StatisticsCheckpointHook checkpointHook);

    void OpenOrClose();
    // Exactly while Button7 reads "Schließen".
    bool IsOpen() const;
    // Rebuilds the table on show from the lists as they are now.
    void Rebuild();
    void SwitchTable();

private:
    // Both fill ListBox1 row by row; the length table starts its checkpoints
    // at `firstCheckpoint`.
    void FillLetterTable();
    void FillLengthTable(int firstCheckpoint);
    void PassCheckpoint(int number);
    void RunCommand(const std::function<void()>& work);

    QWidget& window_;
    Ui::TForm1& ui_;
    Platform& platform_;
    const NameDatabases& databases_;
    StatisticsCheckpointHook checkpointHook_;
    int checkpoint_ = 0; // the last one a click of Button8 or Button9 passed
};

} // namespace tavolin
