#include "fileio/common.h"

#include "fileio/file_error.h"
#include "fileio/file_lock.h"

#include <QByteArrayView>
#include <QRandomGenerator>
#include <algorithm>

namespace tavolin {
namespace {

// A save's new file is named <before><random><after>, the random part a
// 32-bit number in base 36 (at most seven digits and lower-case letters).
struct TemporaryForm {
    QByteArray before;
    QByteArray after;
};

TemporaryForm FormOf(const QByteArray& name) {
    // Distinct enough that no file of the user's (a backup ".fnames.dat.bak")
    // is taken for one; Windows hides no file by its name.
#ifdef _WIN32
    return {name + ".tavolin-", ".tmp"};
#else
    return {'.' + name + ".tavolin-", ".tmp"};
#endif
}

bool HasForm(QByteArrayView entry, const TemporaryForm& form) {
    if (entry.size() <= form.before.size() + form.after.size() || !entry.startsWith(form.before) ||
        !entry.endsWith(form.after))
        return false;
    const QByteArrayView random =
        entry.sliced(form.before.size(), entry.size() - form.before.size() - form.after.size());
    return random.size() <= 7 && std::all_of(random.begin(), random.end(),
                                             [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

} // namespace

QByteArray TemporaryName(const QByteArray& name) {
    const TemporaryForm form = FormOf(name);
    return form.before + QByteArray::number(QRandomGenerator::global()->generate(), 36) + form.after;
}

std::optional<std::chrono::seconds> LeftoverAge(const QByteArray& entry, const QByteArray& name,
                                                std::chrono::seconds minAge) {
    if (HasForm(entry, FormOf(name)))
        return minAge;
#ifndef _WIN32
    // Older versions gave the new files of every file in a folder one name;
    // a save of another file may be writing one of those, so only what no
    // save can still be writing goes.
    if (HasForm(entry, {".tavolin.", {}}))
        return std::max(minAge, std::chrono::duration_cast<std::chrono::seconds>(FileLock::kStaleLockTime));
#endif
    return std::nullopt;
}

bool OldEnough(std::int64_t modifiedSeconds, std::chrono::seconds age) {
    const auto now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch());
    return age.count() <= 0 || now.count() - modifiedSeconds >= age.count();
}

FileContents ReadWhole(const FilePath& path, const FileIdentity& identity, std::uint64_t maxSize,
                       const std::function<bool(std::string& bytes)>& readAll) {
    const auto size = static_cast<std::uint64_t>(identity.size);
    if (size > maxSize)
        throw FileTooLargeError(OpenErrorText(path));
    // One byte more than the file holds: the read that meets its end then
    // needs no larger buffer, which would copy the whole file once more.
    // Room behind it (untouched, so it takes no memory) lets a few lines be
    // added to the text without copying it either.
    FileContents contents{std::string(), identity};
    constexpr std::size_t kRoomToGrow = std::size_t{64} * 1024;
    contents.bytes.reserve(static_cast<std::size_t>(size) + kRoomToGrow);
    contents.bytes.resize(static_cast<std::size_t>(size) + 1);
    if (!readAll(contents.bytes))
        throw FileError(OpenErrorText(path));
    if (contents.bytes.size() > maxSize)
        throw FileTooLargeError(OpenErrorText(path));
    return contents;
}

} // namespace tavolin
