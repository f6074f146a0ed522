#pragma once

#include <QtGlobal>

class QWidget;

namespace Ui {
class TForm1;
}

namespace tavolin {

// The about view: Memo1 with the program's description over the main view.
class AboutView final {
    Q_DISABLE_COPY_MOVE(AboutView)

public:
    // Fills Memo1 with the about text.
    AboutView(QWidget& window, Ui::TForm1& ui);

    // Opens the view, or closes it when it is open.
    void Toggle();
    // Exactly while Memo1 is shown.
    bool IsOpen() const;

private:
    QWidget& window_;
    Ui::TForm1& ui_;
};

} // namespace tavolin
