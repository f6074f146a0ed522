#pragma once

#include "cli/terminal.h"
#include "fileio/data_folder.h"
#include "fileio/fileio.h"

#include <QStringList>
#include <cstdint>
#include <optional>

namespace tavolin {

// What the commands take from their surroundings: the executable's full path
// and the folders the data folder is chosen from (as the window chooses it),
// and the seed of the draw.
struct CommandEnvironment {
    FilePath executablePath;
    DataFolders dataFolders;
    std::uint64_t seed = 0;

    // The running program's, with a seed from the system.
    static CommandEnvironment FromProgram();
};

// The exit codes: done; no name to give (--name) or the name there already
// (--hinzufuegen); a usage error, a database that cannot be read, or a name
// refused or not saved.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNothing = 1;
inline constexpr int kExitFailed = 2;

// Whether the arguments (the program's own name first) open the window: none
// at all, or only options of Qt's own that a window takes (-platform, -style,
// ...).
bool OpensWindow(const QStringList& arguments);

// Runs what arguments that do not open the window ask for: --name,
// --hinzufuegen, --help or --version, or tells the usage error. Returns the
// exit code.
int RunCommand(const QStringList& arguments, const CommandEnvironment& environment, Terminal& terminal);

// The program's first step, before any QApplication: runs a command of the
// command line and returns its exit code, or nothing when the window is to
// open. When it is and there is no screen for it, says so and returns 1.
std::optional<int> RunCommandLine(int& argc, char** argv);

} // namespace tavolin
