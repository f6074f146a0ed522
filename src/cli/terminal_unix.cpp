#include "cli/terminal.h"

#include <QtGlobal>
#include <cstdio>

namespace tavolin {
namespace {

void WriteLine(std::FILE* stream, const QString& line) {
    // Qt 6 takes the terminal's encoding on Unix to be UTF-8.
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

void SystemTerminal::Out(const QString& line) {
    WriteLine(stdout, line);
}

void SystemTerminal::Err(const QString& line) {
    WriteLine(stderr, line);
}

QStringList ProgramArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

bool DisplayInEnvironment() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

} // namespace tavolin
