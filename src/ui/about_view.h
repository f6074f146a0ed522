#pragma once

#include <QString>
#include <QtGlobal>

class QPlainTextEdit;

namespace tavolin {

class Bevel;

// The about view: Memo1 with the program's description over the main view.
// Button4 opens and closes it; the button shares the bottom row with the
// statistics view's buttons, so the window keeps it and gives it the
// caption this view asks for.
class AboutView final {
    Q_DISABLE_COPY_MOVE(AboutView)

public:
    struct Controls {
        const Bevel* Bevel4; // and ends just below this line
        QPlainTextEdit* Memo1;
    };

    explicit AboutView(Controls controls);

    // Opens the view, or closes it when it is open. Memo1 gets the about
    // text at the first opening.
    void Toggle();
    bool IsOpen() const { return open_; }
    // The caption of Button4 once the view has opened or closed: what the
    // next click does.
    QString ButtonCaption() const;

private:
    Controls controls_;
    bool open_ = false;
};

} // namespace tavolin
