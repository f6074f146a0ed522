#pragma once

class QWidget;

namespace tavolin::bench {

// The child side of a start-up measurement, shared by the real window and
// the floor so that both are timed alike.

// Qt's offscreen platform unless the caller chose one (QT_QPA_PLATFORM=xcb
// measures on an X server); call before the QApplication is made.
void UseOffscreenPlatformUnlessChosen();

// Shows the window and waits until it is exposed and painted once. Returns
// the CLOCK_MONOTONIC nanoseconds of that moment, or -1 when it never shows.
long long ShowAndWait(QWidget& window);

// Prints the line the parent reads (when the window was shown, the resident
// memory now, the names loaded, the message boxes shown) and ends the
// process at once: tearing the window down is no part of the start-up. A
// window that never showed (shown < 0) prints nothing.
[[noreturn]] void ReportAndExit(long long shown, unsigned long long names, int messages);

} // namespace tavolin::bench
