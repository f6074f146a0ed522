#include "ui/merging.h"

#include "names/merge.h"
#include "ui/dialogs.h"
#include "ui/name_databases.h"
#include "ui/platform.h"
#include "ui_tform1.h"

using namespace Qt::StringLiterals;

namespace tavolin {

Merging::Merging(QWidget& window, Ui::TForm1& ui, Platform& platform, NameDatabases& databases)
    : window_(window), ui_(ui), platform_(platform), databases_(databases) {}

void Merging::LoadForeignDatabase() {
    const std::optional<QString> path = platform_.OpenFile(kOpenDialog1);
    if (!path)
        return;
    NameStore& lists = databases_.Lists();
    const QString loaded = ui_.Panel8->text();
    ui_.Panel8->setText(*path);
    // Reading a large file blocks the window for a while. The whole window is
    // painted first: the user sees which file it is busy with, and where the
    // dialog lay the window shows itself again, not the dialog's image.
    window_.repaint();
    try {
        lists.mergeLeftOut = LoadMergeDatabase(*path, lists.MergeLines, lists.MergeNames);
    } catch (...) {
        // The database loaded before, if any, is still the one loaded.
        ui_.Panel8->setText(loaded);
        throw;
    }
    ui_.Panel9->setText(QString::number(lists.MergeNames.size()) + u" Namen in der geladenen Datenbank enthalten"_s);
    ui_.Button6->setEnabled(true);
}

void Merging::Merge() {
    NameStore& lists = databases_.Lists();
    const auto report = [&](std::size_t added, const QString& database) {
        QString text = u"Die Verschmelzung der Datenbanken war erfolgreich. Es wurde(n) "_s + QString::number(added) +
                       u" neue(r) Name(n) in die "_s + database + u" Namen-Datenbank eingetragen."_s;
        if (lists.mergeLeftOut > 0) {
            text += u" %1 Name(n) der geladenen Datei wurde(n) ausgelassen, weil sie Zeichen enthalten, die in der "
                    u"Namen-Datenbank nicht gespeichert werden können."_s.arg(lists.mergeLeftOut);
        }
        platform_.ShowMessage(text, u"Erfolgreich"_s, MessageIcon::Information);
    };
    // The target is whatever the radio group shows at the moment of the merge.
    NameDatabase* target = ui_.RadioGroup2Item0->isChecked()   ? &lists.female
                           : ui_.RadioGroup2Item1->isChecked() ? &lists.male
                                                               : nullptr;
    if (target) {
        report(target->Merge(lists.MergeNames), target == &lists.female ? u"weibliche"_s : u"männliche"_s);
        databases_.ReportRecovered(*target);
    }
    databases_.ShowNameCounts();
}

} // namespace tavolin
