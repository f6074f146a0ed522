#include "fileio/common.h"

#include "fileio/file_lock.h"
#include "fileio/save_file.h"

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

bool ReadAll(SystemFile& file, std::string& bytes, std::uint64_t maxSize) {
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxSize)
                break;                          // the caller refuses what it holds by now
            bytes.resize(bytes.size() + 65536); // the file grew while we read
        }
        const std::optional<std::size_t> got = file.Read(bytes.data() + filled, bytes.size() - filled);
        if (!got)
            return false;
        if (*got == 0)
            break;
        filled += *got;
    }
    bytes.resize(filled);
    return true;
}

bool WritePieces(SystemFile& file, std::string_view bytes, std::uint64_t offset) {
    for (std::size_t done = 0; done < bytes.size(); done += kSaveChunkSize) {
        if (!file.WriteAt(bytes.substr(done, kSaveChunkSize), offset + done))
            return false;
    }
    return true;
}

} // namespace tavolin
