#include "app/session_end.h"
#include "cli/command_line.h"
#include "ui/general_error.h"
#include "ui/qtplatform.h"
#include "ui/tform1.h"
#include "ui/translation.h"

#include <QApplication>
#include <QIcon>
#include <csignal>
#include <memory>
#include <optional>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace tavolin;

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A write past `ulimit -f` would end the program with SIGXFSZ in the
    // middle of a save; ignored, the write fails with EFBIG, and the save
    // fails as on a full disk: the old file stays and the error is shown.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef Q_OS_WIN
    // The installer and the uninstaller find a running copy by this name and
    // replace nothing under it; the system drops it when the program ends.
    ::CreateMutexW(nullptr, FALSE, L"Tavolin.Laeuft");
#endif
    // --name, --hinzufuegen, --help and --version need no screen: they run
    // before any QApplication, which would abort without one.
    if (const std::optional<int> exitCode = RunCommandLine(argc, argv))
        return *exitCode;
    QApplication app(argc, argv);
    InstallGermanTranslation(app);
    // X11 groups windows and finds the menu entry by the class of WM_CLASS,
    // which Qt takes from the application's name: without a version, so that
    // pinned launchers survive an update. The version stays in the window's
    // title. A display name would be appended to every window caption.
    QApplication::setApplicationName(QStringLiteral("Tavolin"));
    QApplication::setDesktopFileName(QStringLiteral(TAVOLIN_APP_ID));
    // The desktop file names the same symbol, but a window shows its own
    // icon in the title bar and the task switcher, also when not installed.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/tavolin.svg")));

    QtPlatform platform;
    std::unique_ptr<TForm1> form;
    int exitCode = 0;
    RunGuarded(platform, [&] {
        form = std::make_unique<TForm1>(platform, FormEnvironment::FromApplication());
        platform.SetDialogParent(form.get());
        HandleSessionEnd(app, *form);
        form->show();
        exitCode = QApplication::exec();
    });
    return exitCode;
}
