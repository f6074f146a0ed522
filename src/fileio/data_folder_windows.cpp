#include "fileio/common_windows.h"
#include "fileio/data_folder.h"

#include <QRandomGenerator>
#include <shlobj.h>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

// The user's own folder for programs' data on this machine, %LOCALAPPDATA%.
FilePath LocalAppData() {
    PWSTR path = nullptr;
    FilePath folder;
    if (::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &path) == S_OK)
        folder = FilePath::FromNative(Narrow(path));
    ::CoTaskMemFree(path);
    return folder;
}

} // namespace

// Windows has no system-wide layout of the program: it runs from the folder
// it was unpacked or installed into. Where that folder cannot be written,
// the names go into the user's own folder; names that no database could take
// wait in a folder of their own there.
DataFolders DataFolders::ForExecutable(const FilePath&) {
    const FilePath local = LocalAppData();
    if (local.Empty())
        return {};
    const FilePath user = JoinPath(local, u"Tavolin"_s);
    return {FilePath(), user, JoinPath(user, u"Wiederherstellung"_s)};
}

// Windows tells whether a folder may be written only by trying: its access
// list, a read-only drive or a protected system folder may forbid it.
bool FolderWritable(const FilePath& folder) {
    const FilePath probe = JoinPath(folder, u".tavolin-%1.tmp"_s.arg(QRandomGenerator::global()->generate(), 0, 36));
    const Handle file(::CreateFileW(Wide(probe.Native()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.Valid();
}

} // namespace tavolin
