// The floor of the start-up: the least a Qt Widgets program of the window's
// size does before its window shows, a plain window of 452 x 542 pixels with
// 29 labelled buttons. It links nothing of Tavolin; tavolin_startup spawns it
// as it spawns the real window and reads the same line from it.
#include "startup_probe.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    using namespace tavolin::bench;
    UseOffscreenPlatformUnlessChosen();
    QApplication app(argc, argv);
    QWidget window;
    window.resize(452, 542);
    for (int i = 0; i < 29; ++i) {
        auto* button = new QPushButton(QStringLiteral("Knopf %1").arg(i + 1), &window);
        button->setGeometry(8 + (i % 3) * 148, 8 + (i / 3) * 53, 140, 25);
    }
    ReportAndExit(ShowAndWait(window), 0, 0);
}
