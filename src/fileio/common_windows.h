#pragma once

// What the Windows primitives of the file layer share; nothing outside
// src/fileio includes this.

#include "fileio/primitives.h"

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

// What the program asks of an open file: a folder is no regular file, a
// reparse point (a link, a junction) opened itself is a link.
std::optional<FileFacts> FactsOf(HANDLE file);

// Whether an error says that nothing is at a path.
bool NothingThere(DWORD error);

} // namespace tavolin
