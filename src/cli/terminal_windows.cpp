#include "cli/terminal.h"

#include <windows.h>
// After windows.h, whose types it uses:
#include <shellapi.h>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

HANDLE Usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN ? handle
                                                                                                             : nullptr;
}

struct Streams {
    HANDLE out;
    HANDLE err;
};

// A program with a window starts without a console. Where the caller
// redirected a stream (`tavolin --name > namen.txt`), the handle it passed
// is used; the others go to the console of the program that started this
// one, attached once. Both handles are taken before attaching, which may
// set the standard handles anew.
const Streams& TheStreams() {
    static const Streams kStreams = [] {
        Streams streams{Usable(::GetStdHandle(STD_OUTPUT_HANDLE)), Usable(::GetStdHandle(STD_ERROR_HANDLE))};
        if ((streams.out == nullptr || streams.err == nullptr) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
            // Read access too: GetConsoleMode needs it.
            HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
            if (console != INVALID_HANDLE_VALUE) {
                streams.out = streams.out != nullptr ? streams.out : console;
                streams.err = streams.err != nullptr ? streams.err : console;
            }
        }
        return streams;
    }();
    return kStreams;
}

void WriteLine(HANDLE handle, const QString& line) {
    if (handle == nullptr)
        return; // started without a console and without a redirection: nobody reads it
    const QString text = line + u"\r\n"_s;
    DWORD written = 0;
    DWORD mode = 0;
    // A console shows every character written as UTF-16, whatever its code
    // page; a file or pipe gets UTF-8, which holds every name too.
    if (::GetConsoleMode(handle, &mode)) {
        ::WriteConsoleW(handle, text.utf16(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const QByteArray bytes = text.toUtf8();
    ::WriteFile(handle, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

void SystemTerminal::Out(const QString& line) {
    WriteLine(TheStreams().out, line);
}

void SystemTerminal::Err(const QString& line) {
    WriteLine(TheStreams().err, line);
}

QStringList ProgramArguments(int argc, char** argv) {
    // The system's UTF-16 command line, as QCoreApplication reads it: argv
    // holds only what the ANSI code page can.
    QStringList arguments;
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr) {
        for (int i = 0; i < argc; ++i)
            arguments.append(QString::fromLocal8Bit(argv[i]));
        return arguments;
    }
    for (int i = 0; i < count; ++i)
        arguments.append(QString::fromWCharArray(words[i]));
    ::LocalFree(words);
    return arguments;
}

bool DisplayInEnvironment() {
    return true; // every Windows session has its desktop
}

} // namespace tavolin
