#pragma once

#include <QtGlobal>

class QApplication;

namespace tavolin {

class TForm1;

// However the session ends, the window's names are saved or kept. SIGTERM
// and SIGHUP (a log-out, a shutdown, a closed terminal) save what can be
// saved and end the program cleanly; the session manager's request to save
// does the same without ending it; and a window that another program
// destroyed (a task manager, `xdotool windowclose`) closes as if its close
// button had been clicked, instead of leaving the program running unseen.
// The window must outlive the application's event loop.
void HandleSessionEnd(QApplication& app, TForm1& form);

} // namespace tavolin
