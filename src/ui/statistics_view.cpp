#include "ui/statistics_view.h"

#include "names/encoding.h"
#include "names/name_database.h"
#include "stats/statistics.h"
#include "ui/platform.h"

#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavolin {

namespace {

const QString kOpenCaption = u"Statistiken"_s;
const QString kCloseCaption = u"Schließen"_s;
const QString kToLengthsCaption = u"Zu den Namenlängen..."_s;
const QString kToLettersCaption = u"Zu den Anfangsbuchstaben..."_s;

constexpr int kRowHeight = 15;

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

StatisticsView::StatisticsView(Controls controls, Platform& platform, const DatabasePair& databases,
                               BottomRowHook bottomRowTaken)
    : controls_(std::move(controls)), platform_(platform), databases_(databases),
      bottomRowTaken_(std::move(bottomRowTaken)) {
    controls_.ListBox1->setItemDelegate(new FixedRowHeightDelegate(controls_.ListBox1));
    controls_.ListBox1->setUniformItemSizes(true);
}

// Opens the view on the initial-letter table, or closes it. The list keeps
// its rows while hidden; the next opening clears it.
void StatisticsView::OpenOrClose() {
    if (open_) {
        open_ = false;
        controls_.ListBox1->hide();
        controls_.Button7->setText(kOpenCaption);
        controls_.Button8->hide();
        bottomRowTaken_(false);
        controls_.Button9->hide();
        return;
    }
    controls_.ListBox1->clear();
    controls_.ListBox1->show();
    controls_.Button8->show();
    bottomRowTaken_(true);
    controls_.Button9->show();
    controls_.Button9->setText(kToLengthsCaption);
    controls_.Button7->setText(kCloseCaption);
    open_ = true;
    table_ = Table::Letters;
    FillLetterTable();
}

void StatisticsView::Rebuild() {
    RunCommand([this] {
        if (table_ == Table::Lengths) {
            PassCheckpoint(2);
            controls_.ListBox1->clear();
            FillLengthTable(3);
        } else {
            controls_.ListBox1->clear();
            FillLetterTable();
        }
    });
}

void StatisticsView::SwitchTable() {
    RunCommand([this] {
        if (table_ == Table::Lengths) {
            PassCheckpoint(1);
            controls_.Button9->setText(kToLengthsCaption);
            table_ = Table::Letters;
            controls_.ListBox1->clear();
            FillLetterTable();
        } else {
            PassCheckpoint(2);
            controls_.ListBox1->clear();
            PassCheckpoint(3);
            controls_.Button9->setText(kToLettersCaption);
            table_ = Table::Lengths;
            FillLengthTable(4);
        }
    });
}

void StatisticsView::RunCommand(const std::function<void()>& work) {
    try {
        PassCheckpoint(0);
        work();
    } catch (...) {
        // What was done stays done: rows already in the list, a switched
        // caption. The number tells how far the work came.
        platform_.ShowMessage(u"Fehlernummer"_s + QString::number(checkpoint_), u"Fehler"_s, MessageIcon::Stop);
    }
}

void StatisticsView::PassCheckpoint(int number) {
    checkpoint_ = number;
    if (checkpointHook_)
        checkpointHook_(number);
}

void StatisticsView::FillLetterTable() {
    for (const std::string& row : LetterRows(databases_.female.Names(), databases_.male.Names())) {
        controls_.ListBox1->addItem(DecodeName(row));
        controls_.paintWindow(); // each row is on screen before the next one is added
    }
}

void StatisticsView::FillLengthTable(int firstCheckpoint) {
    PassCheckpoint(firstCheckpoint);
    // One pass over each list finds its longest entry and counts every
    // length on the way.
    PassCheckpoint(5);
    LengthCounts femaleCounts = CountLengths(databases_.female.Names());
    PassCheckpoint(6);
    LengthCounts maleCounts = CountLengths(databases_.male.Names());

    // Both tables run to the longest name of either list (the steps that
    // take the longer of the two maxima keep their numbers 7 and 9); the
    // lengths that one list lacks count 0 there.
    PassCheckpoint(7);
    PassCheckpoint(9);
    PassCheckpoint(13);
    AddLengthsOf(maleCounts, femaleCounts);
    PassCheckpoint(14);
    AddLengthsOf(femaleCounts, maleCounts);

    PassCheckpoint(17);
    for (std::size_t row = 0; row < femaleCounts.size(); ++row) {
        PassCheckpoint(18);
        const std::string text =
            FormatLengthRow(femaleCounts[row].first, femaleCounts[row].second, maleCounts[row].second);
        PassCheckpoint(21);
        controls_.ListBox1->addItem(DecodeName(text));
        PassCheckpoint(22);
        controls_.paintWindow();
    }
}

} // namespace tavolin
