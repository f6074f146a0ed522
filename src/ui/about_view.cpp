#include "ui/about_view.h"

#include "ui/bevel.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTextDocument>

using namespace Qt::StringLiterals;

// The window is linked from a static library, where nothing would otherwise
// refer to the resource's registration and the linker would drop it. Qt's
// macro declares the registration function where it is used, so this has to
// stay in the global namespace (an unnamed one would hide the function).
static void RegisterAboutResource() {
    Q_INIT_RESOURCE(about);
}

namespace tavolin {

namespace {

// The about text is UTF-8 with one LF after every line, the last one included,
// so that the file's line count is the memo's line count. Lines may end in
// blanks; they are kept.
QString ReadAboutText() {
    RegisterAboutResource();
    QFile file(u":/ui/about.txt"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.remove(u'\r'); // a checkout with CR LF must not change the lines
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

AboutView::AboutView(Controls controls) : controls_(controls) {}

void AboutView::Toggle() {
    open_ = !open_;
    if (!open_) {
        controls_.Memo1->hide();
        return;
    }
    // The window may have been resized since the last opening, so the bounds
    // are taken anew each time. The memo covers the bands down to just below
    // the last bevel line and leaves the bottom row free.
    controls_.Memo1->move(0, 0);
    controls_.Memo1->resize(controls_.Memo1->parentWidget()->width(), controls_.Bevel4->y() + 3);
    // The text is read and laid out at the first opening, not at every start.
    if (controls_.Memo1->document()->isEmpty())
        controls_.Memo1->setPlainText(ReadAboutText());
    controls_.Memo1->show();
}

QString AboutView::ButtonCaption() const {
    return open_ ? u"Zurück"_s : u"Über das Programm..."_s;
}

} // namespace tavolin
