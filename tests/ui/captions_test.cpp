#include "support/form_fixture.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavolin::test {
namespace {

struct CaptionRow {
    const char* control;
    std::vector<const char*> captions; // every caption the control can show, UTF-8
};

// The window's captions, those of its description and those the program
// puts in. Counts are given with as many digits as large databases have: up
// to 9,999,999 names, with 8 as the widest digit.
const CaptionRow kCaptions[] = {
    {"Button1", {"Z&ufälligen Namen erzeugen"}},
    {"Button3", {"Name in Zwischenablage ko&pieren"}},
    {"RadioGroup1", {"N&ame für"}},
    {"RadioGroup1Item0", {"Weibliche Wuzels"}},
    {"RadioGroup1Item1", {"Männliche Wuzels"}},
    {"RadioGroup1Item2", {"Egal"}},
    {"Panel10", {"Kein Name", "Weiblicher Name", "Männlicher Name"}},
    {"Panel2", {"0 weibliche Wuzelnamen in der Datenbank", "8888888 weibliche Wuzelnamen in der Datenbank"}},
    {"Panel5", {"0 männliche Wuzelnamen in der Datenbank", "8888888 männliche Wuzelnamen in der Datenbank"}},
    {"Panel6", {"0 Wuzelnamen insgesamt in der Datenbank", "18888888 Wuzelnamen insgesamt in der Datenbank"}},
    {"Panel4", {"Name muss mit folgendem Wortteil anfangen:"}},
    {"Panel3", {"Neuer Wuzelname:"}},
    {"RadioButton1", {"Weiblicher Name"}},
    {"RadioButton2", {"Männlicher Name"}},
    {"Button2",
     {"H&inzufügen", "Hinzufügen", "Hinzufügen ( Name bereits vorhanden )",
      "Hinzufügen ( ungültiges Zeichen im Namen )"}},
    {"Panel7", {"Namen-Datenbank hinzufügen:"}},
    {"Button5", {"Datei laden..."}},
    {"Panel8", {"Keine Datei geladen"}},
    {"RadioGroup2", {"Verschmelzen mit"}},
    {"RadioGroup2Item0", {"Weiblicher Datenbank"}},
    {"RadioGroup2Item1", {"Männlicher Datenbank"}},
    {"Panel9", {"Keine Datei geladen", "8888888 Namen in der geladenen Datenbank enthalten"}},
    {"Button6", {"Verschmelze!"}},
    {"Button4", {"Über das Programm und die Anleitung...", "Über das Programm...", "Zurück"}},
    {"Button7", {"Statistiken", "Schließen"}},
    {"Button8", {"Aktualisieren"}},
    {"Button9", {"Zu den Namenlängen...", "Zu den Anfangsbuchstaben..."}},
};

// The room a control leaves for its caption: inside its frame, beside a
// radio button's circle.
QRect CaptionRoom(QWidget* control) {
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        return radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        // The caption may run along the whole top edge of the frame.
        return group->rect();
    }
    return static_cast<QLabel*>(control)->contentsRect();
}

void SetCaption(QWidget* control, const QString& caption) {
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(caption);
    else
        static_cast<QLabel*>(control)->setText(caption);
}

using CaptionsTest = BuiltFormFixture;

// With the window's font at 11 pixels (8 points at 96 dots per inch) and the
// fonts the desktop has, every caption is shown whole.
TEST_F(CaptionsTest, EveryCaptionFitsItsControl) {
    for (const CaptionRow& row : kCaptions) {
        auto* control = Control<QWidget>(row.control);
        if (control == nullptr)
            continue;
        const QRect room = CaptionRoom(control);
        for (const char* caption : row.captions) {
            SetCaption(control, QString::fromUtf8(caption));
            QString shown = ShownText(control);
            shown.remove(u'&');
            const QFontMetrics metrics = control->fontMetrics();
            EXPECT_LE(metrics.horizontalAdvance(shown), room.width())
                << row.control << ": \"" << caption << "\" in " << QFontInfo(control->font()).family().toStdString()
                << " (scripts/test installs fonts-liberation2)";
            EXPECT_LE(metrics.height(), control->height()) << row.control << ": \"" << caption << "\"";
        }
    }
}

} // namespace
} // namespace tavolin::test
