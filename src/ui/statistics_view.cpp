#include "ui/statistics_view.h"

#include "names/encoding.h"
#include "stats/statistics.h"
#include "ui/name_databases.h"
#include "ui/platform.h"
#include "ui_tform1.h"

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

StatisticsView::StatisticsView(QWidget& window, Ui::TForm1& ui, Platform& platform, const NameDatabases& databases,
                               StatisticsCheckpointHook checkpointHook)
    : window_(window), ui_(ui), platform_(platform), databases_(databases), checkpointHook_(std::move(checkpointHook)) {
    ui_.ListBox1->setItemDelegate(new FixedRowHeightDelegate(ui_.ListBox1));
    ui_.ListBox1->setUniformItemSizes(true);
}

bool StatisticsView::IsOpen() const {
    return ui_.Button7->text() == kCloseCaption;
}

// Opens the view on the initial-letter table, or closes it. The list keeps
// its rows while hidden; the next opening clears it.
void StatisticsView::OpenOrClose() {
    if (IsOpen()) {
        ui_.ListBox1->hide();
        ui_.Button7->setText(kOpenCaption);
        ui_.Button8->hide();
        ui_.Button4->show();
        ui_.Button9->hide();
        return;
    }
    ui_.ListBox1->clear();
    ui_.ListBox1->show();
    ui_.Button8->show();
    ui_.Button4->hide();
    ui_.Button9->show();
    ui_.Button9->setText(kToLengthsCaption);
    ui_.Button7->setText(kCloseCaption);
    FillLetterTable();
}

void StatisticsView::Rebuild() {
    RunCommand([this] {
        if (ui_.Button9->text() == kToLettersCaption) {
            PassCheckpoint(2);
            ui_.ListBox1->clear();
            FillLengthTable(3);
        } else {
            ui_.ListBox1->clear();
            FillLetterTable();
        }
    });
}

void StatisticsView::SwitchTable() {
    RunCommand([this] {
        if (ui_.Button9->text() == kToLettersCaption) {
            PassCheckpoint(1);
            ui_.Button9->setText(kToLengthsCaption);
            ui_.ListBox1->clear();
            FillLetterTable();
        } else {
            PassCheckpoint(2);
            ui_.ListBox1->clear();
            PassCheckpoint(3);
            ui_.Button9->setText(kToLettersCaption);
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
    const NameStore& lists = databases_.Lists();
    for (const std::string& row : LetterRows(lists.female.Names(), lists.male.Names())) {
        ui_.ListBox1->addItem(DecodeName(row));
        window_.repaint(); // each row is on screen before the next one is added
    }
}

void StatisticsView::FillLengthTable(int firstCheckpoint) {
    const NameStore& lists = databases_.Lists();
    PassCheckpoint(firstCheckpoint);
    // One pass over each list finds its longest entry and counts every
    // length on the way.
    PassCheckpoint(5);
    LengthCounts femaleCounts = CountLengths(lists.female.Names());
    PassCheckpoint(6);
    LengthCounts maleCounts = CountLengths(lists.male.Names());

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
        ui_.ListBox1->addItem(DecodeName(text));
        PassCheckpoint(22);
        window_.repaint();
    }
}

} // namespace tavolin
