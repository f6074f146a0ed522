#include "startup_probe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace tavolin::bench {

void UseOffscreenPlatformUnlessChosen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

long long ShowAndWait(QWidget& window) {
    window.show();
    QElapsedTimer waiting;
    waiting.start();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        if (waiting.elapsed() > 10000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents(); // the first paint
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void ReportAndExit(long long shown, unsigned long long names, int messages) {
    if (shown < 0)
        std::_Exit(1); // never shown: the parent reports it
    long long pages = 0;
    long long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lld %lld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    std::printf("%lld %lld %llu %d\n", shown, resident * sysconf(_SC_PAGESIZE), names, messages);
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace tavolin::bench
