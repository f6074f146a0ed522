#pragma once

#include <QtGlobal>
#include <functional>

class QListWidget;
class QPushButton;

namespace tavolin {

namespace test {
class FormPeer;
}

class Platform;
struct DatabasePair;

// The statistics view: ListBox1 with the initial-letter or the name-length
// table of both databases, opened and closed by Button7, rebuilt by Button8
// and switched to the other table by Button9. A failure of Button8 or Button9
// is reported with the last checkpoint their work passed.
class StatisticsView final {
    Q_DISABLE_COPY_MOVE(StatisticsView)
    friend class test::FormPeer;

public:
    struct Controls {
        std::function<void()> paintWindow; // whole, after every row
        QListWidget* ListBox1;
        QPushButton* Button7;
        QPushButton* Button8;
        QPushButton* Button9;
    };
    // Called as the view opens (true) and closes, at the moment Button8 and
    // Button9 take the bottom row or give it back: what else lies there has
    // to go, or come back.
    using BottomRowHook = std::function<void(bool taken)>;

    StatisticsView(Controls controls, Platform& platform, const DatabasePair& databases, BottomRowHook bottomRowTaken);

    void OpenOrClose();
    bool IsOpen() const { return open_; }
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

    Controls controls_;
    Platform& platform_;
    const DatabasePair& databases_;
    // What a test runs at every checkpoint (FormPeer), to fail the work there.
    std::function<void(int checkpoint)> checkpointHook_;
    BottomRowHook bottomRowTaken_;
    int checkpoint_ = 0; // the last one a click of Button8 or Button9 passed
    bool open_ = false;
    enum class Table { Letters, Lengths } table_ = Table::Letters; // the one shown
};

} // namespace tavolin
