#include "ui/tform1_stats.h"

#include "names/encoding.h"
#include "stats/statistics.h"
#include "ui/platform.h"
#include "ui/tform1.h"
#include "ui_tform1.h"

#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

const QString kOpenCaption = u"Statistiken"_s;
const QString kCloseCaption = u"Schließen"_s;
const QString kToLengthsCaption = u"Zu den Namenlängen..."_s;
const QString kToLettersCaption = u"Zu den Anfangsbuchstaben..."_s;

constexpr int kRowHeight = 15;

StatisticsCheckpointHook& CheckpointHook() {
    static StatisticsCheckpointHook hook;
    return hook;
}

// Every row of the statistics list is as high as the design says, whatever
// the height of the font's line.
class FixedRowHeightDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(kRowHeight);
        return size;
    }
};

} // namespace

void SetStatisticsCheckpointHookForTesting(StatisticsCheckpointHook hook) {
    CheckpointHook() = std::move(hook);
}

void TForm1::ConnectStatistics() {
    ui_->ListBox1->setItemDelegate(new FixedRowHeightDelegate(ui_->ListBox1));
    ui_->ListBox1->setUniformItemSizes(true);
    Connect(ui_->Button7, &QPushButton::clicked, &TForm1::Button7Click);
    Connect(ui_->Button8, &QPushButton::clicked, &TForm1::Button8Click);
    Connect(ui_->Button9, &QPushButton::clicked, &TForm1::Button9Click);
}

// Opens the view on the initial-letter table, or closes it. The list keeps
// its rows while hidden; the next opening clears it.
void TForm1::Button7Click() {
    if (ui_->Button7->text() == kCloseCaption) {
        ui_->ListBox1->hide();
        ui_->Button7->setText(kOpenCaption);
        ui_->Button8->hide();
        ui_->Button4->show();
        ui_->Button9->hide();
        return;
    }
    ui_->ListBox1->clear();
    ui_->ListBox1->show();
    ui_->Button8->show();
    ui_->Button4->hide();
    ui_->Button9->show();
    ui_->Button9->setText(kToLengthsCaption);
    ui_->Button7->setText(kCloseCaption);
    FillLetterTable();
}

// Rebuilds the table on show from the lists as they are now.
void TForm1::Button8Click() {
    RunStatisticsCommand([this] {
        if (ui_->Button9->text() == kToLettersCaption) {
            PassStatisticsCheckpoint(2);
            ui_->ListBox1->clear();
            FillLengthTable(3);
        } else {
            ui_->ListBox1->clear();
            FillLetterTable();
        }
    });
}

// Switches to the other table.
void TForm1::Button9Click() {
    RunStatisticsCommand([this] {
        if (ui_->Button9->text() == kToLettersCaption) {
            PassStatisticsCheckpoint(1);
            ui_->Button9->setText(kToLengthsCaption);
            ui_->ListBox1->clear();
            FillLetterTable();
        } else {
            PassStatisticsCheckpoint(2);
            ui_->ListBox1->clear();
            PassStatisticsCheckpoint(3);
            ui_->Button9->setText(kToLettersCaption);
            FillLengthTable(4);
        }
    });
}

void TForm1::RunStatisticsCommand(const std::function<void()>& work) {
    try {
        PassStatisticsCheckpoint(0);
        work();
    } catch (...) {
        // What was done stays done: rows already in the list, a switched
        // caption. The number tells how far the work came.
        platform_.showMessage(u"Fehlernummer"_s + QString::number(statisticsCheckpoint_), u"Fehler"_s,
                              MessageIcon::Stop);
    }
}

void TForm1::PassStatisticsCheckpoint(int number) {
    statisticsCheckpoint_ = number;
    if (const auto& hook = CheckpointHook())
        hook(number);
}

void TForm1::FillLetterTable() {
    for (const std::string& row : LetterRows(lists_->female.Names(), lists_->male.Names())) {
        ui_->ListBox1->addItem(DecodeName(row));
        repaint(); // each row is on screen before the next one is added
    }
}

void TForm1::FillLengthTable(int firstCheckpoint) {
    PassStatisticsCheckpoint(firstCheckpoint);
    // One pass over each list finds its longest entry and counts every
    // length on the way.
    PassStatisticsCheckpoint(5);
    LengthCounts femaleCounts = CountLengths(lists_->female.Names());
    PassStatisticsCheckpoint(6);
    LengthCounts maleCounts = CountLengths(lists_->male.Names());

    // Both tables run to the longest name of either list (the steps that
    // take the longer of the two maxima keep their numbers 7 and 9); the
    // lengths that one list lacks count 0 there.
    PassStatisticsCheckpoint(7);
    PassStatisticsCheckpoint(9);
    PassStatisticsCheckpoint(13);
    AddLengthsOf(maleCounts, femaleCounts);
    PassStatisticsCheckpoint(14);
    AddLengthsOf(femaleCounts, maleCounts);

    PassStatisticsCheckpoint(17);
    for (std::size_t row = 0; row < femaleCounts.size(); ++row) {
        PassStatisticsCheckpoint(18);
        const std::string text =
            FormatLengthRow(femaleCounts[row].first, femaleCounts[row].second, maleCounts[row].second);
        PassStatisticsCheckpoint(21);
        ui_->ListBox1->addItem(DecodeName(text));
        PassStatisticsCheckpoint(22);
        repaint();
    }
}

} // namespace tavolin
