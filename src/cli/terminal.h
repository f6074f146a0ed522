#pragma once

#include <QString>
#include <QStringList>

namespace tavolin {

// Where the command line writes: whole lines, for standard output (what was
// asked for: the names) and for standard error (everything the user is told).
class Terminal {
public:
    virtual ~Terminal() = default;
    virtual void Out(const QString& line) = 0;
    virtual void Err(const QString& line) = 0;
};

// The process's own standard output and error, in the terminal's encoding:
// UTF-8 on Linux. On Windows the program has a window and no console of its
// own; it writes to the console of the program that started it (cmd,
// PowerShell) as UTF-16, and UTF-8 where that program redirected the output
// into a file or pipe.
class SystemTerminal final : public Terminal {
public:
    void Out(const QString& line) override;
    void Err(const QString& line) override;
};

// The arguments as the system hands them over, the program's own first
// (argv decoded on Linux, the UTF-16 command line on Windows).
QStringList ProgramArguments(int argc, char** argv);

// Whether the environment offers a screen a window could open on: on Linux
// an X or Wayland display, or a Qt platform chosen by QT_QPA_PLATFORM.
bool DisplayInEnvironment();

} // namespace tavolin
