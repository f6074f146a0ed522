#pragma once

// What the Windows implementations of the file layer share; nothing outside
// src/fileio includes this.

#include "fileio/identity.h"
#include "fileio/save_steps.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <windows.h>

namespace tavolin {

// Windows knows every path as UTF-16; the program keeps it as UTF-8 bytes
// with backslashes, which hold any name that UTF-16 can. Long paths are
// given the \\?\ form, without which Windows stops at MAX_PATH.
std::wstring Wide(const QByteArray& path);
// A path Windows gave back, without the \\?\ form.
QByteArray Narrow(std::wstring_view path);

// Closes a handle when its owner leaves, whichever way.
class Handle final {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    // Whether the handle closed cleanly: a write may fail only here.
    bool Close();

private:
    HANDLE handle_;
};

// Opens the file for the given access. Every handle of the program shares the
// file with every other one (reading, writing and deleting): a copy of the
// program that reads or locks it never keeps another one from replacing it.
HANDLE OpenShared(const QByteArray& path, DWORD access, DWORD disposition = OPEN_EXISTING, DWORD flags = 0);

// What the program asks of an open file.
struct FileFacts {
    FileIdentity identity;
    DWORD attributes = 0;
    DWORD links = 0;
    bool Folder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};
std::optional<FileFacts> FactsOf(HANDLE file);

// Whether an error says that nothing is at a path.
bool NothingThere(DWORD error);

// The folder and the name of a path.
std::pair<QByteArray, QByteArray> SplitPath(const QByteArray& path);
// The file that a path stands for once a link on its way (a symbolic link, a
// junction) is followed; a path with nothing there stays as it is.
QByteArray FollowLinks(const QByteArray& path);

bool WriteAt(HANDLE file, std::string_view bytes, std::uint64_t offset);
// Writes the bytes from `offset` on in pieces, each one a step of the seam.
bool WritePieces(HANDLE file, std::string_view bytes, std::uint64_t offset, const SaveFaultHook& faults);
// Reads from the file's position to its end into `bytes`, growing it where the
// file has grown, and stops once it holds more than `maxSize` bytes.
bool ReadAll(HANDLE file, std::string& bytes, std::uint64_t maxSize);
// Cuts the file off after `size` bytes.
bool CutOff(HANDLE file, std::uint64_t size);

} // namespace tavolin
