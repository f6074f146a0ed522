#include "fileio/data_folder.h"

#include <QByteArray>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

// The desktop's rule: a variable that is unset, empty or relative is ignored.
QByteArray AbsolutePathFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return {};
    return {value};
}

QByteArray HomeFolder() {
    QByteArray home = AbsolutePathFromEnvironment("HOME");
    if (home.isEmpty()) {
        if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_dir != nullptr)
            home = entry->pw_dir;
    }
    return home;
}

// The program's folder in one of the user's base folders: the variable's
// value, else the default below the home folder; nothing without either.
FilePath UserFolder(const char* variable, const char* belowHome) {
    QByteArray base = AbsolutePathFromEnvironment(variable);
    if (base.isEmpty()) {
        if (const QByteArray home = HomeFolder(); !home.isEmpty())
            base = home + belowHome;
    }
    return base.isEmpty() ? FilePath() : JoinPath(FilePath::FromNative(base), u"tavolin"_s);
}

} // namespace

DataFolders DataFolders::ForExecutable(const FilePath& executablePath) {
    return {JoinPath(DirectoryOf(DirectoryOf(executablePath)), u"share/tavolin"_s),
            UserFolder("XDG_DATA_HOME", "/.local/share"), UserFolder("XDG_STATE_HOME", "/.local/state"),
            UserFolder("XDG_CONFIG_HOME", "/.config")};
}

bool FolderWritable(const FilePath& folder) {
    // The kernel answers for the effective user: root may pass any
    // permission bits, but not a read-only mount or an immutable folder.
    return ::faccessat(AT_FDCWD, folder.CStr(), W_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace tavolin
