#include "app/session_end.h"
#include "ui/tform1.h"

#include <QApplication>
#include <QSessionManager>

namespace tavolin {

// Windows has no signals for the end of a session: it asks every program
// first (WM_QUERYENDSESSION), which Qt's session manager turns into a request
// to save, and ends the program soon after without a close event. The names
// are saved at that request, while Windows still waits for the answer. A
// window that another program destroys gets WM_CLOSE first, which is the
// close button's own way.
void HandleSessionEnd(QApplication& app, TForm1& form) {
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager&) { form.SaveAtSessionEnd(); });
}

} // namespace tavolin
