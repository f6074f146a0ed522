#include "names/merge.h"
#include "ui/dialogs.h"
#include "ui/platform.h"
#include "ui/tform1.h"
#include "ui_tform1.h"

using namespace Qt::StringLiterals;

namespace tavolin {

void TForm1::ConnectMergeHandlers() {
    Connect(ui_->Button5, &QPushButton::clicked, &TForm1::Button5Click);
    Connect(ui_->Button6, &QPushButton::clicked, &TForm1::Button6Click);
}

void TForm1::Button5Click() {
    const std::optional<QString> path = platform_.openFile(kOpenDialog1);
    if (!path)
        return;
    const QString loaded = ui_->Panel8->text();
    ui_->Panel8->setText(*path);
    // Reading a large file blocks the window for a while. The whole window is
    // painted first: the user sees which file it is busy with, and where the
    // dialog lay the window shows itself again, not the dialog's image.
    repaint();
    try {
        lists_->mergeLeftOut = LoadMergeDatabase(*path, lists_->MergeLines, lists_->MergeNames);
    } catch (...) {
        // The database loaded before, if any, is still the one loaded.
        ui_->Panel8->setText(loaded);
        throw;
    }
    ui_->Panel9->setText(QString::number(lists_->MergeNames.size()) + u" Namen in der geladenen Datenbank enthalten"_s);
    ui_->Button6->setEnabled(true);
}

void TForm1::Button6Click() {
    NameStore& lists = *lists_;
    const auto report = [&](std::size_t added, const QString& database) {
        QString text = u"Die Verschmelzung der Datenbanken war erfolgreich. Es wurde(n) "_s + QString::number(added) +
                       u" neue(r) Name(n) in die "_s + database + u" Namen-Datenbank eingetragen."_s;
        if (lists.mergeLeftOut > 0) {
            text += u" %1 Name(n) der geladenen Datei wurde(n) ausgelassen, weil sie Zeichen enthalten, die in der "
                    u"Namen-Datenbank nicht gespeichert werden können."_s.arg(lists.mergeLeftOut);
        }
        platform_.showMessage(text, u"Erfolgreich"_s, MessageIcon::Information);
    };
    // The target is whatever the radio group shows at the moment of the merge.
    if (ui_->RadioGroup2Item0->isChecked())
        report(lists.female.Merge(lists.MergeNames), u"weibliche"_s);
    else if (ui_->RadioGroup2Item1->isChecked())
        report(lists.male.Merge(lists.MergeNames), u"männliche"_s);
    ShowNameCounts();
}

} // namespace tavolin
